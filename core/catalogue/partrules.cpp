#include "core/catalogue/partrules.h"

#include "core/business/codetable.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"

#include <cmath>

namespace partrules {
namespace {
const QString codeGap = QStringLiteral("     ");
const QString days = QStringLiteral("days");
const QString spacedDays = QStringLiteral(" days");

// True when every character of `typed` stands, in order, in `repaired`: the repair only added.
bool keepsEvery(const QString& typed, const QString& repaired) {
    qsizetype at = 0;
    for (const QChar c : repaired) {
        if (at < typed.size() && typed[at] == c)
            ++at;
    }
    return at == typed.size();
}

// The delivery time's letters completed: a number, then "days" with a letter or two missing
// ("3 day", "3 dys", "3 ays"). Empty when the text is no such thing or the completion would
// drop a typed character.
std::optional<QString> completedDays(const QString& text) {
    if (text.size() < 4)
        return std::nullopt;
    QString t = text;
    if (!t.endsWith(QLatin1String("ys")))
        t = t.chopped(2) + QLatin1String("ays");
    if (!t.endsWith(QLatin1String("ays")))
        t = t.chopped(3) + days;
    if (!t.endsWith(days))
        t = t.chopped(4) + spacedDays;
    if (!isNumber(t.chopped(4)) || !keepsEvery(text, t))
        return std::nullopt;
    return t;
}

// A code number from the first three characters of a code line.
std::optional<qint64> codeOf(const QString& line) {
    const std::optional<double> value = toDouble(line.left(3));
    if (!value || *value < 0 || *value != std::floor(*value))
        return std::nullopt;
    return qint64(*value);
}
} // namespace

bool isNumberField(int field) {
    return field == costField || field == priceField || field == quantityField ||
           field == deliveryField;
}

numberentry::Wanted wanted(int field) {
    switch (field) {
    case costField:
        return {QStringLiteral("the unit cost"), 0, 100000000000.0, false, QStringLiteral("$"), {}};
    case priceField:
        return {
            QStringLiteral("the unit price"), 0, 100000000000.0, false, QStringLiteral("$"), {}};
    case quantityField:
        return {QStringLiteral("the stock quantity"), 0, 999999999, true, {}, {}};
    default:
        return {QStringLiteral("the delivery time in days"),
                0,
                9999,
                false,
                {},
                {days, QStringLiteral("day")}};
    }
}

QString formed(int field, const QString& text) {
    if (!isNumberField(field))
        return text;
    const numberentry::Wanted want = wanted(field);
    QString form;
    if (field == deliveryField) {
        const QString completed = completedDays(text).value_or(text);
        if (!numberentry::read(completed, want))
            return text;
        form = numberentry::withoutUnits(completed, want) + spacedDays;
        // The form the editor shows a stored part in (" 3 days") stands as it is.
        if (text.trimmed() == form)
            return text;
    } else {
        if (!numberentry::read(text, want))
            return text;
        form = want.prefix + numberentry::withoutUnits(text, want);
    }
    return form;
}

QString restoredDays(const QString& text) {
    return completedDays(text).value_or(text);
}

std::optional<Money> amount(int field, const QString& text, QString* refusal) {
    const numberentry::Wanted want = wanted(field);
    if (!numberentry::read(text, want, refusal))
        return std::nullopt;
    // The typed digits, not the double read from them, so the amount is exact.
    const std::optional<Money> exact = toMoney(numberentry::withoutUnits(text, want));
    if (!exact && refusal)
        *refusal = numberentry::refusalText(want);
    return exact;
}

QString suggestedPrice(Money cost, float markupRate) {
    return format(cost.toDouble() * double(markupRate), moneyPattern);
}

QString codeLine(int code, const CodeTable& table) {
    return format(code, QStringLiteral("000")) + codeGap + table.entry(code);
}

namespace {
// A stored code beyond the table's 200 shows its number and a blank description.
QString storedCodeLine(qint64 code, const CodeTable& table) {
    const int entry = code <= CodeTable::count ? int(code) : 0;
    return format(code, QStringLiteral("000")) + codeGap + table.entry(entry);
}
} // namespace

QString vendorText(qint64 code, const CodeTable& vendors) {
    if (code <= 0)
        return QStringLiteral("000     UNKNOWN");
    return storedCodeLine(code, vendors);
}

QString classText(qint64 code, const CodeTable& classes) {
    if (code <= 0)
        return QStringLiteral("000     MISC");
    return storedCodeLine(code, classes);
}

QStringList vendorLines(const CodeTable& vendors) {
    QStringList lines;
    lines.reserve(CodeTable::count);
    for (int code = 1; code <= CodeTable::count; ++code)
        lines << codeLine(code, vendors);
    return lines;
}

QStringList classLines(const CodeTable& classes) {
    QStringList lines;
    lines.reserve(CodeTable::count + 1);
    lines << QStringLiteral("000      MISC");
    for (int code = 1; code <= CodeTable::count; ++code)
        lines << codeLine(code, classes);
    return lines;
}

QString deliveryText(double daysValue) {
    return numberText(daysValue) + QLatin1Char(' ') + days;
}

QString lastDeliveryText(const QDate& date) {
    if (!date.isValid() || date == baseDate())
        return noDate;
    return formatDate(date, QStringLiteral("mm/dd/yyyy"));
}

Fields shownFields(const RecordSet& parts, const CodeTable& vendors, const CodeTable& classes) {
    using namespace Parts;
    Fields f;
    f[0] = format(parts.field(part_no).toInt64(), QStringLiteral("0000"));
    f[1] = parts.field(description).toText();
    f[2] = vendorText(parts.field(vendor_code).toInt64(), vendors);
    f[3] = format(parts.field(unit_cost).toMoney(), moneyPattern);
    f[4] = format(parts.field(unit_price).toMoney(), moneyPattern);
    f[5] = classText(parts.field(class_code).toInt64(), classes);
    f[6] = parts.field(general_stock).toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
    f[7] = format(parts.field(stock_qty).toInt64(), QStringLiteral("000"));
    f[8] = deliveryText(parts.field(delivery_days).toDouble());
    f[9] = lastDeliveryText(parts.field(last_delivery).toDate());
    f[10] = parts.field(features).toText();
    f[11] = parts.field(manufacturer).toText();
    return f;
}

SaveColumns saveColumns(const Fields& fields, const QString& pictureName, bool newPart) {
    using namespace Parts;
    SaveColumns result;
    for (int i = 0; i < fieldCount; ++i) {
        if (i != 10 && fields[i].isEmpty()) {
            result.refusal = Refusal::Incomplete;
            return result;
        }
    }
    // Record numbers are 16-bit: a new part past 32767 would not fit.
    const std::optional<double> number = toDouble(fields[0]);
    const bool numberFits = number && wholePart(*number) >= 0 && wholePart(*number) <= 32767;
    if (!numberFits) {
        result.refusal = newPart && number ? Refusal::NumberTooHigh : Refusal::Incomplete;
        return result;
    }

    // The number fields in the order they are shown: the first one that holds no valid entry
    // is the one the user is told about.
    std::optional<Money> cost, price;
    std::optional<double> quantity, delivery;
    for (int field : {costField, priceField, quantityField, deliveryField}) {
        QString reason;
        bool read = false;
        if (field == costField || field == priceField) {
            std::optional<Money>& money = field == costField ? cost : price;
            money = amount(field, fields[field], &reason);
            read = money.has_value();
        } else {
            std::optional<double>& value = field == quantityField ? quantity : delivery;
            value = numberentry::read(formed(field, fields[field]), wanted(field), &reason);
            read = value.has_value();
        }
        if (!read) {
            result.refusal = Refusal::BadNumber;
            result.field = field;
            result.reason = reason;
            return result;
        }
    }

    const std::optional<qint64> vendor = codeOf(fields[2]);
    const std::optional<qint64> classCode = codeOf(fields[5]);
    const std::optional<QDate> delivered =
        fields[9] == noDate ? std::optional<QDate>(baseDate()) : toDate(fields[9]);
    if (!vendor || !classCode || !delivered) {
        result.refusal = Refusal::Incomplete;
        return result;
    }

    auto& c = result.columns;
    c.emplace_back(part_no, Value(qint64(wholePart(*number))));
    c.emplace_back(description, Value(fields[1]));
    c.emplace_back(vendor_code, Value(*vendor));
    c.emplace_back(unit_cost, Value(*cost));
    c.emplace_back(unit_price, Value(*price));
    c.emplace_back(class_code, Value(*classCode));
    c.emplace_back(general_stock, Value(fields[6] == QLatin1String("Yes")));
    c.emplace_back(stock_qty, Value(qint64(*quantity)));
    c.emplace_back(delivery_days, Value(*delivery));
    c.emplace_back(last_delivery, Value(*delivered));
    if (!fields[10].isEmpty())
        c.emplace_back(features, Value(fields[10]));
    c.emplace_back(manufacturer, Value(fields[11]));
    c.emplace_back(picture_file, Value(pictureName));
    return result;
}

bool hasWildcard(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?')) ||
           name.contains(QLatin1Char('['));
}

QString findPictureFile(const QString& name, const QDir& folder) {
    if (name.isEmpty() || hasWildcard(name))
        return QString();
    const bool absolute = QDir::isAbsolutePath(name);
    QDir dir = absolute ? QDir::root() : folder;
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QString();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return QString();
        const bool last = i == parts.size() - 1;
        const QDir::Filters filter =
            (last ? QDir::Files : QDir::Dirs) | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        QString found;
        for (const QString& entry : dir.entryList(filter, QDir::Name)) {
            if (entry == part) {
                found = entry;
                break;
            }
            if (found.isEmpty() && entry.compare(part, Qt::CaseInsensitive) == 0)
                found = entry;
        }
        if (found.isEmpty())
            return QString();
        if (last)
            return dir.filePath(found);
        if (!dir.cd(found))
            return QString();
    }
    return QString();
}

} // namespace partrules
