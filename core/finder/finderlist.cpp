#include "core/finder/finderlist.h"

#include "core/business/codetable.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemtables.h"
#include "core/sales/salestables.h"

#include <algorithm>
#include <numeric>

namespace {
const QString fourDigits = QStringLiteral("0000");
const QString dollars = QStringLiteral("$0.00");

// Every run of blanks in a sort form is taken from a string of 11 blanks.
QString blanks(qsizetype count) {
    return QString(std::clamp<qsizetype>(count, 0, 11), QLatin1Char(' '));
}

QString classText(qint64 code, const CodeTable& classCodes) {
    if (code <= 0)
        return QStringLiteral("MISC");
    if (code > CodeTable::count)
        return format(code, QStringLiteral("000"));
    return classCodes.entry(int(code));
}

void partsCells(const RecordSet& r, int sortColumn, const CodeTable& classCodes, FinderLine& line) {
    line.cells[0] = format(r.field(Parts::part_no).toInt64(), fourDigits) +
                    (r.field(Parts::general_stock).toBool() ? QStringLiteral("  G")
                                                            : QStringLiteral("  S"));
    line.cells[1] = r.field(Parts::manufacturer).toText();
    line.cells[2] = r.field(Parts::description).toText();
    line.cells[3] = classText(r.field(Parts::class_code).toInt64(), classCodes);
    const Money price = r.field(Parts::unit_price).toMoney();
    line.cells[4] = sortColumn == 4 ? padAmount(price) + format(price, QStringLiteral("$0.00 "))
                                    : format(price, dollars);
    line.hint = QStringLiteral("QTY OF ") + line.cells[2] + QStringLiteral(" = ") +
                r.field(Parts::stock_qty).toText();
}

void customerCells(const RecordSet& r, int sortColumn, FinderLine& line) {
    line.cells[0] = format(r.field(Customers::cust_no).toInt64(), fourDigits);
    line.cells[1] = r.field(Customers::first_name).toText();
    line.cells[2] = r.field(Customers::last_name).toText();
    const Money total = r.field(Customers::total_value).toMoney();
    line.cells[3] = sortColumn == 3 ? padAmount(total) + format(total, dollars)
                                    : format(total, dollars);
    line.cells[4] = r.field(Customers::telephone).toText();
}

void itemCells(const RecordSet& r, int sortColumn, FinderLine& line) {
    line.cells[0] = format(r.field(AssembledItems::item_no).toInt64(), fourDigits) +
                    (r.field(AssembledItems::confirmed).toBool() ? QStringLiteral("  C")
                                                                 : QStringLiteral("  U"));
    const Money costs = r.field(AssembledItems::total_costs).toMoney();
    line.cells[1] = sortColumn == 1 ? padAmount(costs) + format(costs, dollars)
                                    : format(costs, dollars);
    line.cells[2] = r.field(AssembledItems::item_desc).toText();
    const float markup = r.field(AssembledItems::markup).toFloat() / 100.0f;
    line.cells[3] = format(markup, sortColumn == 3 ? QStringLiteral("000.0000%")
                                                   : QStringLiteral("0.0000%"));
    const Money delivery = r.field(AssembledItems::max_delivery).toMoney();
    const QString days = format(delivery, QStringLiteral("0"));
    line.cells[4] = sortColumn == 4
                        ? blanks(12 - plainText(delivery.toDouble()).size()) + days +
                              QStringLiteral(" day(s) ")
                        : days + QStringLiteral(" days");
}
} // namespace

QString padAmount(Money amount) {
    const QString plain = plainText(amount.toDouble());
    const QString shown = format(amount, dollars);
    int added = 0;
    if (shown.endsWith(QLatin1String("00")))
        added = 3;
    else if (shown.endsWith(QLatin1Char('0')))
        added = 1;
    return blanks(12 - (plain.size() + added));
}

FinderList FinderList::build(RecordSet& records, int mode, int sortColumn,
                             const CodeTable& classCodes) {
    FinderList list;
    std::vector<FinderLine> lines;
    lines.reserve(size_t(records.recordCount()));
    if (records.recordCount() > 0) {
        for (records.moveFirst(); !records.eof(); records.moveNext()) {
            const qint64 number = records.field(0).toInt64();
            // Compared before adding, so a number at the top of the range cannot wrap around.
            constexpr qint64 ceiling = 1 << 30;
            if (number >= list.nextNumber_)
                list.nextNumber_ = int(number >= ceiling ? ceiling : number + 1);
            FinderLine line;
            line.position = records.absolutePosition();
            if (mode == 0)
                partsCells(records, sortColumn, classCodes, line);
            else if (mode == 1)
                customerCells(records, sortColumn, line);
            else
                itemCells(records, sortColumn, line);
            lines.push_back(std::move(line));
        }
    }
    // The sorted list's alphabetical order ignores case; sort once on upper-cased keys.
    std::vector<QString> keys(lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        keys[i] = lines[i].cells[size_t(sortColumn)].toUpper();
    std::vector<size_t> order(lines.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });
    list.lines_.reserve(lines.size());
    for (size_t index : order)
        list.lines_.push_back(std::move(lines[index]));
    return list;
}

int FinderList::search(const QString& text, int column) const {
    if (lines_.empty())
        return -1;
    if (upperColumn_ != column) {
        upper_.resize(lines_.size());
        for (size_t i = 0; i < lines_.size(); ++i)
            upper_[i] = lines_[i].cells[size_t(column)].toUpper();
        upperColumn_ = column;
    }
    const QString wanted = text.toUpper();
    int line = 0;
    const int last = int(lines_.size()) - 1;
    while (line < last && wanted > upper_[size_t(line)])
        ++line;
    return line;
}
