#pragma once

#include "core/common/money.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <unordered_map>
#include <vector>

class RecordSet;

// The text lines of the invoice list: one line per invoice, the customer tags that end the
// lines of the all-customers list, and the status line.
namespace invoicelist {

// A customer's tag in the all-customers list, kept with the number it stands for: the tag's
// text holds only four digits of the number, which cannot tell 1000 from 10000.
struct CustomerTag {
    qint64 number = 0;
    QString text; // "C0012:  SMITH,J"
};

// "C", the number as "0000:  ", the first eight characters of the last name and, after a
// comma, the first character of the first name, both in upper case.
QString customerTagText(qint64 number, const QString& lastName, const QString& firstName);

// One tag per row of "Customers", in table order. The record set is left on its first row.
std::vector<CustomerTag> customerTags(RecordSet& customers);

// Finds a customer's tag in one step however long the list is. The tag found is the one a search
// from the first tag, stopping at the end of the list, would find: the first with the number.
class CustomerTagIndex {
public:
    explicit CustomerTagIndex(const std::vector<CustomerTag>& tags);
    // The index of the customer's tag in the list; -1 when no tag has the number.
    int find(qint64 number) const;

private:
    std::unordered_map<qint64, int> first_;
};

// The status line for a customer number (negative: all customers) and the invoices listed,
// with the total still owed over them when there are any:
// "Cust: #12 has  3 invoice(s)   Balance due: $40.00".
QString statusText(qint16 cust, int count, Money balanceDue);

struct Listing {
    QStringList lines;
    std::vector<int> positions; // each line's row position in "sales_invoices"
    Money balanceDue;           // owed less paid, over the invoices listed
};

// Walks "sales_invoices" in table order. A customer number of 0 or more lists that customer's
// invoices; a negative one lists every invoice whose customer has a tag (an invoice whose
// customer is missing from the tags is listed without one), and nothing when there are no tags.
// A line holds the invoice's number, update date, amount owed, "Paid  ", amount paid, then the
// tag; the amounts take one blank less in the all-customers list to leave room for the tag. It
// ends with "Due  " and the balance due, after the tag padded to the width of the longest tag.
Listing listInvoices(RecordSet& invoices, qint16 cust, const std::vector<CustomerTag>& tags);

} // namespace invoicelist
