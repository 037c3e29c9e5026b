#include "core/sales/payments.h"

#include "core/common/database.h"
#include "core/common/numberentry.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/sales/salestables.h"

#include <sqlite3.h>

namespace payments {

namespace {

QByteArray column(const TableDef& table, int n) {
    return quotedName(table.columns[std::size_t(n)].name);
}

} // namespace

Money balanceDue(Money owed, Money paid) {
    return owed - paid;
}

std::optional<Money> paymentAmount(const QString& answer, Money balance, QString* refusal) {
    const auto refuse = [&](const QString& why) -> std::optional<Money> {
        if (refusal)
            *refusal = why;
        return std::nullopt;
    };
    if (refusal)
        refusal->clear();
    const QString number =
        numberentry::withoutUnits(answer, {QStringLiteral("the payment"), 0, 0, false,
                                           QStringLiteral("$"), {}});
    if (answer.trimmed().isEmpty())
        return std::nullopt;
    if (!isNumber(number))
        return refuse(QStringLiteral("\"%1\" is no amount. Please enter the payment as a number, "
                                     "such as 25.00.")
                          .arg(answer.trimmed()));
    const std::optional<Money> amount = toMoney(number);
    const double value = leadingValue(number);
    if (value < 0 || (amount && *amount < Money()))
        return refuse(QStringLiteral("A payment cannot be negative. Please enter the amount "
                                     "received."));
    if (amount && *amount == Money())
        return refuse(QStringLiteral("A payment of $0.00 records nothing. Please enter the "
                                     "amount received."));
    if (!amount || *amount > balance)
        return refuse(QStringLiteral("The payment is more than the balance due of %1.")
                          .arg(amountText(balance)));
    if (amount->raw() % 100 != 0)
        return refuse(QStringLiteral("A payment is made in whole cents. Please enter at most two "
                                     "decimals."));
    return amount;
}

Money paidTotal(Database& db, qint64 invoiceNo) {
    const TableDef& table = Payments::table;
    Statement sum(db, "SELECT sum(" + column(table, Payments::amount) + ") FROM " +
                          quotedName(table.name) + " WHERE " +
                          column(table, Payments::invoice_no) + " = ?1");
    sqlite3_bind_int64(sum.get(), 1, invoiceNo);
    sum.step();
    const Money total = Money::fromRaw(sqlite3_column_int64(sum.get(), 0));
    sum.reset();
    return total;
}

Money record(RecordSet& invoices, int rec, Money amount, const QDate& date) {
    using namespace SalesInvoices;
    Database& db = invoices.database();
    Transaction transaction(db);
    invoices.cancelUpdate(); // an unfinished change on the shared connection is dropped
    if (rec < 0 || rec >= invoices.recordCount())
        db.fail(QStringLiteral("the invoice's row (position %1) is missing").arg(rec));
    invoices.moveFirst();
    invoices.move(rec);
    const qint64 number = invoices.field(invoice_no).toInt64();
    const Money paid = paidTotal(db, number);
    if (amount <= Money() || amount > balanceDue(invoices.field(amount_owed).toMoney(), paid))
        db.fail(QStringLiteral("a payment of %1 does not fit the balance due of invoice %2")
                    .arg(amountText(amount))
                    .arg(number));

    RecordSet rows(db.path(), Payments::table);
    rows.addNew();
    rows.setField(Payments::invoice_no, number);
    rows.setField(Payments::payment_date, date);
    rows.setField(Payments::amount, amount);
    rows.update();

    const Money total = paid + amount;
    invoices.edit();
    invoices.setField(amount_paid, total);
    invoices.update();
    transaction.commit();
    return total;
}

void carryPaidAmounts(Database& db, int fromVersion) {
    if (fromVersion >= 2)
        return;
    using namespace SalesInvoices;
    const TableDef& invoices = SalesInvoices::table;
    const TableDef& paid = Payments::table;
    const QByteArray sql =
        "INSERT INTO " + quotedName(paid.name) + " (" + column(paid, Payments::invoice_no) + ", " +
        column(paid, Payments::payment_date) + ", " + column(paid, Payments::amount) + ") SELECT " +
        column(invoices, invoice_no) + ", " + column(invoices, update_date) + ", " +
        column(invoices, amount_paid) + " FROM " + quotedName(invoices.name) + " WHERE " +
        column(invoices, amount_paid) + " <> 0 ORDER BY rowid";
    db.execute(sql.constData());
}

} // namespace payments
