#pragma once

#include "core/common/money.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>

class Database;
class RecordSet;

// Payments received on confirmed invoices. Each is a row of "payments" in cust.fdb, and an
// invoice's amount_paid is always the sum of its rows: both change in one transaction.
namespace payments {

// What is still owed on an invoice.
Money balanceDue(Money owed, Money paid);

// The amount typed for a payment ("$" allowed), judged against the balance due. Empty with
// `refusal` naming the reason when it is no amount, zero, negative, has a fraction of a cent,
// or is more than the balance due; empty with `refusal` empty for an empty (cancelled) answer.
std::optional<Money> paymentAmount(const QString& answer, Money balanceDue, QString* refusal);

// The sum of the payments recorded on the invoice.
Money paidTotal(Database& db, qint64 invoiceNo);

// In one transaction on the database of "sales_invoices": adds the payment, dated `date`, to
// the invoice at position `rec` and sets its amount_paid to the sum of its payments, which is
// returned. DbError, with nothing changed, when the row is gone or the amount is not from a cent
// to the balance due as stored.
Money record(RecordSet& invoices, int rec, Money amount, const QDate& date);

// Bringing cust.fdb from layout 1, which kept no payments: an amount already paid on an invoice
// becomes one payment dated the invoice's update date, so that the sums hold from the start.
void carryPaidAmounts(Database& db, int fromVersion);

} // namespace payments
