#include "tourscript.h"

#include "tourprompts.h"

#include <QTimer>

#include <cstdio>

void TourScript::add(const QString& what, std::function<void()> step) {
    steps_.push_back({what, std::move(step)});
}

void TourScript::start() {
    QTimer::singleShot(pauseMs_, this, &TourScript::runNext);
}

void TourScript::runNext() {
    if (prompts_.showing()) {
        waitedForBox_ = true;
        QTimer::singleShot(50, this, &TourScript::runNext);
        return;
    }
    if (waitedForBox_) {
        // The program goes on after the box: give the windows it opens time to appear.
        waitedForBox_ = false;
        QTimer::singleShot(pauseMs_, this, &TourScript::runNext);
        return;
    }
    if (steps_.empty()) {
        if (finished)
            finished();
        return;
    }
    const Step step = steps_.front();
    steps_.pop_front();
    QTimer::singleShot(pauseMs_, this, &TourScript::runNext);
    std::printf("%3d %s\n", ++done_, qPrintable(step.what));
    std::fflush(stdout);
    step.run();
}
