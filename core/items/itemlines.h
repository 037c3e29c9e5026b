#pragma once

#include "core/items/itemcosting.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>
#include <vector>

class RecordSet;
struct BizSettings;
namespace staleprices {
class CurrentPrices;
}

// A choice handed back by the picker: its fields as the picker shows them.
struct PickedChoice {
    bool isPart = true;
    QString entry;    // number (four characters), five blanks, description
    QString unitCost; // "$0.00"
    QString qty;      // a number of at least 1
    QString asmHours; // "0.00 Hr", or the picker's initial "0.00"
    QString engHours;
    QString testHours;
    float deliveryDays = 0;
};

// The component lines of the item being built: a fixed table of 3000 lines of which the first
// count() are in use. Line count() is the entry row through which a line is appended.
class ItemLines {
public:
    static constexpr int capacity = 3000;
    static constexpr int visibleRows = 7;
    // The largest scroll value: the grid's last row then shows the table's last line.
    static constexpr int scrollLimit = capacity - visibleRows;

    ItemLines();

    int count() const { return cnt_; }
    const ItemLine& line(int k) const { return lines_[std::size_t(k)]; }
    std::span<const ItemLine> inUse() const { return {lines_.data(), std::size_t(cnt_)}; }

    // Every cell blank, no line in use.
    void clear();

    // Reads the item's rows of "parts list" in table order; each line's description comes from
    // "Parts" or "Assembled Items" by number, each table read at most once (the last row with
    // the number wins; none leaves the cell blank). Returns false when the item has more rows
    // than the table holds; the first `capacity` are loaded then. The record sets name the
    // tables and their open databases; they are not moved. With `prices`, the same reading
    // notes each component's price now (a part's unit cost, an item's total costs).
    bool load(RecordSet& partsList, RecordSet& parts, RecordSet& items, qint64 host,
              staleprices::CurrentPrices* prices = nullptr);

    // True when the choice is the host item itself.
    static bool isHost(const PickedChoice& choice, qint64 host);

    // The first line from 0 to count() (the entry row included), other than `ar`, whose code
    // is the given one; -1 when there is none.
    int mergeTarget(int ar, const QString& code) const;

    struct Placed {
        int row = -1; // the line written: `ar` or the line the choice merged into
        bool merged = false;
        bool appended = false; // the entry row was written: the count grew by one
    };
    // Writes the choice into line `ar` (0 to count()), or merges it into another line that holds
    // the same part or item. On a merge `multiply` is asked whether to multiply that line's
    // hours by its new quantity; otherwise the picker's hours are taken. The line's cost is
    // computed with the rates and mark-up factor given.
    Placed place(int ar, const PickedChoice& choice, const std::function<bool()>& multiply,
                 const BizSettings& rates, float markup);

    // Removes line k (0 to count() - 1): the lines below move up and the last line in use is
    // blank again; the totals follow. False when k is no line in use.
    bool remove(int k);

    // Every line's cost again, as after a new mark-up.
    void recomputeCosts(const BizSettings& rates, float markup);
    // Line k (in use) takes a new unit price ("$0.00"); its total price and cost follow.
    void setUnitPrice(int k, const QString& unitPrice, const itemcosting::CostFactors& factors);

    // Part count, total costs, longest delivery and total hours of the lines in use.
    itemcosting::ItemTotals totals() const;

    // Scroll range for a freshly loaded item, and the new maximum after an append (empty when
    // the maximum stays).
    static int scrollMaximumForLoaded(int count);
    static std::optional<int> scrollMaximumAfterAppend(int count);

    // In one transaction on the database of "parts list" (which also holds "Assembled Items"):
    // deletes the host's rows, writes the lines in use, and updates the item's row at position
    // `area`. On a DbError nothing has changed.
    void save(RecordSet& partsList, RecordSet& items, int area, qint64 host,
              const itemcosting::SavedItem& item) const;

private:
    // Line k's texts changed: read its figures again.
    void refigure(int k);

    std::vector<ItemLine> lines_;
    std::vector<itemcosting::LineFigures> figures_;
    int cnt_ = 0;
};
