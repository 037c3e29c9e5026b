#include "core/catalogue/partrules.h"

#include "core/business/codetable.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"

#include <cmath>
#include <limits>

namespace partrules {
namespace {
// Typed numbers are judged on at most this many characters.
constexpr int numberWidth = 60;

const QString codeGap = QStringLiteral("     ");
const QString days = QStringLiteral("days");

// One pass of the delivery rule's five steps, each reading the text the previous one left.
QString deliveryPass(QString text) {
    if (text.size() < 4)
        text = deliveryPlaceholder;
    if (!text.endsWith(QLatin1String("ys")))
        text = text.chopped(2) + QLatin1String("ays");
    if (!text.endsWith(QLatin1String("ays")))
        text = text.chopped(3) + days;
    if (!text.endsWith(days))
        text = text.chopped(4) + QLatin1Char(' ') + days;
    if (!isNumber(text.chopped(4)))
        text = deliveryPlaceholder;
    return text;
}

// A whole number from a text, within the given range.
std::optional<qint64> wholeIn(const QString& text, double low, double high) {
    const std::optional<double> value = toDouble(text);
    if (!value)
        return std::nullopt;
    const double whole = wholePart(*value);
    if (whole < low || whole > high)
        return std::nullopt;
    return qint64(whole);
}

// A code number from the first three characters of a code line.
std::optional<qint64> codeOf(const QString& line) {
    const std::optional<double> value = toDouble(line.left(3));
    if (!value || *value < 0 || *value != std::floor(*value))
        return std::nullopt;
    return qint64(*value);
}
} // namespace

QString repairMoney(const QString& text) {
    return isNumber(text.mid(1, numberWidth)) ? text : moneyPlaceholder;
}

QString repairQuantity(const QString& text) {
    return isNumber(text.left(numberWidth)) ? text : quantityPlaceholder;
}

QString repairDelivery(const QString& text) {
    // A repair is itself a change, so the rule runs until the text is at rest. One pass always
    // reaches it (its result ends in "days" after a number), the bound only guards that.
    QString current = text;
    for (int pass = 0; pass < 4; ++pass) {
        const QString next = deliveryPass(current);
        if (next == current)
            return current;
        current = next;
    }
    return current;
}

std::optional<Money> shownAmount(const QString& text) {
    return toMoney(text.mid(1, numberWidth));
}

std::optional<Money> savedAmount(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    if (text.front() == QLatin1Char('$'))
        return toMoney(text.mid(1));
    if (text.front().isDigit() && text.front().unicode() < 128)
        return toMoney(text);
    return std::nullopt;
}

std::optional<QString> suggestedPrice(const QString& costText, float markupRate) {
    const std::optional<Money> cost = shownAmount(costText);
    if (!cost)
        return std::nullopt;
    return format(cost->toDouble() * double(markupRate), moneyPlaceholder);
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
    f[3] = format(parts.field(unit_cost).toMoney(), moneyPlaceholder);
    f[4] = format(parts.field(unit_price).toMoney(), moneyPlaceholder);
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
    constexpr double int32Low = std::numeric_limits<qint32>::min();
    constexpr double int32High = std::numeric_limits<qint32>::max();

    // Record numbers are 16-bit: a new part past 32767 would not fit.
    const std::optional<double> number = toDouble(fields[0]);
    const bool numberFits = number && wholePart(*number) >= 0 && wholePart(*number) <= 32767;
    const std::optional<qint64> vendor = codeOf(fields[2]);
    const std::optional<Money> cost = savedAmount(fields[3]);
    const std::optional<Money> price = savedAmount(fields[4]);
    const std::optional<qint64> classCode = codeOf(fields[5]);
    const std::optional<qint64> quantity = wholeIn(fields[7], int32Low, int32High);
    const std::optional<double> delivery =
        fields[8].size() >= 4 ? toDouble(fields[8].chopped(4)) : std::nullopt;
    const std::optional<QDate> delivered =
        fields[9] == noDate ? std::optional<QDate>(baseDate()) : toDate(fields[9]);

    if (!numberFits) {
        result.refusal = newPart && number ? Refusal::NumberTooHigh : Refusal::Incomplete;
        return result;
    }
    if (!vendor || !cost || !price || !classCode || !quantity || !delivery || !delivered) {
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
    c.emplace_back(stock_qty, Value(*quantity));
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
