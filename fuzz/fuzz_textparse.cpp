// Text to number and date on any text, and number to text on any value: every strict
// conversion agrees with the number test and with the others, and every number written reads
// back as the very same value.
#include "fuzzcheck.h"

#include "core/common/money.h"
#include "core/common/textnum.h"

#include <cmath>

namespace {

QString show(double v) {
    return QString::number(v, 'g', 17);
}

const QString datePatterns[] = {QStringLiteral("mm/dd/yyyy"), QStringLiteral("mmm dd, yyyy"),
                                QStringLiteral("MMM DD, YYYY")};

void checkText(const QString& text) {
    const bool number = isNumber(text);
    const std::optional<double> d = toDouble(text);
    const std::optional<float> f = toSingle(text);
    const std::optional<Money> m = toMoney(text);
    const std::optional<qint16> i = toInt16(text);
    const double lead = leadingValue(text);
    FUZZ_CHECK(!std::isnan(lead), text);
    FUZZ_CHECK(number || (!d && !f && !m && !i), text);
    if (d) {
        FUZZ_CHECK(std::isfinite(*d), text);
        FUZZ_CHECK(lead == *d, text + " leads with " + show(lead));
        if (i)
            FUZZ_CHECK(std::abs(double(*i) - *d) <= 0.5, text);
        if (m)
            FUZZ_CHECK(std::abs(m->toDouble() - *d) <= 0.00005 + std::abs(*d) * 1e-15, text);
        if (f && std::isfinite(*f)) {
            const float near = float(*d);
            FUZZ_CHECK(*f == near || std::nextafter(*f, near) == near, text);
        }
    }
    if (const std::optional<QDate> date = toDate(text)) {
        FUZZ_CHECK(date->isValid() && date->year() >= 1 && date->year() <= 9999, text);
        for (const QString& pattern : datePatterns)
            FUZZ_CHECK(toDate(formatDate(*date, pattern)) == date, text + " as " + pattern);
        FUZZ_CHECK(toDate(date->toString(Qt::ISODate)) == date, text);
    }
}

void checkDouble(double v) {
    const QString written = numberText(v);
    (void)plainText(v);
    (void)toInt16(v);
    if (!std::isfinite(v))
        return;
    FUZZ_CHECK(written.startsWith(QLatin1Char(' ')) == !(v < 0), written);
    FUZZ_CHECK(plainText(v) == written.trimmed(), written);
    const std::optional<double> back = toDouble(written);
    FUZZ_CHECK(back && *back == v, show(v) + " written as " + written);
    if (const std::optional<qint16> i = toInt16(v))
        FUZZ_CHECK(std::abs(double(*i) - v) <= 0.5, show(v));
    else
        FUZZ_CHECK(v < -32768.5 || v >= 32767.5, show(v)); // 32767.5 goes to the even 32768
    if (std::abs(v) < 4.5e15)
        FUZZ_CHECK(wholePart(v) <= v && v < wholePart(v) + 1, show(v));
    if (const std::optional<Money> m = Money::fromDouble(v)) {
        FUZZ_CHECK(toMoney(m->decimalText()) == m, m->decimalText());
        FUZZ_CHECK(std::abs(m->toDouble() - v) <= 0.00005 + std::abs(v) * 1e-15, show(v));
    }
}

void checkSingle(float v) {
    const QString written = numberText(v);
    (void)plainText(v);
    if (!std::isfinite(v))
        return;
    FUZZ_CHECK(written.startsWith(QLatin1Char(' ')) == !(v < 0), written);
    FUZZ_CHECK(plainText(v) == written.trimmed(), written);
    const std::optional<float> back = toSingle(written);
    FUZZ_CHECK(back && *back == v, show(double(v)) + " written as " + written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    checkDouble(input.take<double>());
    checkSingle(input.take<float>());
    checkText(input.restUtf8());
    checkText(input.restLatin1());
    return 0;
}
