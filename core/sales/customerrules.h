#pragma once

#include "core/common/value.h"
#include "core/finder/finderlist.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class RecordSet;

// What the customer editor shows, stores and refuses, and the removal of a customer.
namespace customerrules {

// The editor's fields in screen order: number, first name, last name, address, telephone,
// date of birth, total value.
enum Field { number, firstName, lastName, address, telephone, birthDate, totalValue };
inline constexpr int fieldCount = 7;
using Fields = std::array<QString, fieldCount>;

inline const QString incomplete = QStringLiteral("please fill out the information");
inline const QString badBirthDate = QStringLiteral("Please pick a valid date of birth");
inline const QString futureBirthDate = QStringLiteral("The date of birth cannot be after today");
inline const QString hasInvoices = QStringLiteral("Customer has invoices and cannot be deleted");
// The data finder's refusal to start adding.
using ::numbersUsedUp;

// The texts of a new customer's fields: the number as "0000", the total value $0.00.
Fields newFields(qint16 next);
// The texts of the record set's current row.
Fields shownFields(const RecordSet& customers);

// The column values of a save, or the message that refuses it: an empty field, a date of birth
// that is no date, or one after `today`.
struct SaveColumns {
    std::optional<QString> refusal;
    std::vector<std::pair<int, Value>> columns;
};
SaveColumns saveColumns(const Fields& fields, const QDate& today);

// Adds a row (adding) or changes the current row with the columns, as one statement. On a
// failure of the engine the change is dropped, nothing is stored, and DbError is thrown.
void store(RecordSet& customers, bool adding, const std::vector<std::pair<int, Value>>& columns);

// The customer's name as the invoice list's caption shows it: the trimmed last name, ", ",
// then the first name.
QString listName(const QString& lastName, const QString& firstName);

// True when an invoice of "sales_invoices" belongs to the customer number.
bool customerHasInvoices(RecordSet& invoices, qint64 number);

// Deletes the customer on whose row the customer record set stands, after asking "Are you
// sure" ("deleting customer"). A customer with invoices is refused with a message; the check
// and the removal run in one transaction. An engine failure is shown and changes nothing.
// True when the row was deleted (the caller rebuilds its list).
bool deleteSelectedCustomer(RecordSet& customers, RecordSet& invoices);

} // namespace customerrules
