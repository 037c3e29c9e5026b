#pragma once

#include "core/common/money.h"

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <optional>
#include <string>

// The exact decimal form behind every text and number conversion: rounding at a decimal place
// works on decimal digits, so it never suffers from binary fractions (0.125 and 2.675 round up
// as written). Doubles and singles enter it through their shortest round-trip text.
//
// Two forms: `Decimal` holds any number of digits, as a typed text may; `Short` holds at most
// 19 digits in one integer, which every double, single, amount and 64-bit integer fits, so the
// writers need no allocation. The conversions built on these take a quick route for the common
// case and come back here for the rest.
namespace decimal {

inline bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
inline bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// digits x 10^exponent. `digits` has neither leading nor trailing zeros, so zero is "".
struct Decimal {
    bool negative = false;
    std::string digits;
    qint64 exponent = 0;

    bool isZero() const { return digits.empty(); }
    // 10^(magnitude - 1) <= |value| < 10^magnitude.
    qint64 magnitude() const { return qint64(digits.size()) + exponent; }
};

struct Scan {
    Decimal value;
    bool hasDigits = false;
    qsizetype end = 0; // just past the number
};

// Reads the number at the start of the text: blanks, an optional sign, digits with at most
// one point, then an exponent when digits follow its "e". With `blanksInside`, blanks are
// skipped everywhere, the way BASIC's Val reads "1 000".
Scan scanNumber(QStringView text, bool blanksInside);

// The whole text as one number, blanks around it allowed.
std::optional<Decimal> parseStrict(QStringView text);

// The nearest float or double; empty when beyond its range, 0 when below its smallest value.
template <typename T> std::optional<T> toFloating(const Decimal& d);

// Rounded to ten-thousandths, a half going to the even neighbour; empty when it does not fit.
std::optional<Money> moneyOf(const Decimal& d);

// The shortest form: ordinary decimals for magnitudes from 0.0001 up to below 1e15, an
// exponent form outside ("1E+15", "-1.5E-05").
QString plainDecimal(const Decimal& d);

// The number pattern written, rounded at its last digit slot, halves away from zero.
QString formatDecimal(Decimal d, QStringView pattern);

// digits x 10^exponent with digits below 10^19 and, unless zero, not a multiple of 10.
struct Short {
    bool negative = false;
    quint64 digits = 0;
    int exponent = 0;

    bool isZero() const { return digits == 0; }
};

// From the shortest text that reads back as the value; a value that is not finite gives 0.
Short shortOf(double value);
Short shortOf(float value);
// value x 10^exponent.
Short shortOf(qint64 value, int exponent);
// digits x 10^exponent, any digits below 10^19: the trailing zeros move to the exponent.
Short makeShort(bool negative, quint64 digits, int exponent);

Decimal toDecimal(const Short& d);
std::optional<Money> moneyOf(const Short& d);

// Writes the plain text of the value (as plainDecimal) to `out`, which holds kPlainSize
// characters, and gives its length.
constexpr int kPlainSize = 32;
int writePlain(const Short& d, char* out);

// 10^0 .. 10^19, every power of ten a 64-bit count holds.
inline constexpr std::array<quint64, 20> kPowersOfTen = [] {
    std::array<quint64, 20> powers{};
    quint64 power = 1;
    for (quint64& p : powers) {
        p = power;
        power *= 10; // wraps harmlessly after the last one
    }
    return powers;
}();

} // namespace decimal
