#include "core/items/itemlines.h"

#include "core/business/bizsettings.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/common/tabledef.h"
#include "core/common/textnum.h"
#include "core/items/itemtables.h"
#include "core/items/staleprices.h"

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <initializer_list>
#include <stdexcept>
#include <unordered_map>
#include <vector>

using namespace itemcosting;

// "parts list" holds every item's lines, so an item's lines are read with one query and removed
// with one statement instead of a walk through the whole table; reading goes straight to the
// engine, as the lines are only read here.

namespace {

// Number -> description and price of the components a load needs, filled by one pass over their
// table. A code holds four characters, so a wanted number lies in -999..9999 and indexes a table.
class Descriptions {
public:
    explicit Descriptions(int priceColumn)
        : priceColumn_(priceColumn), names_(std::size_t(highest - lowest + 1)) {}
    void want(qint64 number) {
        if (inRange(number))
            names_[index(number)].wanted = true;
    }
    // The description found for a wanted number, if any.
    std::optional<QString> of(qint64 number) const {
        return inRange(number) ? names_[index(number)].name : std::nullopt;
    }

    // With `prices`, the prices of the wanted numbers are noted there as they are read.
    void lookUp(RecordSet& table, staleprices::CurrentPrices* prices, bool isPart) {
        if (std::none_of(names_.begin(), names_.end(), [](const Slot& s) { return s.wanted; }))
            return;
        const TableDef& def = table.table();
        // Rows whose number no code can hold are left to the engine.
        Statement rows(table.database(), "SELECT " + columnList(def, {0, 1, priceColumn_}) +
                                             " FROM " + quotedName(def.name) + " WHERE " +
                                             quotedName(def.columns[0].name) + " BETWEEN " +
                                             QByteArray::number(lowest) + " AND " +
                                             QByteArray::number(highest) + " ORDER BY rowid");
        sqlite3_stmt* stmt = rows.get();
        while (rows.step()) {
            const qint64 number = sqlite3_column_int64(stmt, 0);
            if (!inRange(number))
                continue;
            Slot& slot = names_[index(number)];
            if (slot.wanted) {
                slot.name = textColumn(stmt, 1); // the last matching row wins
                if (prices)
                    staleprices::notePrice(*prices, isPart, number, stmt, 2);
            }
        }
    }

private:
    static constexpr qint64 lowest = -999;
    static constexpr qint64 highest = 9999;
    struct Slot {
        bool wanted = false;
        std::optional<QString> name;
    };
    static bool inRange(qint64 number) { return number >= lowest && number <= highest; }
    static std::size_t index(qint64 number) { return std::size_t(number - lowest); }
    int priceColumn_;
    std::vector<Slot> names_;
};

// Hours and delivery times repeat from line to line: each distinct value is written, and read
// back, once per load.
class SingleCells {
public:
    struct Hours {
        QString text;
        HoursFigure figure;
    };
    struct Days {
        QString text;
        float figure = 0;
    };
    const Hours& hours(float value) {
        auto [it, added] = hours_.try_emplace(std::bit_cast<quint32>(value));
        if (added) {
            it->second.text = hoursText(value);
            it->second.figure = hoursFigure(it->second.text);
        }
        return it->second;
    }
    const Days& days(float value) {
        auto [it, added] = days_.try_emplace(std::bit_cast<quint32>(value));
        if (added) {
            it->second.text = format(value, QStringLiteral("0.0000"));
            it->second.figure = deliveryOf(it->second.text);
        }
        return it->second;
    }

private:
    std::unordered_map<quint32, Hours> hours_;
    std::unordered_map<quint32, Days> days_;
};

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

bool ItemLines::load(RecordSet& partsList, RecordSet& parts, RecordSet& items, qint64 host,
                     staleprices::CurrentPrices* prices) {
    using namespace PartsList;
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
    SingleCells singles;
    while (rows.step()) {
        if (cnt_ == capacity) {
            complete = false;
            break;
        }
        ItemLine& line = lines_[std::size_t(cnt_)];
        LineFigures& figures = figures_[std::size_t(cnt_)];
        ++cnt_;
        line[ItemCell::ip_code] =
            codeText(sqlite3_column_int64(stmt, 1), sqlite3_column_int64(stmt, 0) != 0);
        line[ItemCell::qty] = format(qint64(sqlite3_column_int64(stmt, 2)), QStringLiteral("00"));
        line[ItemCell::unit_price] = format(money(3), moneyPattern);
        line[ItemCell::total_price] = format(money(4), moneyPattern);
        line[ItemCell::ip_cost] = format(money(8), moneyPattern);
        // The amounts as their texts read back: cents, as shown.
        setTotalPrice(figures, line[ItemCell::total_price]);
        setCost(figures, line[ItemCell::ip_cost]);

        const SingleCells::Hours& assembly = singles.hours(single(5));
        const SingleCells::Hours& engineering = singles.hours(single(6));
        const SingleCells::Hours& testing = singles.hours(single(7));
        line[ItemCell::asm_hours] = assembly.text;
        line[ItemCell::eng_hours] = engineering.text;
        line[ItemCell::test_hours] = testing.text;
        figures.asmHours = assembly.figure.hours;
        figures.engHours = engineering.figure.hours;
        figures.testHours = testing.figure.hours;
        figures.hours =
            assembly.figure.currency + engineering.figure.currency + testing.figure.currency;

        const SingleCells::Days& delivery = singles.days(single(9));
        line[ItemCell::delivery_days] = delivery.text;
        figures.delivery = delivery.figure;
    }

    Descriptions partNames(Parts::unit_cost);
    Descriptions itemNames(AssembledItems::total_costs);
    for (const ItemLine& line : inUse()) {
        const QString& code = line[ItemCell::ip_code];
        (isPartCode(code) ? partNames : itemNames).want(codeNumber(code));
    }
    if (prices)
        prices->clear();
    partNames.lookUp(parts, prices, true);
    itemNames.lookUp(items, prices, false);
    for (int k = 0; k < cnt_; ++k) {
        ItemLine& line = lines_[std::size_t(k)];
        const QString& code = line[ItemCell::ip_code];
        const Descriptions& names = isPartCode(code) ? partNames : itemNames;
        if (const std::optional<QString> name = names.of(codeNumber(code)))
            line[ItemCell::description] = *name;
    }
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
                                   const std::function<bool()>& multiply, const BizSettings& rates,
                                   float markup) {
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
    line[ItemCell::total_price] = lineTotalPrice(line[ItemCell::unit_price], line[ItemCell::qty]);

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
    const CostFactors factors(rates, markup);
    for (int k = 0; k < cnt_; ++k) {
        lines_[std::size_t(k)][ItemCell::ip_cost] = recost(figures_[std::size_t(k)], factors);
    }
}

void ItemLines::setUnitPrice(int k, const QString& unitPrice, const CostFactors& factors) {
    ItemLine& line = lines_[std::size_t(k)];
    line[ItemCell::unit_price] = unitPrice;
    line[ItemCell::total_price] = lineTotalPrice(unitPrice, line[ItemCell::qty]);
    LineFigures& figures = figures_[std::size_t(k)];
    setTotalPrice(figures, line[ItemCell::total_price]);
    line[ItemCell::ip_cost] = recost(figures, factors);
}

bool ItemLines::remove(int k) {
    if (k < 0 || k >= cnt_)
        return false;
    std::rotate(lines_.begin() + k, lines_.begin() + k + 1, lines_.begin() + cnt_);
    std::rotate(figures_.begin() + k, figures_.begin() + k + 1, figures_.begin() + cnt_);
    --cnt_;
    lines_[std::size_t(cnt_)].fill(blankCell());
    figures_[std::size_t(cnt_)] = LineFigures();
    return true;
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
    if (&items.database() != &partsList.database())
        throw std::logic_error("the item's lines and its row must be saved in one database");
    Transaction transaction(partsList.database());
    partsList.removeWhere(host_item_no, host);
    for (int k = 0; k < cnt_; ++k) {
        const SavedLine saved = savedLine(lines_[std::size_t(k)], figures_[std::size_t(k)]);
        partsList.addNew();
        partsList.setField(host_item_no, host);
        partsList.setField(part_flag, saved.part_flag);
        partsList.setField(ip_no, saved.ip_no);
        partsList.setField(qty, saved.qty);
        partsList.setField(unit_price, saved.unit_price);
        partsList.setField(total_price, saved.total_price);
        partsList.setField(asm_hours, saved.asm_hours);
        partsList.setField(eng_hours, saved.eng_hours);
        partsList.setField(test_hours, saved.test_hours);
        partsList.setField(ip_cost, saved.ip_cost);
        partsList.setField(delivery_days, saved.delivery_days);
        partsList.update();
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
}
