#include "core/sales/invoicerules.h"

#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemcosting.h"
#include "core/sales/salestables.h"

#include <limits>

using namespace itemcosting;

namespace invoicerules {

qint64 nextInvoiceNumber(RecordSet& invoices) {
    double next = 0;
    if (invoices.recordCount() > 0) {
        for (invoices.moveFirst(); !invoices.eof(); invoices.moveNext()) {
            const double number = invoices.field(SalesInvoices::invoice_no).toDouble();
            if (number >= next)
                next = number + 1;
        }
    }
    // Anything past the last usable number is refused alike; keep it in range of the type.
    return next > double(highestInvoiceNumber) ? highestInvoiceNumber + 1 : qint64(next);
}

QString numbersExhaustedMessage() {
    return QStringLiteral("No new invoice can be started: invoice numbers cannot go past %1.")
        .arg(highestInvoiceNumber);
}

QString taxText(float percent) {
    return format(percent / 100.0f, QStringLiteral("0.000 %"));
}

QString taxFieldAtRest(const QString& text) {
    QString repaired = text;
    if (!repaired.endsWith(QLatin1Char('%')))
        repaired += QLatin1Char('%');
    if (repaired.size() == 1 || !isNumber(repaired.left(repaired.size() - 1)))
        return QStringLiteral("0.000%");
    return repaired;
}

float taxRate(const QString& taxField) {
    return toSingle(taxField.left(taxField.size() - 1)).value_or(0.0f);
}

InvoiceTotal invoiceTotal(std::span<const InvoiceLine> lines, const QString& taxField) {
    float sum = 0;
    for (const InvoiceLine& line : lines)
        sum += amountSingle(line[SaleCell::total_price]);
    const float rate = taxRate(taxField);
    InvoiceTotal total;
    total.owed = format(sum * (rate / 100.0f + 1.0f), QStringLiteral("$0.00"));
    total.tip = format(sum, QStringLiteral("$0.00")) + QLatin1String(" + ") + taxField +
                QLatin1String(" = ") + total.owed;
    return total;
}

qint16 raisedMaxDelivery(qint16 current, std::span<const InvoiceLine> lines) {
    for (const InvoiceLine& line : lines) {
        const double days = leadingValue(line[SaleCell::delivery_days]);
        if (days > double(current))
            current = toInt16(days).value_or(std::numeric_limits<qint16>::max());
    }
    return current;
}

QDate deliveryDate(const QDate& today, qint16 maxDelivery) {
    return today.addDays(maxDelivery);
}

bool deliveryOverdue(bool confirmed, const QString& deliveredField,
                     const QString& deliveryDateField, const QDate& today) {
    if (!confirmed || deliveredField != QLatin1String("No"))
        return false;
    const std::optional<QDate> promised = toDate(deliveryDateField);
    return promised && today > *promised;
}

QString saleQuantity(const QString& answer) {
    const std::optional<double> value = toDouble(answer);
    // Below one there is nothing to sell; a quantity past a billion is a slip of the keyboard.
    if (!value || wholePart(*value) < 1 || *value >= 1e9)
        return QStringLiteral("01");
    return format(wholePart(*value), QStringLiteral("00"));
}

SavedInvoice savedInvoice(const InvoiceBoxes& boxes) {
    SavedInvoice saved;
    saved.cust_no = wholeNumberOf(boxes.custNo);
    saved.invoice_no = wholeNumberOf(boxes.invoiceNo);
    saved.update_date = toDate(boxes.updateDate).value_or(QDate());
    if (boxes.confirmed) {
        saved.confirmed_date = toDate(boxes.confirmedDate).value_or(QDate());
        saved.delivery_date = toDate(boxes.deliveryDate).value_or(QDate());
    }
    saved.amount_paid = amountOf(boxes.paid);
    saved.amount_owed = amountOf(boxes.owed);
    saved.tax_percent = taxRate(boxes.tax);
    saved.delivered = boxes.delivered == QLatin1String("Yes");
    saved.salesperson = boxes.salesperson;
    saved.confirmed = boxes.confirmed;
    return saved;
}

SavedSaleLine savedSaleLine(const InvoiceLine& line) {
    const QString& code = line[SaleCell::ip_code];
    SavedSaleLine saved;
    saved.part_flag = code.endsWith(QLatin1Char('P'));
    saved.ip_no = wholeNumberOf(code.left(4));
    saved.delivery_days = deliveryOf(line[SaleCell::delivery_days]);
    saved.qty = qtyOf(line[SaleCell::qty]);
    saved.unit_price = amountOf(line[SaleCell::unit_price]);
    saved.description = line[SaleCell::description];
    return saved;
}

} // namespace invoicerules
