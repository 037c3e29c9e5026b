#pragma once

#include <QString>
#include <QtGlobal>

#include <compare>
#include <limits>
#include <optional>

// A currency amount: a 64-bit count of ten-thousandths, so sums of amounts are exact.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromRaw(qint64 tenThousandths) { return Money(tenThousandths); }
    // Rounds to the fourth decimal, a half going to the even neighbour, from the value's shortest
    // decimal text. Empty when the value is not finite or does not fit.
    static std::optional<Money> fromDouble(double value);

    constexpr qint64 raw() const { return raw_; }
    double toDouble() const { return double(raw_) / 10000.0; }
    // Exact decimal text with four decimals, such as "-12.5000".
    QString decimalText() const;

    // Sums saturate at the largest amounts rather than wrapping around.
    constexpr Money operator+(Money other) const {
        qint64 sum = 0;
        if (__builtin_add_overflow(raw_, other.raw_, &sum))
            sum = other.raw_ > 0 ? std::numeric_limits<qint64>::max()
                                 : std::numeric_limits<qint64>::min();
        return Money(sum);
    }
    constexpr Money operator-(Money other) const {
        qint64 difference = 0;
        if (__builtin_sub_overflow(raw_, other.raw_, &difference))
            difference = other.raw_ < 0 ? std::numeric_limits<qint64>::max()
                                        : std::numeric_limits<qint64>::min();
        return Money(difference);
    }
    constexpr Money& operator+=(Money other) { return *this = *this + other; }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(qint64 raw) : raw_(raw) {}
    qint64 raw_ = 0;
};
