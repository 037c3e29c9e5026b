#include "core/common/numberentry.h"

#include "core/common/textnum.h"

#include <cmath>

namespace numberentry {

QString withoutUnits(const QString& text, const Wanted& wanted) {
    QString rest = text.trimmed();
    if (!wanted.prefix.isEmpty() && rest.startsWith(wanted.prefix, Qt::CaseInsensitive))
        rest = rest.mid(wanted.prefix.size()).trimmed();
    for (const QString& suffix : wanted.suffixes) {
        if (rest.endsWith(suffix, Qt::CaseInsensitive)) {
            rest = rest.chopped(suffix.size()).trimmed();
            break;
        }
    }
    return rest;
}

std::optional<double> read(const QString& text, const Wanted& wanted, QString* refusal) {
    const std::optional<double> value = toDouble(withoutUnits(text, wanted));
    const bool fits = value && std::isfinite(*value) && *value >= wanted.low &&
                      *value <= wanted.high && (!wanted.whole || *value == std::floor(*value));
    if (fits)
        return value;
    if (refusal)
        *refusal = refusalText(wanted);
    return std::nullopt;
}

QString refusalText(const Wanted& wanted) {
    return QStringLiteral("Please enter %1 as %2 from %3 to %4.")
        .arg(wanted.what,
             wanted.whole ? QStringLiteral("a whole number") : QStringLiteral("a number"),
             plainText(wanted.low), plainText(wanted.high));
}

} // namespace numberentry
