#pragma once

#include "core/common/money.h"
#include "core/sales/invoicerules.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <span>
#include <vector>

class RecordSet;

// The lines of the invoice being edited: a fixed table of 3000 lines of which the first count()
// are in use. Line count() is the entry row through which a line is appended.
class InvoiceLines {
public:
    static constexpr int capacity = 3000;
    static constexpr int visibleRows = 8;

    InvoiceLines();

    int count() const { return cnt_; }
    // Line k; a row past the end of the table (the scroll range can show one) reads blank.
    const InvoiceLine& line(int k) const;
    std::span<const InvoiceLine> inUse() const { return {lines_.data(), std::size_t(cnt_)}; }

    // Every cell blank, no line in use.
    void clear();

    // Reads the invoice's rows of "items_per_sale" in table order. Returns false when the invoice
    // has more rows than the table holds; the first `capacity` are loaded then.
    bool load(RecordSet& itemsPerSale, qint64 invoiceNo);

    // A choice handed back by the picker, its fields as the picker shows them.
    struct Choice {
        bool isPart = true;
        QString entry;     // number (four characters), five blanks, description
        QString unitPrice; // "$0.00"
        QString qty;       // a number of at least 1
        float deliveryDays = 0;
    };
    struct Placed {
        int row = -1; // the line written: `row` or the line the choice merged into
        bool merged = false;
        bool appended = false; // the entry row was written: the count grew by one
        bool changed = false;  // a line differs from what it was
    };
    // Writes the choice into line `row` (0 to count()), or adds its quantity to another line
    // that already holds the same part or item.
    Placed place(int row, const Choice& choice);

    // Removes line k (0 to count() - 1): the lines below move up and the last line in use is
    // blank again. False when k is no line in use.
    bool remove(int k);

    // A part or item as an invoice sells it, whichever way it reaches the invoice.
    struct Sold {
        bool isPart = true;
        qint64 number = 0;
        QString description;
        Money price;          // a part's selling price, an item's total costs
        QString deliveryDays; // a part is delivered in 1 day; an item in its whole days
    };
    // The record a sale started in the data finder sells, the one the finder stands on; empty
    // when the record set stands on no row.
    static std::optional<Sold> soldRecord(const RecordSet& rows, bool isPart);
    // The part or item of that number in its table (the record set's table, read by a record
    // set of its own, so that the given one keeps its current row); empty when there is none.
    static std::optional<Sold> listedRecord(const RecordSet& rows, bool isPart, qint64 number);
    // True when the number fits the four digits of a line's code.
    static bool codeFits(qint64 number);
    // Appends the sold part or item with the quantity ("00"); false when the table is full.
    bool appendSale(const Sold& sold, const QString& qty);

    // Scroll range for a freshly loaded invoice, and the new maximum after an append (empty when
    // the range stays).
    static int scrollMaximumForLoaded(int count);
    static std::optional<int> scrollMaximumAfterAppend(int count);

    // In one transaction on cust.fdb: deletes the invoice's rows of "items_per_sale", writes the
    // lines in use in grid order, and adds the invoice's row to "sales_invoices" (isNew) or
    // edits the row at position `rec`, its amount paid the sum of its payments. On a DbError
    // nothing has changed.
    void save(RecordSet& itemsPerSale, RecordSet& invoices,
              const invoicerules::SavedInvoice& invoice, bool isNew, int rec) const;

private:
    std::vector<InvoiceLine> lines_;
    int cnt_ = 0;
};
