// Speed of the hot text and number conversions against the bare standard conversion of the
// same values, in one run: each writer against std::to_chars of its value, each reader against
// std::from_chars of its text (up to the blank, for item codes). The ratio tells how much the
// conversion adds to the bare digits.

#include "bench/benchutil.h"
#include "core/common/textnum.h"

#include <QDate>
#include <QString>

#include <array>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int calls = 100000;
constexpr int runs = 9;

std::size_t sink = 0;

// Prices, rates and quantities as the windows hold them: cents, fractions and whole numbers.
std::vector<double> sampleValues() {
    std::vector<double> values;
    values.reserve(calls);
    unsigned state = 12345;
    for (int i = 0; i < calls; ++i) {
        state = state * 1103515245u + 12345u;
        const unsigned r = state >> 8;
        switch (i % 4) {
        case 0:
            values.push_back(double(r % 1000000) / 100.0);
            break;
        case 1:
            values.push_back(double(r % 100000) / 10000.0);
            break;
        case 2:
            values.push_back(double(r % 5000));
            break;
        default:
            values.push_back(double(r % 1000) * 0.37 + 0.125);
            break;
        }
    }
    return values;
}

template <typename T> double bareToChars(const std::vector<T>& values) {
    return bench::medianOf(runs, [&] {
        std::array<char, 64> buffer{};
        for (const T v : values) {
            const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
            sink += std::size_t(result.ptr - buffer.data());
        }
    });
}

// For conversions to numbers: the results are summed.
template <typename T, typename F> double summed(const std::vector<T>& inputs, F convert) {
    return bench::medianOf(runs, [&] {
        for (const T& input : inputs)
            sink += std::size_t(convert(input));
    });
}

template <typename T, typename F> double timed(const std::vector<T>& values, F convert) {
    return bench::medianOf(runs, [&] {
        for (const T& v : values)
            sink += std::size_t(convert(v).size());
    });
}

} // namespace

int main() {
    const std::vector<double> doubles = sampleValues();
    std::vector<float> floats;
    std::vector<qint64> wholes;
    std::vector<Money> amounts;
    std::vector<qint64> raws;
    std::vector<QString> texts;
    std::vector<std::string> latin;
    std::vector<QString> codes;
    std::vector<std::string> latinCodes;
    std::vector<qint64> days;
    std::vector<QDate> dates;
    for (const double v : doubles) {
        floats.push_back(float(v));
        wholes.push_back(qint64(v));
        amounts.push_back(Money::fromDouble(v).value_or(Money()));
        raws.push_back(amounts.back().raw());
        texts.push_back(plainText(float(v)));
        latin.push_back(texts.back().toStdString());
        codes.push_back(format(qint64(v) % 10000, QStringLiteral("0000")) + QStringLiteral("  P"));
        latinCodes.push_back(codes.back().toStdString());
        dates.push_back(QDate(1990, 1, 1).addDays(qint64(v) % 20000));
        days.push_back(dates.back().toJulianDay());
    }

    const QString money = QStringLiteral("$0.00");
    const QString percent = QStringLiteral("0.0000%");
    const QString hours = QStringLiteral("0.00 Hr");
    const QString number = QStringLiteral("0000");
    const QString listed = QStringLiteral("$0.00          ");
    const QString slashes = QStringLiteral("mm/dd/yyyy");
    const QString named = QStringLiteral("mmm dd, yyyy");

    std::printf("%d calls per run, median of %d runs\n", calls, runs);
    bench::printHeader();
    const double toCharsDouble = bareToChars(doubles);
    const double toCharsFloat = bareToChars(floats);
    const double toCharsWhole = bareToChars(wholes);
    const double toCharsRaw = bareToChars(raws);
    const double toCharsDay = bareToChars(days);

    bench::printRow("format(double, \"$0.00\")",
                    timed(doubles, [&](double v) { return format(v, money); }), toCharsDouble);
    bench::printRow("format(float, \"0.0000%\")",
                    timed(floats, [&](float v) { return format(v, percent); }), toCharsFloat);
    bench::printRow("format(float, \"0.00 Hr\")",
                    timed(floats, [&](float v) { return format(v, hours); }), toCharsFloat);
    bench::printRow("format(Money, \"$0.00\")",
                    timed(amounts, [&](Money v) { return format(v, money); }), toCharsRaw);
    bench::printRow("format(Money, \"$0.00          \")",
                    timed(amounts, [&](Money v) { return format(v, listed); }), toCharsRaw);
    bench::printRow("format(qint64, \"0000\")",
                    timed(wholes, [&](qint64 v) { return format(v, number); }), toCharsWhole);
    bench::printRow("plainText(double)", timed(doubles, [](double v) { return plainText(v); }),
                    toCharsDouble);
    bench::printRow("numberText(float)", timed(floats, [](float v) { return numberText(v); }),
                    toCharsFloat);
    bench::printRow(
        "Money::fromDouble(double)",
        summed(doubles, [](double v) { return Money::fromDouble(v).value_or(Money()).raw(); }),
        toCharsDouble);
    bench::printRow("formatDate(date, \"mm/dd/yyyy\")",
                    timed(dates, [&](const QDate& d) { return formatDate(d, slashes); }),
                    toCharsDay);
    bench::printRow("formatDate(date, \"mmm dd, yyyy\")",
                    timed(dates, [&](const QDate& d) { return formatDate(d, named); }), toCharsDay);

    const auto fromChars = [](const std::vector<std::string>& inputs) {
        return summed(inputs, [](const std::string& text) {
            float value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            return value;
        });
    };
    const double fromCharsTexts = fromChars(latin);
    bench::printRow("toSingle(text) against std::from_chars",
                    summed(texts, [](const QString& t) { return toSingle(t).value_or(0.0f); }),
                    fromCharsTexts);
    bench::printRow(
        "toMoney(text) against std::from_chars",
        summed(texts, [](const QString& t) { return toMoney(t).value_or(Money()).raw(); }),
        fromCharsTexts);
    bench::printRow("leadingValue(\"0012  P\") against std::from_chars",
                    summed(codes, [](const QString& t) { return leadingValue(t); }),
                    fromChars(latinCodes));
    if (sink == 42)
        std::printf(" ");
    return 0;
}
