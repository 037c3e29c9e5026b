#include "common/textnum.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

// Every conversion goes through an exact decimal form of the number, so rounding at a decimal
// place never suffers from binary fractions (0.125 and 2.675 round up as written). Doubles and
// singles enter that form through their shortest round-trip text.
//
// Choices for inputs the windows never produce, made so that no input can fail:
// - leadingValue saturates at +-DBL_MAX instead of giving an infinity, and reads 0 below the
//   smallest double;
// - a value that is not finite is written as 0 by numberText, plainText and format, since
//   every text written here is read back as a number;
// - numberText and plainText write ordinary decimals for magnitudes from 0.0001 up to below
//   1e15, and an exponent form outside that ("1E+15", "-1.5E-05"), which the readers accept.

namespace {

// An exact decimal number: digits x 10^exponent. `digits` has neither leading nor trailing
// zeros, so zero is the empty string.
struct Decimal {
    bool negative = false;
    std::string digits;
    qint64 exponent = 0;

    bool isZero() const { return digits.empty(); }
    // 10^(magnitude - 1) <= |value| < 10^magnitude.
    qint64 magnitude() const { return qint64(digits.size()) + exponent; }
};

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// Written exponents are clamped here: no text is long enough for a larger one to matter, and
// the clamp keeps the arithmetic on exponents far from overflow.
constexpr qint64 kExponentLimit = 1'000'000'000;

struct Scan {
    Decimal value;
    bool hasDigits = false;
    qsizetype end = 0; // just past the number
};

// Reads the number at the start of the text: blanks, an optional sign, digits with at most
// one point, then an exponent when digits follow its "e". With `blanksInside`, blanks are
// skipped everywhere, the way BASIC's Val reads "1 000".
Scan scanNumber(QStringView text, bool blanksInside) {
    Scan scan;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    auto skipBlanks = [&] {
        while (pos < n && isBlank(text[pos].unicode()))
            ++pos;
    };
    auto peek = [&]() -> char16_t {
        if (blanksInside)
            skipBlanks();
        return pos < n ? text[pos].unicode() : u'\0';
    };

    skipBlanks();
    char16_t c = peek();
    if (c == u'+' || c == u'-') {
        scan.value.negative = c == u'-';
        ++pos;
    }

    std::string raw;
    qint64 fractionDigits = 0;
    bool point = false;
    for (c = peek();; c = peek()) {
        if (isDigit(c)) {
            if (!raw.empty() || c != u'0')
                raw.push_back(char(c));
            if (point)
                ++fractionDigits;
            scan.hasDigits = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        ++pos;
    }

    qint64 exponent = 0;
    if (scan.hasDigits && (c == u'e' || c == u'E')) {
        const qsizetype mark = pos;
        ++pos;
        const char16_t sign = peek();
        if (sign == u'+' || sign == u'-')
            ++pos;
        bool expDigits = false;
        for (char16_t d = peek(); isDigit(d); d = peek()) {
            exponent = std::min(exponent * 10 + (d - u'0'), kExponentLimit);
            expDigits = true;
            ++pos;
        }
        if (!expDigits) {
            pos = mark;
            exponent = 0;
        } else if (sign == u'-') {
            exponent = -exponent;
        }
    }
    scan.end = pos;

    const auto lastNonZero = raw.find_last_not_of('0');
    const qint64 trailingZeros =
        lastNonZero == std::string::npos ? 0 : qint64(raw.size() - 1 - lastNonZero);
    raw.resize(raw.size() - std::size_t(trailingZeros));
    scan.value.digits = std::move(raw);
    scan.value.exponent = exponent - fractionDigits + trailingZeros;
    return scan;
}

// The whole text as one number, blanks around it allowed.
std::optional<Decimal> parseStrict(QStringView text) {
    const Scan scan = scanNumber(text, false);
    if (!scan.hasDigits)
        return std::nullopt;
    qsizetype pos = scan.end;
    while (pos < text.size() && isBlank(text[pos].unicode()))
        ++pos;
    if (pos != text.size())
        return std::nullopt;
    return scan.value;
}

// The nearest T; empty when beyond T's range, 0 when below its smallest value.
template <typename T> std::optional<T> toFloating(const Decimal& d) {
    using Limits = std::numeric_limits<T>;
    if (d.isZero())
        return T(0);
    const qint64 mag = d.magnitude();
    if (mag > Limits::max_exponent10 + 1)
        return std::nullopt;
    if (mag < Limits::min_exponent10 - 20)
        return T(0);
    const std::string text = d.digits + 'e' + std::to_string(d.exponent);
    T value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (mag > 0)
            return std::nullopt;
        return T(0);
    }
    if (result.ec != std::errc())
        return std::nullopt;
    return d.negative ? -value : value;
}

template <typename T> Decimal decimalOfFloating(T value) {
    if (!std::isfinite(value))
        return {};
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific);
    const QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    return scanNumber(text, false).value;
}

Decimal decimalOfInteger(quint64 magnitude, bool negative, qint64 exponent) {
    Decimal d;
    d.negative = negative;
    d.exponent = exponent;
    while (magnitude != 0 && magnitude % 10 == 0) {
        magnitude /= 10;
        ++d.exponent;
    }
    if (magnitude != 0)
        d.digits = std::to_string(magnitude);
    return d;
}

quint64 magnitudeOf(qint64 value) {
    return value < 0 ? quint64(0) - quint64(value) : quint64(value);
}

// |d| cut at 10^-places: `kept` are the digits of its whole count of 10^-places (no leading
// zeros, empty for none), `dropped` the next digit, `sticky` whether any non-zero digit
// follows that one. The caller keeps d.magnitude() + places small.
struct Split {
    std::string kept;
    int dropped = 0;
    bool sticky = false;
};

Split splitAt(const Decimal& d, qint64 places) {
    Split s;
    const qint64 len = qint64(d.digits.size());
    const qint64 whole = len + d.exponent + places;
    if (whole > 0) {
        s.kept = d.digits.substr(0, std::size_t(std::min(whole, len)));
        s.kept.append(std::size_t(std::max<qint64>(0, whole - len)), '0');
    }
    if (whole >= 0 && whole < len) {
        s.dropped = d.digits[std::size_t(whole)] - '0';
        s.sticky = whole + 1 < len;
    } else if (whole < 0 && len > 0) {
        s.sticky = true;
    }
    return s;
}

void increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::optional<Money> moneyOf(const Decimal& d) {
    if (d.isZero())
        return Money();
    // 19 digits of ten-thousandths is the most a 64-bit count holds.
    if (d.magnitude() + 4 > 19)
        return std::nullopt;
    const Split s = splitAt(d, 4);
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (d.negative ? 1 : 0);
    quint64 count = 0;
    for (const char c : s.kept) {
        const auto digit = quint64(c - '0');
        if (count > (limit - digit) / 10)
            return std::nullopt;
        count = count * 10 + digit;
    }
    const bool odd = count % 2 != 0;
    if (s.dropped > 5 || (s.dropped == 5 && (s.sticky || odd))) {
        if (count == limit)
            return std::nullopt;
        ++count;
    }
    return Money::fromRaw(d.negative ? qint64(quint64(0) - count) : qint64(count));
}

QString plainDecimal(const Decimal& d) {
    if (d.isZero())
        return QStringLiteral("0");
    const qint64 len = qint64(d.digits.size());
    const qint64 mag = d.magnitude();
    std::string out = d.negative ? "-" : "";
    if (mag >= -3 && mag <= 15) {
        if (mag <= 0) {
            out += "0.";
            out.append(std::size_t(-mag), '0');
            out += d.digits;
        } else if (len <= mag) {
            out += d.digits;
            out.append(std::size_t(mag - len), '0');
        } else {
            out += d.digits.substr(0, std::size_t(mag));
            out += '.';
            out += d.digits.substr(std::size_t(mag));
        }
    } else {
        out += d.digits[0];
        if (len > 1) {
            out += '.';
            out += d.digits.substr(1);
        }
        const qint64 exponent = mag - 1;
        out += exponent < 0 ? "E-" : "E+";
        if (std::abs(exponent) < 10)
            out += '0';
        out += std::to_string(std::abs(exponent));
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

QString numberTextOf(const Decimal& d) {
    const QString plain = plainDecimal(d);
    return plain.startsWith(u'-') ? plain : u' ' + plain;
}

QString formatDecimal(Decimal d, const QString& pattern) {
    if (pattern.isEmpty())
        return plainDecimal(d);

    const qsizetype pointAt = pattern.indexOf(u'.');
    auto isWholeSlot = [&](qsizetype i) { return pointAt < 0 || i < pointAt; };
    qint64 wholeSlots = 0;
    qint64 fractionSlots = 0;
    bool percent = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i].unicode();
        if (c == u'0')
            ++(isWholeSlot(i) ? wholeSlots : fractionSlots);
        else if (c == u'%')
            percent = true;
    }
    if (percent && !d.isZero())
        d.exponent += 2;

    Split s = splitAt(d, fractionSlots);
    if (s.dropped >= 5)
        increment(s.kept);
    const bool minus = d.negative && !s.kept.empty();

    std::string whole;
    std::string fraction;
    const auto keptLen = qint64(s.kept.size());
    if (keptLen > fractionSlots) {
        whole = s.kept.substr(0, std::size_t(keptLen - fractionSlots));
        fraction = s.kept.substr(std::size_t(keptLen - fractionSlots));
    } else {
        fraction = std::string(std::size_t(fractionSlots - keptLen), '0') + s.kept;
    }
    if (qint64(whole.size()) < wholeSlots)
        whole.insert(0, std::size_t(wholeSlots - qint64(whole.size())), '0');
    const auto wholeText = [&](std::size_t from, std::size_t count) {
        return QLatin1String(whole.data() + from, qsizetype(count));
    };

    QString out;
    out.reserve(pattern.size() + qsizetype(whole.size()) + 1);
    if (minus)
        out += u'-';
    // Whole digits beyond the slots go to the first slot; with no slot and no point they
    // lead the text.
    if (wholeSlots == 0 && pointAt < 0)
        out += wholeText(0, whole.size());
    std::size_t nextWhole = 0;
    std::size_t nextFraction = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'0' && isWholeSlot(i)) {
            const std::size_t take =
                nextWhole == 0 ? whole.size() - std::size_t(wholeSlots) + 1 : 1;
            out += wholeText(nextWhole, take);
            nextWhole += take;
        } else if (i == pointAt) {
            if (wholeSlots == 0)
                out += wholeText(0, whole.size());
            out += u'.';
        } else if (c == u'0') {
            out += QLatin1Char(fraction[nextFraction++]);
        } else {
            out += c;
        }
    }
    return out;
}

// Date reading: a cursor over the trimmed text.
class DateCursor {
public:
    explicit DateCursor(QStringView text) : text_(text.trimmed()) {}

    bool atEnd() const { return pos_ == text_.size(); }
    qsizetype position() const { return pos_; }
    char16_t peek() const { return pos_ < text_.size() ? text_[pos_].unicode() : u'\0'; }
    bool eat(char16_t c) {
        if (peek() != c)
            return false;
        ++pos_;
        return true;
    }
    qsizetype skipBlanks() {
        const qsizetype start = pos_;
        while (isBlank(peek()))
            ++pos_;
        return pos_ - start;
    }
    // A run of minDigits to maxDigits digits, -1 otherwise.
    int number(int minDigits, int maxDigits) {
        int value = 0;
        int count = 0;
        while (isDigit(peek())) {
            if (++count > maxDigits)
                return -1;
            value = value * 10 + (peek() - u'0');
            ++pos_;
        }
        return count >= minDigits ? value : -1;
    }
    QStringView take(qsizetype count) {
        const QStringView part = text_.mid(pos_, count);
        pos_ += part.size();
        return part;
    }

private:
    QStringView text_;
    qsizetype pos_ = 0;
};

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int monthOfName(QStringView name) {
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (name.compare(QLatin1String(kMonths[i]), Qt::CaseInsensitive) == 0)
            return int(i) + 1;
    }
    return -1;
}

std::optional<QDate> validDate(int year, int month, int day) {
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace

bool isNumber(const QString& text) {
    return parseStrict(text).has_value();
}

double leadingValue(const QString& text) {
    const Scan scan = scanNumber(text, true);
    if (!scan.hasDigits)
        return 0.0;
    if (const auto value = toFloating<double>(scan.value))
        return *value;
    return scan.value.negative ? -DBL_MAX : DBL_MAX;
}

std::optional<double> toDouble(const QString& text) {
    const auto d = parseStrict(text);
    return d ? toFloating<double>(*d) : std::nullopt;
}

std::optional<float> toSingle(const QString& text) {
    const auto d = parseStrict(text);
    return d ? toFloating<float>(*d) : std::nullopt;
}

std::optional<Money> toMoney(const QString& text) {
    const auto d = parseStrict(text);
    return d ? moneyOf(*d) : std::nullopt;
}

std::optional<qint16> toInt16(const QString& text) {
    const auto value = toDouble(text);
    return value ? toInt16(*value) : std::nullopt;
}

std::optional<qint16> toInt16(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double below = std::floor(value);
    const double rest = value - below;
    double nearest = below;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0))
        nearest = below + 1.0;
    if (nearest < std::numeric_limits<qint16>::min() ||
        nearest > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(nearest);
}

double wholePart(double value) {
    return std::floor(value);
}

std::optional<QDate> toDate(const QString& text) {
    DateCursor cursor(text);
    if (isDigit(cursor.peek())) {
        const int first = cursor.number(1, 4);
        const qsizetype firstDigits = cursor.position();
        if (firstDigits == 4 && cursor.eat(u'-')) { // yyyy-mm-dd
            const int month = cursor.number(1, 2);
            const int day = cursor.eat(u'-') ? cursor.number(1, 2) : -1;
            if (!cursor.atEnd())
                return std::nullopt;
            return validDate(first, month, day);
        }
        if (firstDigits <= 2 && cursor.eat(u'/')) { // mm/dd/yyyy
            const int day = cursor.number(1, 2);
            const int year = cursor.eat(u'/') ? cursor.number(4, 4) : -1;
            if (!cursor.atEnd())
                return std::nullopt;
            return validDate(year, first, day);
        }
        return std::nullopt;
    }
    // mmm dd, yyyy
    const int month = monthOfName(cursor.take(3));
    if (cursor.skipBlanks() == 0)
        return std::nullopt;
    const int day = cursor.number(1, 2);
    cursor.skipBlanks();
    if (!cursor.eat(u','))
        return std::nullopt;
    cursor.skipBlanks();
    const int year = cursor.number(4, 4);
    if (!cursor.atEnd())
        return std::nullopt;
    return validDate(year, month, day);
}

QDate baseDate() {
    return QDate(1899, 12, 30);
}

QString numberText(double value) {
    return numberTextOf(decimalOfFloating(value));
}
QString numberText(float value) {
    return numberTextOf(decimalOfFloating(value));
}
QString plainText(double value) {
    return plainDecimal(decimalOfFloating(value));
}
QString plainText(float value) {
    return plainDecimal(decimalOfFloating(value));
}

QString format(double value, const QString& pattern) {
    return formatDecimal(decimalOfFloating(value), pattern);
}

QString format(float value, const QString& pattern) {
    return formatDecimal(decimalOfFloating(value), pattern);
}

QString format(Money value, const QString& pattern) {
    return formatDecimal(decimalOfInteger(magnitudeOf(value.raw()), value.raw() < 0, -4), pattern);
}

QString format(qint64 value, const QString& pattern) {
    return formatDecimal(decimalOfInteger(magnitudeOf(value), value < 0, 0), pattern);
}

QString format(int value, const QString& pattern) {
    return format(qint64(value), pattern);
}

QString formatDate(const QDate& date, const QString& pattern) {
    if (!date.isValid())
        return {};
    auto twoDigits = [](int v) { return QString::number(v).rightJustified(2, u'0'); };
    const int year = date.year();
    QString yearText = QString::number(qAbs(qint64(year))).rightJustified(4, u'0');
    if (year < 0)
        yearText.prepend(u'-');

    QString out;
    const QStringView rest(pattern);
    for (qsizetype i = 0; i < rest.size();) {
        auto token = [&](const char* name) {
            return rest.mid(i).startsWith(QLatin1String(name), Qt::CaseInsensitive);
        };
        if (token("yyyy")) {
            out += yearText;
            i += 4;
        } else if (token("mmm")) {
            out += QLatin1String(kMonths[std::size_t(date.month() - 1)]);
            i += 3;
        } else if (token("mm")) {
            out += twoDigits(date.month());
            i += 2;
        } else if (token("dd")) {
            out += twoDigits(date.day());
            i += 2;
        } else {
            out += rest[i];
            ++i;
        }
    }
    return out;
}
