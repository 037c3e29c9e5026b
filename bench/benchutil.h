#pragma once

// Small timing helpers shared by the benchmarks: each figure is the median of several runs and
// is printed beside its baseline from the same run.

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

inline double milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median time of the work over a number of runs, with an untimed preparation before each.
inline double medianOf(int runs, const std::function<void()>& work,
                       const std::function<void()>& prepare = {}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        times.push_back(milliseconds(work));
    }
    return median(times);
}

inline void printHeader() {
    std::printf("%-58s %12s %12s %7s\n", "", "figure", "baseline", "ratio");
}

inline void printRow(const char* what, double figure, double baseline) {
    std::printf("%-58s %9.3f ms %9.3f ms %7.3f\n", what, figure, baseline, figure / baseline);
}

} // namespace bench
