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

const QString moneyPattern = QStringLiteral("$0.00");

// "SELECT a, b FROM t ORDER BY rowid": a whole table in its row order.
Statement wholeTable(RecordSet& records, std::initializer_list<int> columns) {
    const TableDef& def = records.table();
    QByteArray sql = "SELECT ";
    bool first = true;
    for (int c : columns) {
        sql += (first ? "" : ", ") + quotedName(def.columns[std::size_t(c)].name);
        first = false;
    }
    sql += " FROM " + quotedName(def.name) + " ORDER BY rowid";
    return Statement(records.database(), sql);
}

Money moneyColumn(sqlite3_stmt* stmt, int i) {
    return Money::fromRaw(sqlite3_column_int64(stmt, i));
}

// A price never written is no price.
void notePrice(CurrentPrices& prices, bool isPart, qint64 number, sqlite3_stmt* stmt, int i) {
    if (sqlite3_column_type(stmt, i) != SQLITE_NULL)
        prices.set(isPart, number, moneyColumn(stmt, i));
}

} // namespace

void CurrentPrices::clear() {
    slots_.clear();
    prices_.clear();
    others_.clear();
}

void CurrentPrices::set(bool isPart, qint64 number, Money price) {
    QString text = format(price, moneyPattern);
    if (!inRange(number)) {
        others_[number * 2 + (isPart ? 1 : 0)] = std::move(text);
        return;
    }
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
    if (inRange(number)) {
        const int entry = slots_.empty() ? 0 : slots_[slot(isPart, number)];
        return entry > 0 ? &prices_[std::size_t(entry - 1)] : nullptr;
    }
    const auto found = others_.find(number * 2 + (isPart ? 1 : 0));
    return found == others_.end() ? nullptr : &found->second;
}

void StaleLines::refresh(const ItemLines& lines, const CurrentPrices& prices) {
    current_.assign(std::size_t(lines.count()), QString());
    count_ = 0;
    for (int k = 0; k < lines.count(); ++k)
        note(lines, prices, k);
}

void StaleLines::refreshLine(const ItemLines& lines, const CurrentPrices& prices, int k) {
    if (k >= lineCount())
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

int update(ItemLines& lines, const StaleLines& stale, const BizSettings& rates, float markup) {
    const CostFactors factors(rates, markup);
    int changed = 0;
    for (int k = 0; k < lines.count(); ++k) {
        if (!stale.isStale(k))
            continue;
        lines.setUnitPrice(k, stale.currentOf(k), factors);
        ++changed;
    }
    return changed;
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
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
            item.description = QString::fromUtf8(text, sqlite3_column_bytes(stmt, 1));
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
            const QString* now =
                prices.of(sqlite3_column_int64(stmt, 1) != 0, sqlite3_column_int64(stmt, 2));
            if (!now || *now == format(moneyColumn(stmt, 3), moneyPattern))
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
