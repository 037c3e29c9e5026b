#pragma once

#include "core/common/money.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace decimal {
struct Decimal;
}

// Money to the cent past what a single, a double or Money holds: an exact decimal, a 128-bit
// count of 10^-scale. An amount times factors (a mark-up, a tax rate, hours at a rate) is
// computed exactly and rounded once, so that what is shown is the true amount. A step whose
// result 128 bits cannot hold, or a reader that finds no amount, gives an invalid amount, and
// every step on an invalid amount stays invalid: the caller shows an approximation instead.
class ExactAmount {
public:
    __extension__ typedef __int128 Count;

    constexpr ExactAmount() = default; // 0
    constexpr ExactAmount(Count count, int scale) : count_(count), scale_(scale) {}
    constexpr explicit ExactAmount(Money amount) : count_(amount.raw()), scale_(4) {}
    static constexpr ExactAmount whole(qint64 number) { return {number, 0}; }
    static ExactAmount invalid(); // no amount

    // The readers keep at most `places` decimals, halves away from zero, and refuse (invalid) a
    // magnitude of 10^33 or more, which would let the product of two pass 128 bits. The result
    // has no more decimals than the number shows.
    static ExactAmount of(const decimal::Decimal& number, int places);
    // A single at the decimal value it shows (its shortest text): 1.2346f is 1.2346, not the
    // binary fraction just below it.
    static ExactAmount ofSingle(float value, int places);

    bool isValid() const { return valid_; }
    Count count() const { return count_; }
    int scale() const { return scale_; }

    ExactAmount operator+(const ExactAmount& other) const;
    ExactAmount operator*(const ExactAmount& other) const;
    // This many percent: a hundredth of it.
    ExactAmount percent() const;
    // The same value with `scale` decimals when it has no more (invalid when 128 bits cannot
    // hold it).
    ExactAmount widened(int scale) const;
    // At most `places` decimals, halves away from zero.
    ExactAmount rounded(int places) const;

    // Below 10^33 in magnitude, as a reader takes it.
    bool belowLimit() const;
    // Rounded to ten-thousandths (halves away from zero), when Money holds it.
    std::optional<Money> money() const;
    double value() const; // 0 when invalid
    // Formatted as format() writes Money ("$0.00"), however large; empty when invalid.
    QString text(const QString& pattern) const;

private:
    Count count_ = 0;
    int scale_ = 0;
    bool valid_ = true;
};
