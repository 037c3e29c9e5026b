// Numbers written as text: numberText, plainText and the number patterns of format.
//
// The lists and the item builder write thousands of these at a time, so the common case runs
// on a value of at most 19 digits with no allocation but the result: the rounded value becomes
// one 64-bit count of the last written digit, and the text is written straight into a QString
// of the right length. Patterns with 20 or more decimals and values whose count does not fit
// (beyond about 1e19 written digits) take the exact decimal path, which gives the same text.
//
// A value that is not finite is written as 0, since every text written here is read back as
// a number.

#include "core/common/decimaltext.h"
#include "core/common/textnum.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace {

using decimal::kPowersOfTen;
using decimal::Short;

QString plainOf(const Short& d, bool blankWhenNotNegative) {
    char buffer[decimal::kPlainSize + 1];
    char* start = buffer + 1;
    int size = decimal::writePlain(d, start);
    if (blankWhenNotNegative && *start != '-') {
        *--start = ' ';
        ++size;
    }
    return QString::fromLatin1(start, size);
}

// Where a pattern's digit slots are: before the first point (or all, without one) whole
// slots, after it decimals.
struct Shape {
    qsizetype pointAt = -1;
    qsizetype wholeSlots = 0;
    qsizetype fractionSlots = 0;
    bool percent = false;
};

Shape shapeOf(QStringView pattern) {
    Shape shape;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i].unicode();
        if (c == u'0')
            ++(shape.pointAt < 0 ? shape.wholeSlots : shape.fractionSlots);
        else if (c == u'.' && shape.pointAt < 0)
            shape.pointAt = i;
        else if (c == u'%')
            shape.percent = true;
    }
    return shape;
}

// |d| x 10^places rounded to a whole count at its first dropped digit, halves away from zero;
// empty when the count does not fit in 64 bits.
std::optional<quint64> roundedCount(const Short& d, qint64 places) {
    if (d.isZero())
        return quint64(0);
    const qint64 shift = d.exponent + places;
    if (shift >= 0) {
        quint64 count = 0;
        if (shift >= qint64(kPowersOfTen.size()) ||
            __builtin_mul_overflow(d.digits, kPowersOfTen[std::size_t(shift)], &count))
            return std::nullopt;
        return count;
    }
    // The digits lie below 10^19: with more than 20 places dropped, nothing is left.
    if (-shift > qint64(kPowersOfTen.size()))
        return quint64(0);
    const quint64 upper = d.digits / kPowersOfTen[std::size_t(-shift - 1)];
    return upper / 10 + (upper % 10 >= 5 ? 1 : 0);
}

std::optional<QString> quickFormat(const Short& d, QStringView pattern) {
    if (pattern.isEmpty())
        return std::nullopt;
    const Shape shape = shapeOf(pattern);
    if (shape.fractionSlots >= qint64(kPowersOfTen.size()))
        return std::nullopt;
    const auto count = roundedCount(d, shape.fractionSlots + (shape.percent ? 2 : 0));
    if (!count)
        return std::nullopt;

    const quint64 scale = kPowersOfTen[std::size_t(shape.fractionSlots)];
    // A whole part of 0 has no digit of its own: ".50" from ".00", "05" from "00".
    char whole[20];
    const quint64 wholeValue = *count / scale;
    const auto wholeDigits =
        qsizetype(wholeValue == 0 ? 0 : std::to_chars(whole, whole + 20, wholeValue).ptr - whole);
    char fraction[20];
    quint64 rest = *count % scale;
    for (auto i = shape.fractionSlots; i > 0; --i, rest /= 10)
        fraction[i - 1] = char('0' + rest % 10);

    // The whole digits, padded in front with zeros to fill the slots; those beyond the slots
    // go to the first slot, and with no slot to the point or, without one, the start.
    const qsizetype wholeSize = std::max(wholeDigits, shape.wholeSlots);
    const qsizetype padding = wholeSize - wholeDigits;
    // Only a value that stays non-zero once rounded is written with a minus.
    const bool minus = d.negative && !d.isZero() && *count != 0;
    QString out(qsizetype(minus) + pattern.size() + wholeSize - shape.wholeSlots,
                Qt::Uninitialized);
    QChar* p = out.data();
    qsizetype nextWhole = 0;
    auto putWhole = [&](qsizetype n) {
        for (; n > 0; --n, ++nextWhole)
            *p++ = QLatin1Char(nextWhole < padding ? '0' : whole[nextWhole - padding]);
    };
    const bool wholeSlot0 = shape.wholeSlots > 0;
    if (minus)
        *p++ = u'-';
    if (!wholeSlot0 && shape.pointAt < 0)
        putWhole(wholeSize);
    qsizetype nextFraction = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'0' && (shape.pointAt < 0 || i < shape.pointAt)) {
            putWhole(nextWhole == 0 ? wholeSize - shape.wholeSlots + 1 : 1);
        } else if (i == shape.pointAt) {
            if (!wholeSlot0)
                putWhole(wholeSize);
            *p++ = u'.';
        } else if (c == u'0') {
            *p++ = QLatin1Char(fraction[nextFraction++]);
        } else {
            *p++ = c;
        }
    }
    Q_ASSERT(p == out.constData() + out.size());
    return out;
}

QString formatShort(const Short& d, const QString& pattern) {
    if (auto quick = quickFormat(d, pattern))
        return *std::move(quick);
    return decimal::formatDecimal(decimal::toDecimal(d), pattern);
}

} // namespace

QString numberText(double value) {
    return plainOf(decimal::shortOf(value), true);
}
QString numberText(float value) {
    return plainOf(decimal::shortOf(value), true);
}
QString plainText(double value) {
    return plainOf(decimal::shortOf(value), false);
}
QString plainText(float value) {
    return plainOf(decimal::shortOf(value), false);
}

QString format(double value, const QString& pattern) {
    return formatShort(decimal::shortOf(value), pattern);
}
QString format(float value, const QString& pattern) {
    return formatShort(decimal::shortOf(value), pattern);
}
QString format(Money value, const QString& pattern) {
    return formatShort(decimal::shortOf(value.raw(), -4), pattern);
}
QString format(qint64 value, const QString& pattern) {
    return formatShort(decimal::shortOf(value, 0), pattern);
}
QString format(int value, const QString& pattern) {
    return format(qint64(value), pattern);
}

QString amountText(Money amount) {
    return format(amount, QStringLiteral("$0.00"));
}

QString centsMoneyText(qint64 cents) {
    const bool minus = cents < 0;
    quint64 magnitude = minus ? 0 - quint64(cents) : quint64(cents);
    // Written from the last digit back: "-$" and up to 20 digits with the point.
    char text[24];
    char* p = text + sizeof text;
    for (int place = 0; place < 3 || magnitude != 0; ++place) {
        if (place == 2)
            *--p = '.';
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    }
    *--p = '$';
    if (minus)
        *--p = '-';
    return QString::fromLatin1(p, text + sizeof text - p);
}
