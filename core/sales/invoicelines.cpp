#include "core/sales/invoicelines.h"

#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemcosting.h"
#include "core/items/itemtables.h"
#include "core/sales/payments.h"
#include "core/sales/salestables.h"

#include <algorithm>

using namespace itemcosting;
using invoicerules::SavedInvoice;

namespace {

InvoiceLine blankLine() {
    InvoiceLine line;
    line.fill(blankCell());
    return line;
}

InvoiceLine lineOfRow(const RecordSet& row) {
    using namespace ItemsPerSale;
    const Money price = row.field(unit_price).toMoney();
    const qint64 quantity = row.field(qty).toInt64();
    InvoiceLine line;
    line[SaleCell::ip_code] = codeText(row.field(ip_no).toInt64(), row.field(part_flag).toBool());
    line[SaleCell::description] = row.field(description).toText();
    line[SaleCell::unit_price] = format(price, QStringLiteral("$0.00"));
    line[SaleCell::qty] = format(quantity, QStringLiteral("00"));
    line[SaleCell::total_price] =
        invoicerules::lineTotalText(line[SaleCell::unit_price], line[SaleCell::qty]);
    line[SaleCell::delivery_days] = plainText(row.field(delivery_days).toFloat());
    return line;
}

} // namespace

InvoiceLines::InvoiceLines() : lines_(capacity, blankLine()) {}

const InvoiceLine& InvoiceLines::line(int k) const {
    static const InvoiceLine outside = blankLine();
    if (k < 0 || k >= capacity)
        return outside;
    return lines_[std::size_t(k)];
}

void InvoiceLines::clear() {
    const InvoiceLine blank = blankLine();
    std::fill(lines_.begin(), lines_.end(), blank);
    cnt_ = 0;
}

bool InvoiceLines::load(RecordSet& itemsPerSale, qint64 invoiceNo) {
    clear();
    const std::vector<int> rows = itemsPerSale.findAll(ItemsPerSale::invoice_no, invoiceNo);
    for (const int position : rows) {
        if (cnt_ == capacity)
            return false;
        itemsPerSale.moveFirst();
        itemsPerSale.move(position);
        lines_[std::size_t(cnt_++)] = lineOfRow(itemsPerSale);
    }
    return true;
}

InvoiceLines::Placed InvoiceLines::place(int row, const Choice& choice) {
    Placed placed;
    if (row < 0 || row > cnt_ || row >= capacity)
        return placed;
    const QString code = choice.entry.left(4) + QLatin1String(choice.isPart ? "  P" : "  I");
    const int last = std::min(cnt_, capacity - 1);
    for (int k = 0; k <= last; ++k) {
        if (k != row && lines_[std::size_t(k)][SaleCell::ip_code] == code) {
            placed.merged = true;
            row = k;
            break;
        }
    }
    placed.row = row;

    InvoiceLine& line = lines_[std::size_t(row)];
    const InvoiceLine before = line;
    line[SaleCell::ip_code] = code;
    line[SaleCell::description] = choice.entry.mid(9, 64);
    line[SaleCell::unit_price] = choice.unitPrice;
    if (placed.merged) {
        line[SaleCell::qty] =
            qtyText(leadingValue(choice.qty) + double(qtyOf(line[SaleCell::qty])));
    } else {
        line[SaleCell::qty] = qtyText(leadingValue(choice.qty));
        line[SaleCell::delivery_days] = plainText(choice.deliveryDays);
    }
    line[SaleCell::total_price] =
        invoicerules::lineTotalText(line[SaleCell::unit_price], line[SaleCell::qty]);

    placed.appended = row == cnt_;
    placed.changed = placed.appended || line != before;
    if (placed.appended)
        ++cnt_;
    return placed;
}

std::optional<InvoiceLines::Sold> InvoiceLines::soldRecord(const RecordSet& rows, bool isPart) {
    if (rows.absolutePosition() < 0)
        return std::nullopt;
    Sold sold;
    sold.isPart = isPart;
    if (isPart) {
        sold.number = rows.field(Parts::part_no).toInt64();
        sold.description = rows.field(Parts::description).toText();
        sold.price = rows.field(Parts::unit_price).toMoney();
        sold.deliveryDays = QStringLiteral("1");
    } else {
        sold.number = rows.field(AssembledItems::item_no).toInt64();
        sold.description = rows.field(AssembledItems::item_desc).toText();
        sold.price = rows.field(AssembledItems::total_costs).toMoney();
        // The item list shows the delivery time in whole days, and that is what is promised.
        sold.deliveryDays =
            format(rows.field(AssembledItems::max_delivery).toMoney(), QStringLiteral("0"));
    }
    return sold;
}

std::optional<InvoiceLines::Sold> InvoiceLines::listedRecord(const RecordSet& rows, bool isPart,
                                                             qint64 number) {
    // A record set of its own, so that the list's current row stays where the user left it.
    RecordSet table(rows.database().path(), rows.table());
    const int column = isPart ? int(Parts::part_no) : int(AssembledItems::item_no);
    const std::vector<int> found = table.findAll(column, number);
    if (found.empty())
        return std::nullopt;
    table.moveFirst();
    table.move(found.front());
    return soldRecord(table, isPart);
}

bool InvoiceLines::remove(int k) {
    if (k < 0 || k >= cnt_)
        return false;
    const auto first = lines_.begin() + k;
    std::rotate(first, first + 1, lines_.begin() + cnt_);
    --cnt_;
    lines_[std::size_t(cnt_)] = blankLine();
    return true;
}

bool InvoiceLines::codeFits(qint64 number) {
    return number >= 0 && number <= 9999;
}

bool InvoiceLines::appendSale(const Sold& sold, const QString& qty) {
    if (cnt_ >= capacity)
        return false;
    InvoiceLine& line = lines_[std::size_t(cnt_)];
    line[SaleCell::ip_code] = codeText(sold.number, sold.isPart);
    line[SaleCell::description] = sold.description;
    line[SaleCell::unit_price] = format(sold.price, QStringLiteral("$0.00"));
    line[SaleCell::qty] = qty;
    line[SaleCell::total_price] = invoicerules::lineTotalText(line[SaleCell::unit_price], qty);
    line[SaleCell::delivery_days] = sold.deliveryDays;
    ++cnt_;
    return true;
}

int InvoiceLines::scrollMaximumForLoaded(int count) {
    return count + 1 >= visibleRows ? std::min(count, capacity - 2) - 5 : 0;
}

std::optional<int> InvoiceLines::scrollMaximumAfterAppend(int count) {
    if (count + 1 >= visibleRows && count < capacity - 1)
        return count - 5;
    return std::nullopt;
}

void InvoiceLines::save(RecordSet& itemsPerSale, RecordSet& invoices, const SavedInvoice& invoice,
                        bool isNew, int rec) const {
    Database& db = itemsPerSale.database();
    if (&invoices.database() != &db)
        db.fail(QStringLiteral("an invoice and its lines must be kept in the same file"));
    Transaction transaction(db);

    itemsPerSale.cancelUpdate(); // an unfinished change on the shared connection is dropped
    itemsPerSale.removeWhere(ItemsPerSale::invoice_no, invoice.invoice_no);
    for (const InvoiceLine& line : inUse()) {
        using namespace ItemsPerSale;
        const invoicerules::SavedSaleLine saved = invoicerules::savedSaleLine(line);
        itemsPerSale.addNew();
        itemsPerSale.setField(invoice_no, invoice.invoice_no);
        itemsPerSale.setField(part_flag, saved.part_flag);
        itemsPerSale.setField(ip_no, saved.ip_no);
        itemsPerSale.setField(delivery_days, saved.delivery_days);
        itemsPerSale.setField(qty, saved.qty);
        itemsPerSale.setField(unit_price, saved.unit_price);
        itemsPerSale.setField(description, saved.description);
        itemsPerSale.update();
    }

    if (isNew) {
        invoices.addNew();
    } else {
        if (rec < 0 || rec >= invoices.recordCount())
            db.fail(QStringLiteral("the invoice's row (position %1) is missing").arg(rec));
        invoices.moveFirst();
        invoices.move(rec);
        invoices.edit();
    }
    using namespace SalesInvoices;
    invoices.setField(cust_no, invoice.cust_no);
    invoices.setField(invoice_no, invoice.invoice_no);
    invoices.setField(update_date, invoice.update_date);
    if (invoice.confirmed) {
        invoices.setField(confirmed_date, invoice.confirmed_date);
        invoices.setField(delivery_date, invoice.delivery_date);
    }
    // What was paid is what the payments add up to, whatever the window last showed.
    invoices.setField(amount_paid, payments::paidTotal(db, invoice.invoice_no));
    invoices.setField(amount_owed, invoice.amount_owed);
    invoices.setField(tax_percent, invoice.tax_percent);
    invoices.setField(delivered, invoice.delivered);
    invoices.setField(salesperson, invoice.salesperson);
    invoices.setField(confirmed, invoice.confirmed);
    invoices.update();
    transaction.commit();
}
