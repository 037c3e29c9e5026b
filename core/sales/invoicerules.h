#pragma once

#include "core/common/money.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>
#include <span>

class RecordSet;

// The six cell texts of one invoice line, as the invoice editor shows them. A cell not in use
// holds two blanks.
namespace SaleCell {
enum : int {
    ip_code, // "0012  P": number, two blanks, P for a part or I for an item
    description,
    unit_price,    // "$0.00"
    qty,           // "00"
    total_price,   // "$0.00": unit price times the whole quantity
    delivery_days, // plain number text
    count
};
} // namespace SaleCell
using InvoiceLine = std::array<QString, SaleCell::count>;

// The rules of an invoice that do not depend on its window: numbering, total with tax, the
// tax field's form, delivery, and the values a save stores.
namespace invoicerules {

// Invoice numbers travel as 16-bit integers.
inline constexpr qint64 highestInvoiceNumber = 32767;

// One more than the highest invoice_no of "sales_invoices", over all customers; 0 when the table
// is empty. May exceed highestInvoiceNumber: the caller refuses a new invoice then.
qint64 nextInvoiceNumber(RecordSet& invoices);
QString numbersExhaustedMessage();

// --- Total and tax
// The tax field as loaded: the percentage (8.25) shown as "8.250 %".
QString taxText(float percent);
// The rate of a tax field ("8.000 %", "7.5%" or "7.5" give 8 and 7.5; an emptied field, "" or
// "%", gives 0), in single precision; empty, with `refusal` set, when the text is no rate from
// 0 to 100.
std::optional<float> taxRate(const QString& taxField, QString* refusal = nullptr);
// The tax field's text once it is left: a rate's text followed by "%" ("7.5" gives "7.5%", a text
// with its "%" comes back unchanged, an emptied field gives "0.000%"); empty, with `refusal` set,
// when it holds no rate.
std::optional<QString> taxFieldAtRest(const QString& text, QString* refusal = nullptr);

// A line's total as the grid shows it, "$0.00": unit price times the whole quantity, exact; a
// product past what an amount holds is still shown.
QString lineTotalText(const QString& unitPrice, const QString& qty);

struct InvoiceTotal {
    QString owed;                // "$0.00": the line totals with the tax added
    QString tip;                 // "$150.00 + 8.000 % = $162.00"
    std::optional<Money> amount; // the amount owed; empty when no amount can hold it
};
// The total of the lines at `rate`, the tip naming the rate as `taxField` shows it. The sum
// with the tax is rounded once to the cent (halves away from zero), the rate taken as the
// decimal its single reads as (7.3f is 7.3 %).
InvoiceTotal invoiceTotal(std::span<const InvoiceLine> lines, float rate, const QString& taxField);

// --- Delivery
// The highest delivery time of the lines in whole days (halves to the even neighbour), never
// below `current`.
qint16 raisedMaxDelivery(qint16 current, std::span<const InvoiceLine> lines);
// Confirming on `today` promises delivery `maxDelivery` days later.
QDate deliveryDate(const QDate& today, qint16 maxDelivery);
// A confirmed invoice not marked delivered whose delivery date lies before today.
bool deliveryOverdue(bool confirmed, const QString& deliveredField,
                     const QString& deliveryDateField, const QDate& today);

// --- A sale started in the data finder
// The quantity of the first line from the answer to the quantity prompt: the number as "00",
// "01" for a cancelled prompt or an empty answer; empty, with `refusal` set, for anything else.
std::optional<QString> saleQuantity(const QString& answer, QString* refusal = nullptr);

// --- Values stored by Save
// The header boxes Text1(0) to Text1(9) as shown.
struct InvoiceBoxes {
    QString invoiceNo;     // Text1(0)
    QString custNo;        // Text1(1)
    QString updateDate;    // Text1(2), "mmm dd, yyyy"
    QString confirmedDate; // Text1(3)
    QString deliveryDate;  // Text1(4)
    QString salesperson;   // Text1(5)
    QString owed;          // Text1(6), "$0.00"
    QString paid;          // Text1(7), "$0.00"
    QString tax;           // Text1(8), "0.000 %"
    QString delivered;     // Text1(9), "Yes" or "No"
    bool confirmed = false;
};
struct SavedInvoice {
    qint64 cust_no = 0;
    qint64 invoice_no = 0;
    QDate update_date;
    QDate confirmed_date; // written only when confirmed
    QDate delivery_date;
    Money amount_owed;
    float tax_percent = 0;
    bool delivered = false;
    QString salesperson;
    bool confirmed = false;
};
SavedInvoice savedInvoice(const InvoiceBoxes& boxes);

struct SavedSaleLine {
    bool part_flag = false;
    qint64 ip_no = 0;
    float delivery_days = 0;
    qint64 qty = 0;
    Money unit_price;
    QString description;
};
SavedSaleLine savedSaleLine(const InvoiceLine& line);

} // namespace invoicerules
