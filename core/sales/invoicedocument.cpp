#include "core/sales/invoicedocument.h"

#include "core/business/bizsettings.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemcosting.h"
#include "core/sales/payments.h"
#include "core/sales/salestables.h"

QStringList InvoiceDocument::headings() {
    return {QStringLiteral("Line"),       QStringLiteral("Number"), QStringLiteral("Kind"),
            QStringLiteral("Description"), QStringLiteral("Unit Price"), QStringLiteral("Qty"),
            QStringLiteral("Total")};
}

namespace invoicedocument {

namespace {

// A date box shows "n/a" or "N/A" until the invoice is confirmed.
QString dateOrNone(const QString& box) {
    return box.trimmed().compare(QLatin1String("n/a"), Qt::CaseInsensitive) == 0
               ? QStringLiteral("not yet")
               : box.trimmed();
}

void addLine(QStringList& lines, const QString& text) {
    if (!text.trimmed().isEmpty())
        lines << text.trimmed();
}

} // namespace

std::optional<Customer> findCustomer(const RecordSet& customers, qint64 custNo) {
    RecordSet table(customers.database().path(), customers.table());
    const std::vector<int> found = table.findAll(Customers::cust_no, custNo);
    if (found.empty())
        return std::nullopt;
    table.moveFirst();
    table.move(found.front());
    Customer customer;
    customer.name = (table.field(Customers::first_name).toText().trimmed() + QLatin1Char(' ') +
                     table.field(Customers::last_name).toText().trimmed())
                        .trimmed();
    customer.address = table.field(Customers::address).toText();
    customer.telephone = table.field(Customers::telephone).toText();
    return customer;
}

InvoiceDocument make(const invoicerules::InvoiceBoxes& boxes, std::span<const InvoiceLine> lines,
                     const BizSettings& settings, const QString& fallbackName,
                     const std::optional<Customer>& customer) {
    using namespace itemcosting;
    InvoiceDocument doc;
    const QString number = boxes.invoiceNo.trimmed();
    doc.title = QStringLiteral("Invoice ") + number;
    doc.fileName = QStringLiteral("invoice-") + number + QStringLiteral(".pdf");

    doc.businessName = settings.company.trimmed().isEmpty() ? fallbackName.trimmed()
                                                            : settings.company.trimmed();
    addLine(doc.businessLines, settings.ceo_name);
    addLine(doc.businessLines, settings.biz_type);

    doc.customerLines << QStringLiteral("Customer ") + boxes.custNo.trimmed();
    if (customer) {
        addLine(doc.customerLines, customer->name);
        addLine(doc.customerLines, customer->address);
        addLine(doc.customerLines, customer->telephone);
    }

    doc.facts = {{QStringLiteral("Invoice number"), number},
                 {QStringLiteral("Updated"), boxes.updateDate.trimmed()},
                 {QStringLiteral("Confirmed"), dateOrNone(boxes.confirmedDate)},
                 {QStringLiteral("Delivery"), dateOrNone(boxes.deliveryDate)},
                 {QStringLiteral("Salesperson"), boxes.salesperson.trimmed()}};

    doc.rows.reserve(lines.size());
    Money subtotal;
    int place = 0;
    for (const InvoiceLine& line : lines) {
        const QString& code = line[SaleCell::ip_code];
        doc.rows.push_back({QString::number(++place), code.left(4),
                            isPartCode(code) ? QStringLiteral("Part") : QStringLiteral("Item"),
                            line[SaleCell::description].trimmed(), line[SaleCell::unit_price],
                            line[SaleCell::qty], line[SaleCell::total_price]});
        subtotal += amountOf(line[SaleCell::total_price]);
    }

    const Money owed = amountOf(boxes.owed);
    const Money paid = amountOf(boxes.paid);
    doc.totals = {{QStringLiteral("Subtotal"), amountText(subtotal)},
                  {QStringLiteral("Tax at ") + boxes.tax.trimmed(), amountText(owed - subtotal)},
                  {QStringLiteral("Total owed"), amountText(owed)},
                  {QStringLiteral("Amount paid"), amountText(paid)},
                  {QStringLiteral("Balance due"), amountText(payments::balanceDue(owed, paid))}};
    if (!boxes.confirmed)
        doc.draftMark = draftText;
    return doc;
}

} // namespace invoicedocument
