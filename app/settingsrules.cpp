#include "app/settingsrules.h"

#include "common/numfilter.h"
#include "common/textnum.h"

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

// A text that passes the filter may still be no number ("1.2.3", "1 0", or nothing at all).
std::optional<float> filteredNumber(const QString& text) {
    const QString filtered = numfilter(text);
    if (!isNumber(filtered))
        return std::nullopt;
    return toSingle(filtered);
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
