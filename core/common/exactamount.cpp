#include "core/common/exactamount.h"

#include "core/common/decimaltext.h"
#include "core/common/textnum.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

using Count = ExactAmount::Count;
__extension__ typedef unsigned __int128 Magnitude;

// Digits of the largest magnitude a reader takes (below 10^33).
constexpr int limitDigits = 33;

// 10^0 .. 10^38, every power of ten 128 bits hold.
constexpr std::array<Count, 39> powersOfTen = [] {
    std::array<Count, 39> powers{};
    Count power = 1;
    for (std::size_t i = 0; i < powers.size(); ++i) {
        powers[i] = power;
        if (i + 1 < powers.size())
            power *= 10;
    }
    return powers;
}();

Count signed128(bool negative, Count magnitude) {
    return negative ? -magnitude : magnitude;
}

int digitCount(quint64 digits) {
    int count = 1;
    while (count < 20 && digits >= decimal::kPowersOfTen[std::size_t(count)])
        ++count;
    return count;
}

} // namespace

ExactAmount ExactAmount::invalid() {
    ExactAmount amount;
    amount.valid_ = false;
    return amount;
}

ExactAmount ExactAmount::of(const decimal::Decimal& number, int places) {
    if (number.isZero())
        return ExactAmount();
    if (number.magnitude() > limitDigits)
        return invalid();
    const auto scale = int(std::clamp<qint64>(-number.exponent, 0, places));
    const qint64 kept = number.magnitude() + scale; // digits of the count
    if (kept >= qint64(powersOfTen.size()))
        return invalid();
    const auto size = qint64(number.digits.size());
    Count count = 0;
    for (qint64 i = 0; i < kept; ++i)
        count = count * 10 + (i < size ? number.digits[std::size_t(i)] - '0' : 0);
    if (kept >= 0 && kept < size && number.digits[std::size_t(kept)] >= '5')
        ++count;
    return {signed128(number.negative, count), scale};
}

ExactAmount ExactAmount::ofSingle(float value, int places) {
    const decimal::Short d = decimal::shortOf(value);
    if (d.isZero())
        return ExactAmount(); // zero, or not finite
    if (digitCount(d.digits) + d.exponent > limitDigits)
        return invalid();
    const Count digits = signed128(d.negative, Count(d.digits));
    if (d.exponent >= 0)
        return {digits * powersOfTen[std::size_t(d.exponent)], 0};
    return ExactAmount(digits, -d.exponent).rounded(places);
}

ExactAmount ExactAmount::operator+(const ExactAmount& other) const {
    Count sum = 0;
    if (scale_ == other.scale_ && valid_ && other.valid_ &&
        !__builtin_add_overflow(count_, other.count_, &sum))
        return {sum, scale_};
    const int scale = std::max(scale_, other.scale_);
    const ExactAmount a = widened(scale);
    const ExactAmount b = other.widened(scale);
    if (!a.valid_ || !b.valid_ || __builtin_add_overflow(a.count_, b.count_, &sum))
        return invalid();
    return {sum, scale};
}

ExactAmount ExactAmount::operator*(const ExactAmount& other) const {
    Count product = 0;
    if (!valid_ || !other.valid_ || __builtin_mul_overflow(count_, other.count_, &product))
        return invalid();
    return {product, scale_ + other.scale_};
}

ExactAmount ExactAmount::percent() const {
    return valid_ ? ExactAmount(count_, scale_ + 2) : invalid();
}

ExactAmount ExactAmount::widened(int scale) const {
    if (!valid_ || scale <= scale_)
        return *this;
    const int shift = scale - scale_;
    Count count = 0;
    if (shift >= int(powersOfTen.size()) ||
        __builtin_mul_overflow(count_, powersOfTen[std::size_t(shift)], &count))
        return count_ == 0 ? ExactAmount(0, scale) : invalid();
    return {count, scale};
}

ExactAmount ExactAmount::rounded(int places) const {
    if (!valid_ || scale_ <= places)
        return *this;
    const int drop = scale_ - places;
    if (drop >= int(powersOfTen.size()))
        return {0, places}; // less than a half of 10^-places
    const Count divisor = powersOfTen[std::size_t(drop)];
    Count quotient = count_ / divisor;
    const Count rest = count_ % divisor;
    const Count magnitude = rest < 0 ? -rest : rest;
    if (magnitude >= divisor - magnitude) // twice the rest might not fit
        quotient += count_ < 0 ? -1 : 1;
    return {quotient, places};
}

bool ExactAmount::belowLimit() const {
    if (!valid_)
        return false;
    const int digits = limitDigits + scale_;
    if (digits >= int(powersOfTen.size()))
        return true; // every count 128 bits hold
    const Count limit = powersOfTen[std::size_t(digits)];
    return count_ < limit && count_ > -limit;
}

std::optional<Money> ExactAmount::money() const {
    const ExactAmount tenThousandths = rounded(4).widened(4);
    if (!tenThousandths.valid_ || tenThousandths.count_ > std::numeric_limits<qint64>::max() ||
        tenThousandths.count_ < std::numeric_limits<qint64>::min())
        return std::nullopt;
    return Money::fromRaw(qint64(tenThousandths.count_));
}

double ExactAmount::value() const {
    if (!valid_)
        return 0;
    double power = 1;
    for (int i = 0; i < scale_; ++i)
        power *= 10;
    return double(count_) / power;
}

QString ExactAmount::text(const QString& pattern) const {
    if (!valid_)
        return QString();
    if (scale_ <= 4) {
        if (const std::optional<Money> amount = money())
            return format(*amount, pattern);
    }
    decimal::Decimal d;
    d.negative = count_ < 0;
    d.exponent = -scale_;
    Magnitude magnitude = d.negative ? Magnitude(0) - Magnitude(count_) : Magnitude(count_);
    while (magnitude != 0 && magnitude % 10 == 0) {
        magnitude /= 10;
        ++d.exponent;
    }
    for (; magnitude > 0; magnitude /= 10)
        d.digits.insert(d.digits.begin(), char('0' + int(magnitude % 10)));
    return decimal::formatDecimal(d, pattern);
}
