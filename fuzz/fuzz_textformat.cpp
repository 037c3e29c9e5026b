// Number and date patterns, any pattern with any value: nothing breaks, and with a pattern of
// digits and a point the text written reads back as the value rounded at its last digit.
#include "fuzzcheck.h"

#include "core/common/money.h"
#include "core/common/textnum.h"

#include <cmath>
#include <limits>

namespace {

QString digitsPattern(int whole, int decimals) {
    QString pattern(whole, QLatin1Char('0'));
    if (decimals > 0)
        pattern += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    return pattern;
}

// The written text of a pure digits pattern: within half a unit of the last digit from the
// value's shortest decimal text (2.675f is that, not 2.6749999523).
void checkRounded(const QString& shortest, const QString& written, int decimals,
                  const QString& pattern) {
    const std::optional<double> back = toDouble(written);
    FUZZ_CHECK(back, written + " from " + pattern);
    const double value = *toDouble(shortest);
    const double unit = std::pow(10.0, -decimals);
    FUZZ_CHECK(std::abs(*back - value) <= unit / 2 * (1 + 1e-9) + std::abs(value) * 1e-15,
               shortest + " written as " + written + " by " + pattern);
    const qsizetype point = written.indexOf(QLatin1Char('.'));
    FUZZ_CHECK((point < 0 ? 0 : written.size() - point - 1) == decimals, written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const auto real = input.take<double>();
    const auto single = input.take<float>();
    const auto whole = input.take<qint64>();
    const auto day = input.take<qint32>();
    const auto shape = input.take<uint8_t>();
    const QString pattern = input.restUtf8().left(200);

    // Any pattern: nothing breaks.
    (void)format(real, pattern);
    (void)format(single, pattern);
    (void)format(Money::fromRaw(whole), pattern);
    (void)format(whole, pattern);
    (void)format(int(whole), pattern);
    const QDate date = QDate::fromJulianDay(day);
    (void)formatDate(date, pattern);

    // Digits and a point.
    const int wholeDigits = 1 + shape % 8;
    const int decimals = shape / 8 % 6;
    const QString digits = digitsPattern(wholeDigits, decimals);
    if (std::isfinite(real) && std::abs(real) < 1e15)
        checkRounded(plainText(real), format(real, digits), decimals, digits);
    if (std::isfinite(single) && std::abs(single) < 1e15f)
        checkRounded(plainText(single), format(single, digits), decimals, digits);
    if (std::abs(whole) < (qint64(1) << 53)) {
        const QString written = format(whole, digits);
        FUZZ_CHECK(toDouble(written) == double(whole), written);
    }
    // Money keeps its four decimals exactly, and "%" is a shift of two places.
    const Money money = Money::fromRaw(whole);
    FUZZ_CHECK(toMoney(format(money, QStringLiteral("0.0000"))) == money, money.decimalText());
    if (std::abs(whole) < std::numeric_limits<qint64>::max() / 100) {
        FUZZ_CHECK(format(money, digits + QLatin1Char('%')) ==
                       format(Money::fromRaw(whole * 100), digits) + QLatin1Char('%'),
                   money.decimalText() + " with " + digits);
    }

    if (date.isValid() && date.year() >= 1 && date.year() <= 9999) {
        for (const QString& dates : {QStringLiteral("mm/dd/yyyy"), QStringLiteral("mmm dd, yyyy"),
                                     QStringLiteral("MMM DD, YYYY")})
            FUZZ_CHECK(toDate(formatDate(date, dates)) == date, formatDate(date, dates));
        FUZZ_CHECK(formatDate(date, QStringLiteral("dd/mm/yyyy")) == date.toString("dd/MM/yyyy"),
                   formatDate(date, QStringLiteral("dd/mm/yyyy")));
    }
    return 0;
}
