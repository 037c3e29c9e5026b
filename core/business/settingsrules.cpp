#include "core/business/settingsrules.h"

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

bool isRate(int field) {
    return field >= 4 && field <= 6;
}
} // namespace

QString repairRateText(const QString& text) {
    // One repair may leave a text that another repair changes ("hr" after "/"), so repair
    // until the text comes to rest.
    QString current = text;
    for (QString next = repairRateOnce(current); next != current; next = repairRateOnce(current))
        current = next;
    return current;
}

QString repairPercentText(const QString& text) {
    return text.endsWith(QLatin1Char('%')) ? text : text + QLatin1Char('%');
}

numberentry::Wanted settingsWanted(int field) {
    const QStringList perHour{QStringLiteral("/hr"), QStringLiteral("hr")};
    const QStringList percent{QStringLiteral("%")};
    switch (field) {
    case 3:
        return {QStringLiteral("the mark-up rate"), 0, 10000, false, {}, percent};
    case 4:
        return {QStringLiteral("the engineering labour rate"),
                0,
                1000000,
                false,
                QStringLiteral("$"),
                perHour};
    case 5:
        return {QStringLiteral("the assembly labour rate"),
                0,
                1000000,
                false,
                QStringLiteral("$"),
                perHour};
    case 6:
        return {QStringLiteral("the testing labour rate"),
                0,
                1000000,
                false,
                QStringLiteral("$"),
                perHour};
    default:
        return {QStringLiteral("the sales tax"), 0, 100, false, {}, percent};
    }
}

QString settingsForm(int field, const QString& text) {
    if (field < 3 || field > 7)
        return text;
    const QString form = isRate(field) ? repairRateText(text) : repairPercentText(text);
    return toDouble(numberentry::withoutUnits(form, settingsWanted(field))) ? form : text;
}

std::optional<float> settingsNumber(int field, const QString& text, QString* refusal) {
    const numberentry::Wanted wanted = settingsWanted(field);
    const QString number = numberentry::withoutUnits(text, wanted);
    if (!toDouble(number)) {
        if (refusal)
            *refusal = settingsRefusal;
        return std::nullopt;
    }
    if (!numberentry::read(text, wanted, refusal))
        return std::nullopt;
    // The single the file keeps, read from the typed digits.
    return toSingle(number);
}
