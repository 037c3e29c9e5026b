#include "core/sales/invoicerules.h"

#include "core/common/exactamount.h"
#include "core/common/numberentry.h"
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

namespace {

// What the tax field takes: a rate from 0 to 100, with or without its "%".
numberentry::Wanted taxWanted() {
    return {QStringLiteral("the tax rate"), 0, 100, false, QString(), {QStringLiteral("%")}};
}

// A price as the grid shows it, "$12.50": the first character dropped, at most 60 more read.
Money priceOf(const QString& text) {
    return toMoney(text.mid(1, 60)).value_or(Money());
}

// A line's total, exact: an amount times a 64-bit quantity always fits 128 bits.
ExactAmount lineProduct(const QString& unitPrice, const QString& qty) {
    return ExactAmount(priceOf(unitPrice)) * ExactAmount::whole(qtyOf(qty));
}

// The sum with the tax added, rounded once to the cent; empty past what an amount holds.
std::optional<Money> withTax(Money sum, float rate) {
    // The rate at the decimal its single shows (7.3f is 7.3 %). Past 17 decimals a rate adds
    // less than a cent to any amount: dropping them keeps the product in range.
    const ExactAmount factor = ExactAmount::whole(1) + ExactAmount::ofSingle(rate, 17).percent();
    const ExactAmount owed = ExactAmount(sum) * factor;
    // Only a rate far past 100 % (an old stored one) can take the product out of range.
    if (!owed.isValid())
        return sum == Money() ? std::optional<Money>(Money()) : std::nullopt;
    return owed.rounded(2).money();
}

} // namespace

std::optional<float> taxRate(const QString& taxField, QString* refusal) {
    // An emptied field is no tax at all.
    if (numberentry::withoutUnits(taxField, taxWanted()).isEmpty())
        return 0.0f;
    const std::optional<double> rate = numberentry::read(taxField, taxWanted(), refusal);
    if (!rate)
        return std::nullopt;
    return float(*rate);
}

std::optional<QString> taxFieldAtRest(const QString& text, QString* refusal) {
    if (!taxRate(text, refusal))
        return std::nullopt;
    if (numberentry::withoutUnits(text, taxWanted()).isEmpty())
        return QStringLiteral("0.000%");
    return text.trimmed().endsWith(QLatin1Char('%')) ? text : text + QLatin1Char('%');
}

QString lineTotalText(const QString& unitPrice, const QString& qty) {
    if (const std::optional<Money> total = lineProduct(unitPrice, qty).money())
        return format(*total, QStringLiteral("$0.00"));
    return format(priceOf(unitPrice).toDouble() * double(qtyOf(qty)), QStringLiteral("$0.00"));
}

InvoiceTotal invoiceTotal(std::span<const InvoiceLine> lines, float rate, const QString& taxField) {
    // A sum of 3000 products that each fit an amount fits 128 bits.
    ExactAmount sum;
    double approximate = 0; // for the display of what no amount holds
    bool fits = true;
    for (const InvoiceLine& line : lines) {
        const ExactAmount product = lineProduct(line[SaleCell::unit_price], line[SaleCell::qty]);
        fits = fits && product.money().has_value();
        sum = sum + product;
        approximate += product.value();
    }
    const std::optional<Money> exactSum = fits ? sum.money() : std::nullopt;
    InvoiceTotal total;
    if (exactSum)
        total.amount = withTax(*exactSum, rate);
    const QString pattern = QStringLiteral("$0.00");
    QString sumText;
    if (total.amount) {
        sumText = format(*exactSum, pattern);
        total.owed = format(*total.amount, pattern);
    } else {
        // Past what an amount holds only the magnitude can be shown; Save refuses it.
        sumText = format(approximate, pattern);
        total.owed = format(approximate * (1.0 + double(rate) / 100.0), pattern);
    }
    total.tip = sumText + QLatin1String(" + ") + taxField + QLatin1String(" = ") + total.owed;
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

std::optional<QString> saleQuantity(const QString& answer, QString* refusal) {
    if (answer.trimmed().isEmpty())
        return QStringLiteral("01");
    // A quantity of a billion or more is a slip of the keyboard.
    const numberentry::Wanted wanted{QStringLiteral("the quantity"), 1, 999999999, true, {}, {}};
    const std::optional<double> qty = numberentry::read(answer, wanted, refusal);
    if (!qty)
        return std::nullopt;
    return format(*qty, QStringLiteral("00"));
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
    saved.amount_owed = amountOf(boxes.owed);
    saved.tax_percent = taxRate(boxes.tax).value_or(0.0f);
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
