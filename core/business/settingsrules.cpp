#include "core/business/settingsrules.h"

#include "core/common/numfilter.h"
#include "core/common/textnum.h"

namespace {
QString repairRateOnce(const QString& text) {
    if (text.endsWith(QLatin1String("/hr")))
        return text;
    if (text.endsWith(QLatin1String("hr")))
        return text.left(text.size() - 2) + QLatin1String("/hr");
    if (text.endsWith(QLatin1String("/r")))
        return text.left(text.size() - 1) + QLatin1String("hr");
    if (text.endsWith(QLatin1String("/h")))
        return text + QLatin1Char('r');
    return text + QLatin1String("/hr");
}

// From a billion on, a rate or percentage is a slip of the keyboard; it would also carry the
// costs past what an amount can hold.
constexpr float largestNumber = 1e9f;

// A text that passes the filter may still be no number ("1.2.3", "1 0", or nothing at all).
// A number the window would show in exponent form ("1E-07") is refused too: that text would not
// pass the filter at the next save and the value would silently become 0.
std::optional<float> filteredNumber(const QString& text) {
    const QString filtered = numfilter(text);
    if (!isNumber(filtered))
        return std::nullopt;
    const std::optional<float> value = toSingle(filtered);
    if (!value || *value >= largestNumber || numberText(*value).contains(QLatin1Char('E')))
        return std::nullopt;
    return value;
}
} // namespace

QString repairRateText(const QString& text) {
    // Each repair is itself a change that runs the rule again, until the text comes to rest.
    QString current = text;
    for (QString next = repairRateOnce(current); next != current; next = repairRateOnce(current))
        current = next;
    return current;
}

QString repairPercentText(const QString& text) {
    return text.endsWith(QLatin1Char('%')) ? text : text + QLatin1Char('%');
}

std::optional<float> rateValue(const QString& text) {
    const int start = text.startsWith(QLatin1Char('$')) ? 1 : 0;
    const int length = text.size() - start - 3;
    if (length <= 0)
        return std::nullopt;
    return filteredNumber(text.mid(start, length));
}

std::optional<float> percentValue(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    return filteredNumber(text.left(text.size() - 1));
}
