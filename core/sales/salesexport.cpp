#include "core/sales/salesexport.h"

#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/sales/salestables.h"

namespace salesexport {

csv::Table invoiceList(RecordSet& invoices, const std::vector<int>& positions,
                       const std::vector<invoicelist::CustomerTag>& tags, bool allCustomers) {
    using namespace SalesInvoices;
    csv::Table table;
    table.headers = QStringList{QStringLiteral("Invoice #"), QStringLiteral("Date"),
                                QStringLiteral("Amount Owed"), QStringLiteral("Amount Paid")};
    if (allCustomers)
        table.headers << QStringLiteral("Customer");
    const invoicelist::CustomerTagIndex tagIndex(tags);
    table.rows.reserve(positions.size());
    for (const int position : positions) {
        invoices.moveFirst();
        invoices.move(position);
        if (invoices.eof())
            continue;
        QStringList row{
            format(invoices.field(invoice_no).toInt64(), QStringLiteral("0000")),
            formatDate(invoices.field(update_date).toDate(), QStringLiteral("dd/mm/yyyy")),
            format(invoices.field(amount_owed).toMoney(), QStringLiteral("$0.00")),
            format(invoices.field(amount_paid).toMoney(), QStringLiteral("$0.00"))};
        if (allCustomers) {
            const int tag = tagIndex.find(invoices.field(cust_no).toInt64());
            row << (tag >= 0 ? tags[size_t(tag)].text : QString());
        }
        table.rows.push_back(row);
    }
    if (invoices.recordCount() > 0)
        invoices.moveFirst();
    return table;
}

csv::Table invoiceLines(std::span<const InvoiceLine> lines, const QStringList& captions) {
    csv::Table table;
    for (const QString& caption : captions)
        table.headers << caption.trimmed();
    for (const InvoiceLine& line : lines) {
        QStringList row;
        for (int c = 0; c <= SaleCell::total_price; ++c)
            row << line[size_t(c)].trimmed();
        table.rows.push_back(row);
    }
    return table;
}

} // namespace salesexport
