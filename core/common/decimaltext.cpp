#include "core/common/decimaltext.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace decimal {

namespace {

// Written exponents are clamped here: no text is long enough for a larger one to matter, and
// the clamp keeps the arithmetic on exponents far from overflow.
constexpr qint64 kExponentLimit = 1'000'000'000;

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

quint64 largestCount(bool negative) {
    return quint64(std::numeric_limits<qint64>::max()) + (negative ? 1 : 0);
}

Money moneyOfCount(quint64 count, bool negative) {
    return Money::fromRaw(negative ? qint64(quint64(0) - count) : qint64(count));
}

// Nearly every single the program meets is a figure typed with a few decimals (hours, rates,
// factors). Its shortest text is found here by trying 0 to 4 decimals: the first count of
// decimals with a number that rounds back to the single gives its text, the nearer of two. The
// products are exact in a double (24 bits times at most 14), so the test is the single's own
// rounding, with the narrower gap below a power of two. Two equally near are left to the
// general path.
std::optional<Short> fewDecimalsOf(float value) {
    const float magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4f && magnitude < 1048576.0f))
        return std::nullopt;
    // A normal single is mantissa x 2^(biased - 150), 2^23 <= mantissa < 2^24: half its gap to
    // the next single above is 2^(biased - 151), built here as a double's bits.
    const auto bits = std::bit_cast<quint32>(magnitude);
    const auto biased = quint64(bits >> 23);
    const bool powerOfTwo = (bits & 0x7FFFFFu) == 0;
    const double halfGapAbove = std::bit_cast<double>((biased - 151 + 1023) << 52);
    const double halfGapBelow = powerOfTwo ? halfGapAbove / 2 : halfGapAbove;
    const bool evenMantissa = (bits & 1) == 0;
    for (std::size_t places = 0; places <= 4; ++places) {
        const auto scale = double(kPowersOfTen[places]);
        const double scaled = double(magnitude) * scale;
        const auto below = double(quint64(scaled)); // below 2^35: the whole part, exactly
        const double above = below == scaled ? below : below + 1;
        // Inside the interval that rounds to the single; its ends only for an even mantissa.
        auto rounds = [&](double candidate, double gap) {
            const double distance = std::fabs(candidate - scaled);
            const double limit = gap * scale;
            return distance < limit || (distance == limit && evenMantissa);
        };
        const bool belowRounds = rounds(below, halfGapBelow);
        const bool aboveRounds = rounds(above, halfGapAbove);
        if (!belowRounds && !aboveRounds)
            continue;
        double chosen = belowRounds ? below : above;
        if (belowRounds && aboveRounds && below != above) {
            const double under = scaled - below;
            const double over = above - scaled;
            if (under == over)
                return std::nullopt;
            chosen = under < over ? below : above;
        }
        return makeShort(value < 0, quint64(chosen), -int(places));
    }
    return std::nullopt;
}

template <typename T> Short shortOfFloating(T value) {
    Short d;
    if (!std::isfinite(value))
        return d;
    // "-d.ddde-xx": the digits, then the exponent of the first one.
    char buffer[48];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const char* p = buffer;
    d.negative = *p == '-';
    p += d.negative ? 1 : 0;
    int count = 0;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            d.digits = d.digits * 10 + quint64(*p - '0');
            ++count;
        }
    }
    ++p;
    p += *p == '+' ? 1 : 0;
    int exponent = 0;
    std::from_chars(p, result.ptr, exponent);
    return makeShort(d.negative, d.digits, exponent - (count - 1));
}

} // namespace

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
template std::optional<float> toFloating<float>(const Decimal&);
template std::optional<double> toFloating<double>(const Decimal&);

std::optional<Money> moneyOf(const Decimal& d) {
    if (d.isZero())
        return Money();
    // 19 digits of ten-thousandths is the most a 64-bit count holds.
    if (d.magnitude() + 4 > 19)
        return std::nullopt;
    const Split s = splitAt(d, 4);
    const quint64 limit = largestCount(d.negative);
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
    return moneyOfCount(count, d.negative);
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

QString formatDecimal(Decimal d, QStringView pattern) {
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
    const bool minus = d.negative && s.kept.find_first_not_of('0') != std::string::npos;

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

Short shortOf(double value) {
    return shortOfFloating(value);
}
Short shortOf(float value) {
    if (const std::optional<Short> quick = fewDecimalsOf(value))
        return *quick;
    return shortOfFloating(value);
}

Short shortOf(qint64 value, int exponent) {
    const bool negative = value < 0;
    return makeShort(negative, negative ? quint64(0) - quint64(value) : quint64(value), exponent);
}

Short makeShort(bool negative, quint64 digits, int exponent) {
    Short d{negative, digits, exponent};
    while (d.digits != 0 && d.digits % 10 == 0) {
        d.digits /= 10;
        ++d.exponent;
    }
    return d;
}

Decimal toDecimal(const Short& d) {
    Decimal out;
    out.negative = d.negative;
    out.exponent = d.exponent;
    if (!d.isZero())
        out.digits = std::to_string(d.digits);
    return out;
}

std::optional<Money> moneyOf(const Short& d) {
    if (d.isZero())
        return Money();
    const quint64 limit = largestCount(d.negative);
    const int shift = d.exponent + 4; // the count of ten-thousandths is digits x 10^shift
    if (shift >= 0) {
        quint64 count = 0;
        if (shift >= int(kPowersOfTen.size()) ||
            __builtin_mul_overflow(d.digits, kPowersOfTen[std::size_t(shift)], &count) ||
            count > limit)
            return std::nullopt;
        return moneyOfCount(count, d.negative);
    }
    // Every digit lies below 10^19, so more than 20 dropped places leave nothing.
    const int cut = -shift;
    if (cut > int(kPowersOfTen.size()))
        return Money();
    const quint64 below = kPowersOfTen[std::size_t(cut - 1)];
    const quint64 upper = d.digits / below;
    const quint64 dropped = upper % 10;
    quint64 count = upper / 10;
    const bool sticky = d.digits % below != 0;
    if (dropped > 5 || (dropped == 5 && (sticky || count % 2 != 0)))
        ++count; // far below the limit: count < 10^18
    return moneyOfCount(count, d.negative);
}

int writePlain(const Short& d, char* out) {
    if (d.isZero()) {
        out[0] = '0';
        return 1;
    }
    char digits[20];
    const int len = int(std::to_chars(digits, digits + sizeof digits, d.digits).ptr - digits);
    const int mag = len + d.exponent;
    char* p = out;
    if (d.negative)
        *p++ = '-';
    if (mag >= -3 && mag <= 15) {
        if (mag <= 0) {
            *p++ = '0';
            *p++ = '.';
            p = std::fill_n(p, -mag, '0');
            p = std::copy_n(digits, len, p);
        } else if (len <= mag) {
            p = std::copy_n(digits, len, p);
            p = std::fill_n(p, mag - len, '0');
        } else {
            p = std::copy_n(digits, mag, p);
            *p++ = '.';
            p = std::copy_n(digits + mag, len - mag, p);
        }
    } else {
        *p++ = digits[0];
        if (len > 1) {
            *p++ = '.';
            p = std::copy_n(digits + 1, len - 1, p);
        }
        const int exponent = mag - 1;
        *p++ = 'E';
        *p++ = exponent < 0 ? '-' : '+';
        if (std::abs(exponent) < 10)
            *p++ = '0';
        p = std::to_chars(p, out + kPlainSize, std::abs(exponent)).ptr;
    }
    return int(p - out);
}

} // namespace decimal
