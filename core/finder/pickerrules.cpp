#include "core/finder/pickerrules.h"

#include "core/business/codetable.h"
#include "core/catalogue/partrules.h"
#include "core/catalogue/partstable.h"
#include "core/common/numberentry.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemtables.h"

#include <QFileInfo>

#include <limits>

namespace picker {

namespace {
// The data finder's connections 0 "Parts" and 3 "Assembled Items".
const ListedTable partsTable{0, Parts::class_code, Parts::unit_cost, Parts::delivery_days,
                             Parts::picture_file};
const ListedTable itemsTable{3, AssembledItems::item_class, AssembledItems::total_costs,
                             AssembledItems::max_delivery, -1};

// Puts the record set back on the row it was on, so that a walk of the picker does not move
// the data finder's current row.
class KeepPosition {
public:
    explicit KeepPosition(RecordSet& rows) : rows_(rows), position_(rows.absolutePosition()) {}
    ~KeepPosition() {
        if (!restore_ || position_ < 0 || position_ >= rows_.recordCount())
            return;
        rows_.moveFirst();
        rows_.move(position_);
    }
    KeepPosition(const KeepPosition&) = delete;
    KeepPosition& operator=(const KeepPosition&) = delete;
    void release() { restore_ = false; }

private:
    RecordSet& rows_;
    int position_;
    bool restore_ = true;
};

QString candidateLine(qint64 number, const QString& description) {
    return format(number, QStringLiteral("0000")) + QStringLiteral("     ") + description;
}

bool filterAdmits(const QString& filter, qint64 code) {
    const QString head = filter.left(3);
    return head == QLatin1String("ALL") || head == format(code, QStringLiteral("000"));
}

bool costAdmits(Money cost, Money highest) {
    return cost <= highest;
}

numberentry::Wanted highestAmountWanted() {
    return {QStringLiteral("the highest amount"), 0, 1e14, false, QStringLiteral("$"), {}};
}

numberentry::Wanted quantityWanted() {
    return {QStringLiteral("the quantity"), 1, 999999999, true, {}, {}};
}

// Hours fields 5, 6 and 7.
numberentry::Wanted hoursWanted(int field) {
    static const char* const kinds[3] = {"assembly", "engineering", "testing"};
    const QString what = QStringLiteral("the %1 hours").arg(QLatin1String(kinds[field - 5]));
    return {what, 0, 100000, false, {}, {QStringLiteral("Hr")}};
}
} // namespace

const ListedTable& listedTable(qint16 isPart) {
    return isPart ? partsTable : itemsTable;
}

QString noChoice() {
    return QString(13, QLatin1Char(' '));
}

QStringList typeListLines(const QString& allLine, const CodeTable& codes) {
    QStringList lines{allLine, QStringLiteral("000     MISC")};
    for (int code = 1; code <= CodeTable::count; ++code)
        lines << format(code, QStringLiteral("000")) + QStringLiteral("     ") + codes.entry(code);
    return lines;
}

Money highestCost(const QString& fieldText) {
    QString text = fieldText.left(60).trimmed();
    if (text.startsWith(QLatin1Char('$')))
        text.remove(0, 1);
    return toMoney(text).value_or(Money());
}

QStringList candidates(RecordSet& rows, const ListedTable& table, const QString& filter,
                       Money highest) {
    const KeepPosition keep(rows);
    QStringList lines;
    if (rows.recordCount() == 0)
        return lines;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        if (filterAdmits(filter, rows.field(table.codeColumn).toInt64()) &&
            costAdmits(rows.field(table.costColumn).toMoney(), highest))
            lines << candidateLine(rows.field(0).toInt64(), rows.field(1).toText());
    }
    return lines;
}

bool isEmptyAnswer(const QString& answer) {
    return answer.trimmed().isEmpty();
}

std::optional<Money> highestAmountAnswer(const QString& answer, QString* refusal) {
    if (!numberentry::read(answer, highestAmountWanted(), refusal))
        return std::nullopt;
    // The amount of the typed text itself: a double would lose the cents of the largest ones.
    return toMoney(numberentry::withoutUnits(answer, highestAmountWanted()));
}

std::optional<qint64> quantityAnswer(const QString& answer, QString* refusal) {
    const std::optional<double> qty = numberentry::read(answer, quantityWanted(), refusal);
    return qty ? std::optional<qint64>(qint64(*qty)) : std::nullopt;
}

std::optional<float> hoursAnswer(int field, const QString& answer, QString* refusal) {
    const std::optional<double> hours = numberentry::read(answer, hoursWanted(field), refusal);
    return hours ? std::optional<float>(float(*hours)) : std::nullopt;
}

qint64 chosenNumber(const QString& choice) {
    return qint64(wholePart(leadingValue(choice.left(4))));
}

bool numberFitsCode(const QString& choice) {
    // The number runs up to the first blank; a fifth character that is not a blank means the
    // four characters read back would name another component.
    const QString number = choice.section(QLatin1Char(' '), 0, 0);
    if (number.isEmpty() || number.size() > 4)
        return false;
    for (const QChar c : number) {
        if (!c.isDigit())
            return false;
    }
    return true;
}

QString numberTooLargeMessage() {
    return QStringLiteral("Part or item numbers above 9999 cannot be used here");
}

qint64 wholeQuantity(const QString& qtyText) {
    const double value = wholePart(leadingValue(qtyText));
    if (value >= 9.0e18)
        return std::numeric_limits<qint64>::max();
    if (value <= -9.0e18)
        return std::numeric_limits<qint64>::min();
    return qint64(value);
}

bool acceptable(const QString& qtyText, const QString& choice) {
    return wholeQuantity(qtyText) > 0 && choice != noChoice();
}

int findRow(RecordSet& rows, qint64 number) {
    KeepPosition keep(rows);
    if (rows.recordCount() == 0)
        return -1;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        if (rows.field(0).toInt64() == number) {
            keep.release();
            return rows.absolutePosition();
        }
    }
    return -1;
}

bool lineListsItems(qint16 mode, const QString& kind) {
    if (mode == 0)
        return kind != QLatin1String("P");
    return kind == QLatin1String("I");
}

QString pictureFile(const QString& name, const QDir& folder) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name == QLatin1String(".") || name == QLatin1String(".."))
        return QString();
    return partrules::findPictureFile(name, folder);
}

} // namespace picker
