#pragma once

#include "core/common/money.h"

#include <QString>
#include <QtGlobal>

#include <vector>

class ItemLines;
struct sqlite3_stmt;
class RecordSet;
struct BizSettings;

// An item keeps each line's unit price as it was when the line was picked. A line is out of
// date when that price, to the cent the builder shows ("$0.00"), differs from its component's
// price now: a part's unit cost, an item's total costs. Comparing the shown cents means that
// rounding below a cent never marks a line. A component that neither table holds has no price
// now and never marks its line.
namespace staleprices {

// The prices now of the components an item's lines name, by part or item and number, as
// "$0.00".
class CurrentPrices {
public:
    void clear();
    void set(bool isPart, qint64 number, Money price);
    // Nothing for a component whose price is not known.
    const QString* of(bool isPart, qint64 number) const;

private:
    // A code holds four characters, so every number a line's code names lies in -999..9999,
    // looked up by index, as an item of 3,000 lines asks for each of them while it opens. Other
    // numbers have no price here.
    static constexpr qint64 lowest = -999;
    static constexpr qint64 highest = 9999;
    static bool inRange(qint64 number) { return number >= lowest && number <= highest; }
    static std::size_t slot(bool isPart, qint64 number) {
        return std::size_t((number - lowest) * 2 + (isPart ? 1 : 0));
    }
    std::vector<int> slots_; // 1 + the entry in prices_; 0: no price
    std::vector<QString> prices_;
};
// Notes the price in column i of a row of "Parts" or "Assembled Items"; a price never written
// is no price.
void notePrice(CurrentPrices& prices, bool isPart, qint64 number, sqlite3_stmt* stmt, int i);

// Which lines of an item are out of date, found again whenever its lines change.
class StaleLines {
public:
    void refresh(const ItemLines& lines, const CurrentPrices& prices);
    // Line k only (in use), after it was written; a line appended is taken in.
    void refreshLine(const ItemLines& lines, const CurrentPrices& prices, int k);
    int count() const { return count_; }
    bool isStale(int k) const { return !currentOf(k).isEmpty(); }
    // Line k's price now, "$0.00", when the line is out of date; empty otherwise.
    const QString& currentOf(int k) const;

private:
    void note(const ItemLines& lines, const CurrentPrices& prices, int k);
    std::vector<QString> current_;
    int count_ = 0;
};

// "Current price: $250.00 (stored $212.00)"
QString tipText(const QString& current, const QString& stored);
// "3 prices out of date", the same wording for any count.
QString countText(int count);

// Every out-of-date line takes its price now; its total price and cost are computed again, as
// a mark-up entry does, with the rates and mark-up factor given.
void update(ItemLines& lines, const StaleLines& stale, const BizSettings& rates, float markup);

// An item of "Assembled Items" with out-of-date lines.
struct StaleItem {
    int position = 0; // of its row in "Assembled Items"
    qint64 number = 0;
    QString description;
    int staleLines = 0;
    bool confirmed = false;
};
// Every such item, in table order. Each table is read with one query; as in the builder, the
// last row of a number gives its price.
std::vector<StaleItem> staleItems(RecordSet& partsList, RecordSet& parts, RecordSet& items);

} // namespace staleprices
