#pragma once

#include "core/sales/invoicerules.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

class RecordSet;
struct BizSettings;

// What the printed invoice says, every text ready to be put on the page: who sends it, to
// whom, the invoice's facts, one row per line, the totals and, for an invoice not confirmed,
// the draft mark. The windows lay it out on paper; nothing here knows of pages.
struct InvoiceDocument {
    // Two texts beside each other: "Invoice number", "0012".
    struct Fact {
        QString label;
        QString value;
    };
    struct Row {
        QString line;   // "1": the line's place on the invoice
        QString number; // "0012"
        QString kind;   // "Part" or "Item"
        QString description;
        QString unitPrice; // "$0.00"
        QString qty;       // "02"
        QString total;     // "$0.00"
    };

    QString title;       // "Invoice 0012"
    QString fileName;    // "invoice-0012.pdf"
    QString businessName;
    QStringList businessLines; // the owner, the type of business
    QStringList customerLines; // "Customer 0003", the name, the address, the telephone
    std::vector<Fact> facts;   // number, dates, salesperson
    std::vector<Row> rows;
    std::vector<Fact> totals; // subtotal, tax, total owed, amount paid, balance due
    std::optional<QString> draftMark; // "DRAFT - not confirmed"

    // The column headings of the rows, repeated on every page that shows rows.
    static QStringList headings();
};

namespace invoicedocument {

inline const QString draftText = QStringLiteral("DRAFT - not confirmed");

// The customer as the invoice names them.
struct Customer {
    QString name; // first and last name
    QString address;
    QString telephone;
};
// The row of "Customers" with the number (the first such row), read by a record set of its own
// so that the given one keeps its row; empty when there is none.
std::optional<Customer> findCustomer(const RecordSet& customers, qint64 custNo);

// The invoice as the editor shows it: its header boxes, its lines in use and whether it is
// confirmed; the sender from the business's settings (`fallbackName` when they name no company).
InvoiceDocument make(const invoicerules::InvoiceBoxes& boxes, std::span<const InvoiceLine> lines,
                     const BizSettings& settings, const QString& fallbackName,
                     const std::optional<Customer>& customer);

} // namespace invoicedocument
