// Numbers read from text. Every reader goes through the exact decimal form of decimaltext.h;
// the hot ones take a quick route for the texts the windows write and users type (a plain
// decimal of a few dozen characters), which gives the same values.
//
// leadingValue saturates at +-DBL_MAX instead of giving an infinity, and reads 0 below the
// smallest double, so that no input can fail.

#include "core/common/textnum.h"
#include "core/common/decimaltext.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

using decimal::isBlank;
using decimal::isDigit;

// A sign and at most kQuickSize digits with at most one point, no exponent: the numbers the
// windows write and users type. Such a number is at least 1e-39, so it never reads as 0 in a
// single; one beyond the single's range takes the exact path.
constexpr int kQuickSize = 40;

struct QuickNumber {
    bool negative = false;
    bool hasDigits = false;
    bool zero = true;
    // The digits and the point, as from_chars reads them.
    char text[kQuickSize];
    int size = 0;
    // The digits in one count when there are at most 19 from the first non-zero one.
    bool fits = true;
    quint64 digits = 0;
    int exponent = 0;
    // Just past the number and the blanks after it.
    qsizetype end = 0;

    template <typename T> std::optional<T> floating() const {
        if (zero)
            return T(0);
        T value = 0;
        const auto result = std::from_chars(text, text + size, value);
        if (result.ec != std::errc() || result.ptr != text + size)
            return std::nullopt;
        return negative ? -value : value;
    }
};

// Blanks, an optional sign, digits with at most one point, blanks; false when the digits are
// too many for the quick route.
bool readQuick(QStringView text, QuickNumber& out) {
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n && isBlank(text[pos].unicode()))
        ++pos;
    if (pos < n && (text[pos] == u'-' || text[pos] == u'+'))
        out.negative = text[pos++] == u'-';
    bool point = false;
    int significant = 0;
    for (; pos < n; ++pos) {
        const char16_t c = text[pos].unicode();
        if (isDigit(c)) {
            out.hasDigits = true;
            if (!out.zero || c != u'0') {
                out.zero = false;
                if (++significant > 19)
                    out.fits = false;
                else
                    out.digits = out.digits * 10 + (c - u'0');
                if (point && out.fits)
                    --out.exponent;
            } else if (point) {
                --out.exponent;
            }
        } else if (c != u'.' || point) {
            break;
        } else {
            point = true;
        }
        if (out.size == kQuickSize)
            return false;
        out.text[out.size++] = char(c);
    }
    while (pos < n && isBlank(text[pos].unicode()))
        ++pos;
    out.end = pos;
    return true;
}

// The whole text is one quick number.
bool readQuickWhole(QStringView text, QuickNumber& out) {
    return readQuick(text, out) && out.end == text.size() && out.hasDigits;
}

template <typename T> std::optional<T> toFloatingText(const QString& text) {
    QuickNumber quick;
    if (readQuickWhole(text, quick)) {
        if (const auto value = quick.floating<T>())
            return value;
    }
    const auto d = decimal::parseStrict(text);
    return d ? decimal::toFloating<T>(*d) : std::nullopt;
}

} // namespace

bool isNumber(const QString& text) {
    return decimal::parseStrict(text).has_value();
}

double leadingValue(const QString& text) {
    QuickNumber quick;
    if (readQuick(text, quick)) {
        // Past blanks, digits, a point or an exponent still belong to the number ("1 000").
        const char16_t next = quick.end < text.size() ? text[quick.end].unicode() : u'\0';
        if (!isDigit(next) && next != u'.' && next != u'e' && next != u'E') {
            if (!quick.hasDigits)
                return 0.0;
            if (const auto value = quick.floating<double>())
                return *value;
        }
    }
    const decimal::Scan scan = decimal::scanNumber(text, true);
    if (!scan.hasDigits)
        return 0.0;
    if (const auto value = decimal::toFloating<double>(scan.value))
        return *value;
    return scan.value.negative ? -DBL_MAX : DBL_MAX;
}

std::optional<double> toDouble(const QString& text) {
    return toFloatingText<double>(text);
}

std::optional<float> toSingle(const QString& text) {
    return toFloatingText<float>(text);
}

std::optional<Money> toMoney(const QString& text) {
    QuickNumber quick;
    if (readQuickWhole(text, quick) && quick.fits)
        return decimal::moneyOf(decimal::makeShort(quick.negative, quick.digits, quick.exponent));
    const auto d = decimal::parseStrict(text);
    return d ? decimal::moneyOf(*d) : std::nullopt;
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
