#include "core/common/money.h"

#include "core/common/decimaltext.h"

#include <cmath>

std::optional<Money> Money::fromDouble(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    // The shortest text that reads back as the value is what the user saw and typed, so 2.675
    // counts as 2.675 and not as the binary fraction just below it.
    return decimal::moneyOf(decimal::shortOf(value));
}

QString Money::decimalText() const {
    const quint64 magnitude = raw_ < 0 ? quint64(0) - quint64(raw_) : quint64(raw_);
    QString text = QString::number(magnitude / 10000) + u'.' +
                   QString::number(magnitude % 10000).rightJustified(4, u'0');
    if (raw_ < 0)
        text.prepend(u'-');
    return text;
}
