#include "core/items/staleprices.h"

#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemlines.h"
#include "core/items/itemtables.h"

#include <sqlite3.h>

#include <initializer_list>

using namespace itemcosting;

namespace staleprices {

namespace {

// "SELECT a, b FROM t ORDER BY rowid": a whole table in its row order.
Statement wholeTable(RecordSet& records, std::initializer_list<int> columns) {
    const TableDef& def = records.table();
    return Statement(records.database(), "SELECT " + columnList(def, columns) + " FROM " +
                                             quotedName(def.name) + " ORDER BY rowid");
}

Money moneyColumn(sqlite3_stmt* stmt, int i) {
    return Money::fromRaw(sqlite3_column_int64(stmt, i));
}

} // namespace

// A price never written is no price.
void notePrice(CurrentPrices& prices, bool isPart, qint64 number, sqlite3_stmt* stmt, int i) {
    if (sqlite3_column_type(stmt, i) != SQLITE_NULL)
        prices.set(isPart, number, moneyColumn(stmt, i));
}

void CurrentPrices::clear() {
    slots_.clear();
    prices_.clear();
}

void CurrentPrices::set(bool isPart, qint64 number, Money price) {
    if (!inRange(number))
        return;
    QString text = amountText(price);
    if (slots_.empty())
        slots_.assign(slot(true, highest) + 1, 0);
    int& entry = slots_[slot(isPart, number)];
    if (entry > 0) {
        prices_[std::size_t(entry - 1)] = std::move(text);
        return;
    }
    prices_.push_back(std::move(text));
    entry = int(prices_.size());
}

const QString* CurrentPrices::of(bool isPart, qint64 number) const {
    if (!inRange(number) || slots_.empty())
        return nullptr;
    const int entry = slots_[slot(isPart, number)];
    return entry > 0 ? &prices_[std::size_t(entry - 1)] : nullptr;
}

void StaleLines::refresh(const ItemLines& lines, const CurrentPrices& prices) {
    current_.assign(std::size_t(lines.count()), QString());
    count_ = 0;
    for (int k = 0; k < lines.count(); ++k)
        note(lines, prices, k);
}

void StaleLines::refreshLine(const ItemLines& lines, const CurrentPrices& prices, int k) {
    if (k >= int(current_.size()))
        current_.resize(std::size_t(k) + 1);
    QString& current = current_[std::size_t(k)];
    if (!current.isEmpty()) {
        current.clear();
        --count_;
    }
    note(lines, prices, k);
}

void StaleLines::note(const ItemLines& lines, const CurrentPrices& prices, int k) {
    const ItemLine& line = lines.line(k);
    const QString& code = line[ItemCell::ip_code];
    const QString* now = prices.of(isPartCode(code), codeNumber(code));
    if (now && *now != line[ItemCell::unit_price]) {
        current_[std::size_t(k)] = *now;
        ++count_;
    }
}

const QString& StaleLines::currentOf(int k) const {
    static const QString none;
    return k >= 0 && k < int(current_.size()) ? current_[std::size_t(k)] : none;
}

QString tipText(const QString& current, const QString& stored) {
    return QStringLiteral("Current price: %1 (stored %2)").arg(current, stored);
}

QString countText(int count) {
    return QStringLiteral("%1 prices out of date").arg(count);
}

void update(ItemLines& lines, const StaleLines& stale, const BizSettings& rates, float markup) {
    const CostFactors factors(rates, markup);
    for (int k = 0; k < lines.count(); ++k) {
        if (stale.isStale(k))
            lines.setUnitPrice(k, stale.currentOf(k), factors);
    }
}

std::vector<StaleItem> staleItems(RecordSet& partsList, RecordSet& parts, RecordSet& items) {
    CurrentPrices prices;
    {
        Statement rows = wholeTable(parts, {Parts::part_no, Parts::unit_cost});
        while (rows.step())
            notePrice(prices, true, sqlite3_column_int64(rows.get(), 0), rows.get(), 1);
    }
    std::vector<StaleItem> listed;
    // Item number -> the entries of its rows, so that each line is counted for its host.
    std::unordered_map<qint64, std::vector<std::size_t>> rowsOf;
    {
        using namespace AssembledItems;
        Statement rows = wholeTable(items, {item_no, item_desc, total_costs, confirmed});
        sqlite3_stmt* stmt = rows.get();
        while (rows.step()) {
            StaleItem item;
            item.position = int(listed.size());
            item.number = sqlite3_column_int64(stmt, 0);
            item.description = textColumn(stmt, 1);
            item.confirmed = sqlite3_column_int64(stmt, 3) != 0;
            notePrice(prices, false, item.number, stmt, 2);
            rowsOf[item.number].push_back(listed.size());
            listed.push_back(std::move(item));
        }
    }
    {
        using namespace PartsList;
        Statement rows = wholeTable(partsList, {host_item_no, part_flag, ip_no, unit_price});
        sqlite3_stmt* stmt = rows.get();
        while (rows.step()) {
            // Looked up as the builder looks up the line's code.
            const QString* now = prices.of(sqlite3_column_int64(stmt, 1) != 0,
                                           codeNumberOf(sqlite3_column_int64(stmt, 2)));
            if (!now || *now == amountText(moneyColumn(stmt, 3)))
                continue;
            const auto hosts = rowsOf.find(sqlite3_column_int64(stmt, 0));
            if (hosts == rowsOf.end())
                continue;
            for (std::size_t i : hosts->second)
                ++listed[i].staleLines;
        }
    }
    std::erase_if(listed, [](const StaleItem& item) { return item.staleLines == 0; });
    return listed;
}

} // namespace staleprices
