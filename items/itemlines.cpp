#include "items/itemlines.h"

#include "app/bizsettings.h"
#include "catalogue/partstable.h"
#include "common/database.h"
#include "common/recordset.h"
#include "common/tabledef.h"
#include "common/textnum.h"
#include "items/itemtables.h"

#include <sqlite3.h>

#include <algorithm>
#include <QElapsedTimer>
#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <unordered_map>

using namespace itemcosting;

// An item's lines are read and rewritten with one statement each way rather than by walking
// "parts list" row by row: the table holds every item's lines, and a walk through the record set
// costs several times the engine's own scan.

namespace {

QByteArray columnList(const TableDef& table, std::initializer_list<int> columns) {
    QByteArray list;
    for (int c : columns)
        list += (list.isEmpty() ? "" : ", ") + quotedName(table.columns[std::size_t(c)].name);
    return list;
}

QString textColumn(sqlite3_stmt* stmt, int i) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, i));
}

// Number -> description of the components a load needs, filled by one pass over their table.
using Descriptions = std::unordered_map<qint64, std::optional<QString>>;

void lookUpDescriptions(RecordSet& table, Descriptions& wanted) {
    if (wanted.empty())
        return;
    const TableDef& def = table.table();
    Statement rows(table.database(), "SELECT " + columnList(def, {0, 1}) + " FROM " +
                                         quotedName(def.name) + " ORDER BY rowid");
    sqlite3_stmt* stmt = rows.get();
    while (rows.step()) {
        const auto it = wanted.find(sqlite3_column_int64(stmt, 0));
        if (it != wanted.end())
            it->second = textColumn(stmt, 1); // the last matching row wins
    }
}

bool isPartCode(const QString& code) {
    return code.endsWith(QLatin1Char('P'));
}

qint64 codeNumber(const QString& code) {
    return wholeNumberOf(code.left(4));
}

} // namespace

ItemLines::ItemLines() {
    ItemLine blank;
    blank.fill(blankCell());
    lines_.assign(capacity, blank);
    figures_.assign(capacity, LineFigures());
}

void ItemLines::clear() {
    const QString blank = blankCell();
    for (int k = 0; k < capacity; ++k)
        lines_[std::size_t(k)].fill(blank);
    figures_.assign(capacity, LineFigures());
    cnt_ = 0;
}

void ItemLines::refigure(int k) {
    figures_[std::size_t(k)] = figuresOf(lines_[std::size_t(k)]);
}

bool ItemLines::load(RecordSet& partsList, RecordSet& parts, RecordSet& items, qint64 host) {
    using namespace PartsList;
    QElapsedTimer T; T.start();
    clear();
    bool complete = true;
    const TableDef& def = partsList.table();
    Statement rows(partsList.database(),
                   "SELECT " +
                       columnList(def, {part_flag, ip_no, qty, unit_price, total_price, asm_hours,
                                        eng_hours, test_hours, ip_cost, delivery_days}) +
                       " FROM " + quotedName(def.name) + " WHERE " +
                       quotedName(def.columns[host_item_no].name) + " = ?1 ORDER BY rowid");
    sqlite3_stmt* stmt = rows.get();
    sqlite3_bind_int64(stmt, 1, host);
    const auto money = [stmt](int i) { return Money::fromRaw(sqlite3_column_int64(stmt, i)); };
    const auto single = [stmt](int i) { return float(sqlite3_column_double(stmt, i)); };
    const QString moneyPattern = QStringLiteral("$0.00");
    { QElapsedTimer U; U.start(); double z=0; while (rows.step()) { z += sqlite3_column_double(stmt, 3); } rows.reset(); sqlite3_bind_int64(stmt, 1, host); fprintf(stderr, "  bare %.2f\n", U.nsecsElapsed()/1e6); T.restart(); if (z==1) fprintf(stderr," "); }
    while (rows.step()) {
        if (cnt_ == capacity) {
            complete = false;
            break;
        }
        ItemLine& line = lines_[std::size_t(cnt_)];
        line[ItemCell::ip_code] =
            codeText(sqlite3_column_int64(stmt, 1), sqlite3_column_int64(stmt, 0) != 0);
        line[ItemCell::qty] = format(qint64(sqlite3_column_int64(stmt, 2)), QStringLiteral("00"));
        line[ItemCell::unit_price] = format(money(3), moneyPattern);
        line[ItemCell::total_price] = format(money(4), moneyPattern);
        line[ItemCell::asm_hours] = hoursText(single(5));
        line[ItemCell::eng_hours] = hoursText(single(6));
        line[ItemCell::test_hours] = hoursText(single(7));
        line[ItemCell::ip_cost] = format(money(8), moneyPattern);
        line[ItemCell::delivery_days] = format(single(9), QStringLiteral("0.0000"));
        cnt_++;
    }
    fprintf(stderr, "  select+format-nofig %.2f\n", T.nsecsElapsed()/1e6); T.restart();
    for (int k=0;k<cnt_;k++) refigure(k);

    fprintf(stderr, "  select+format %.2f\n", T.nsecsElapsed()/1e6); T.restart();
    Descriptions partNames;
    Descriptions itemNames;
    for (const ItemLine& line : inUse()) {
        const QString& code = line[ItemCell::ip_code];
        (isPartCode(code) ? partNames : itemNames).emplace(codeNumber(code), std::nullopt);
    }
    lookUpDescriptions(parts, partNames);
    lookUpDescriptions(items, itemNames);
    for (int k = 0; k < cnt_; ++k) {
        ItemLine& line = lines_[std::size_t(k)];
        const QString& code = line[ItemCell::ip_code];
        const Descriptions& names = isPartCode(code) ? partNames : itemNames;
        if (const std::optional<QString>& name = names.at(codeNumber(code)))
            line[ItemCell::description] = *name;
    }
    fprintf(stderr, "  names %.2f\n", T.nsecsElapsed()/1e6); T.restart();
    return complete;
}

bool ItemLines::isHost(const PickedChoice& choice, qint64 host) {
    return !choice.isPart && codeNumber(choice.entry) == host;
}

int ItemLines::mergeTarget(int ar, const QString& code) const {
    const int last = std::min(cnt_, capacity - 1);
    for (int i = 0; i <= last; ++i) {
        if (i != ar && lines_[std::size_t(i)][ItemCell::ip_code] == code)
            return i;
    }
    return -1;
}

ItemLines::Placed ItemLines::place(int ar, const PickedChoice& choice,
                                   const std::function<bool()>& multiply,
                                   const BizSettings& rates, float markup) {
    Placed placed;
    if (ar < 0 || ar > cnt_ || ar >= capacity)
        return placed;
    const QString code = choice.entry.left(4) + QLatin1String(choice.isPart ? "  P" : "  I");
    const int target = mergeTarget(ar, code);
    placed.merged = target >= 0;
    placed.row = placed.merged ? target : ar;

    ItemLine& line = lines_[std::size_t(placed.row)];
    line[ItemCell::ip_code] = code;
    line[ItemCell::description] = choice.entry.mid(9, 64);
    line[ItemCell::unit_price] = choice.unitCost;
    if (placed.merged) {
        line[ItemCell::qty] =
            qtyText(double(qtyOf(line[ItemCell::qty])) + leadingValue(choice.qty));
    } else {
        line[ItemCell::qty] = qtyText(leadingValue(choice.qty));
        line[ItemCell::delivery_days] = plainText(choice.deliveryDays);
    }
    line[ItemCell::total_price] =
        lineTotalPrice(line[ItemCell::unit_price], line[ItemCell::qty]);

    if (placed.merged && multiply()) {
        const auto qty = float(qtyOf(line[ItemCell::qty]));
        for (int cell : {ItemCell::asm_hours, ItemCell::eng_hours, ItemCell::test_hours}) {
            QString& hours = line[std::size_t(cell)];
            hours = hoursText(hoursOf(hours) * qty);
        }
    } else {
        line[ItemCell::asm_hours] = choice.asmHours;
        line[ItemCell::eng_hours] = choice.engHours;
        line[ItemCell::test_hours] = choice.testHours;
    }
    line[ItemCell::ip_cost] = lineCost(line, rates, markup);
    refigure(placed.row);

    placed.appended = placed.row == cnt_;
    if (placed.appended)
        ++cnt_;
    return placed;
}

void ItemLines::recomputeCosts(const BizSettings& rates, float markup) {
    for (int k = 0; k < cnt_; ++k) {
        LineFigures& figures = figures_[std::size_t(k)];
        QString& cost = lines_[std::size_t(k)][ItemCell::ip_cost];
        cost = lineCost(figures, rates, markup);
        figures.cost = costFigure(cost);
    }
}

ItemTotals ItemLines::totals() const {
    return itemTotals(std::span<const LineFigures>(figures_.data(), std::size_t(cnt_)));
}

int ItemLines::scrollMaximumForLoaded(int count) {
    return count >= 6 ? std::min(count - 5, scrollLimit) : 0;
}

std::optional<int> ItemLines::scrollMaximumAfterAppend(int count) {
    if (count >= 6 && count < capacity - 1)
        return count - 5;
    return std::nullopt;
}

void ItemLines::save(RecordSet& partsList, RecordSet& items, int area, qint64 host,
                     const SavedItem& item) const {
    using namespace PartsList;
    Database& db = partsList.database();
    const TableDef& def = partsList.table();
    const QByteArray table = quotedName(def.name);
    if (&items.database() != &db)
        throw std::logic_error("the item's lines and its row must be saved in one database");
    Transaction transaction(db);

    Statement remove(db, "DELETE FROM " + table + " WHERE " +
                             quotedName(def.columns[host_item_no].name) + " = ?1");
    sqlite3_bind_int64(remove.get(), 1, host);
    remove.run();

    Statement insert(db, "INSERT INTO " + table + " (" +
                             columnList(def, {host_item_no, part_flag, ip_no, qty, unit_price,
                                              total_price, asm_hours, eng_hours, test_hours,
                                              ip_cost, delivery_days}) +
                             ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
    sqlite3_stmt* stmt = insert.get();
    for (const ItemLine& line : inUse()) {
        const SavedLine saved = savedLine(line);
        sqlite3_bind_int64(stmt, 1, host);
        sqlite3_bind_int(stmt, 2, saved.part_flag ? 1 : 0);
        sqlite3_bind_int64(stmt, 3, saved.ip_no);
        sqlite3_bind_int64(stmt, 4, saved.qty);
        sqlite3_bind_int64(stmt, 5, saved.unit_price.raw());
        sqlite3_bind_int64(stmt, 6, saved.total_price.raw());
        sqlite3_bind_double(stmt, 7, double(saved.asm_hours));
        sqlite3_bind_double(stmt, 8, double(saved.eng_hours));
        sqlite3_bind_double(stmt, 9, double(saved.test_hours));
        sqlite3_bind_int64(stmt, 10, saved.ip_cost.raw());
        sqlite3_bind_double(stmt, 11, double(saved.delivery_days));
        insert.run();
    }

    if (area < 0 || area >= items.recordCount())
        items.database().fail(QStringLiteral("the item's row (position %1) is missing").arg(area));
    items.moveFirst();
    items.move(area);
    items.edit();
    items.setField(AssembledItems::total_costs, item.total_costs);
    items.setField(AssembledItems::total_labour, item.total_labour);
    items.setField(AssembledItems::markup, item.markup);
    items.setField(AssembledItems::confirmed, item.confirmed);
    items.setField(AssembledItems::max_delivery, item.max_delivery);
    items.setField(AssembledItems::item_class, item.item_class);
    items.update();
    transaction.commit();
    partsList.requery();
}
