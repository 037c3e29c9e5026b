// Payments on invoices: the amount judged at each refusal, amount_paid kept the sum of the
// payments, and files of the layout before payments brought up to date with their rows.
#include "core/business/businessfiles.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/items/itemtables.h"
#include "core/sales/payments.h"
#include "core/sales/salestables.h"
#include "support/temphome.h"

#include <QtTest>

#include <sqlite3.h>

#include <memory>

namespace {

Money dollars(double amount) {
    return *Money::fromDouble(amount);
}

// The file as the program wrote it before it kept payments: layout 1, no "payments".
void makeLayoutOne(const QString& path) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "DROP TABLE IF EXISTS payments; PRAGMA user_version = 1", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
}

int fileVersion(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr);
    sqlite3_step(stmt);
    const int version = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return version;
}

} // namespace

class TestPayments : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    QString area;

    QString file(const char* name) const { return area + QLatin1Char('/') + QLatin1String(name); }

    void addInvoice(qint64 cust, qint64 number, Money owed, Money paid = Money()) const {
        RecordSet rows(file("cust.fdb"), SalesInvoices::table);
        rows.addNew();
        rows.setField(SalesInvoices::cust_no, cust);
        rows.setField(SalesInvoices::invoice_no, number);
        rows.setField(SalesInvoices::update_date, QDate(2024, 2, 1));
        rows.setField(SalesInvoices::amount_owed, owed);
        rows.setField(SalesInvoices::amount_paid, paid);
        rows.setField(SalesInvoices::confirmed, true);
        rows.update();
    }
    Money storedPaid(int position) const {
        RecordSet rows(file("cust.fdb"), SalesInvoices::table);
        rows.moveFirst();
        rows.move(position);
        return rows.field(SalesInvoices::amount_paid).toMoney();
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        area = home->file(QStringLiteral("0"));
        businessfiles::createBusinessDatabases(home->path(), area);
    }
    void cleanup() { home.reset(); }

    void amountJudged_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("cents"); // -1: refused
        QTest::addColumn<QString>("refusal");
        const QString negative = "A payment cannot be negative. Please enter the amount received.";
        const QString zero = "A payment of $0.00 records nothing. Please enter the amount received.";
        const QString over = "The payment is more than the balance due of $100.50.";
        QTest::newRow("cancelled") << "" << qint64(-1) << "";
        QTest::newRow("no number") << "ten" << qint64(-1)
                                   << "\"ten\" is no amount. Please enter the payment as a number, "
                                      "such as 25.00.";
        QTest::newRow("zero") << "0" << qint64(-1) << zero;
        QTest::newRow("zero with $") << "$0.00" << qint64(-1) << zero;
        QTest::newRow("negative") << "-5" << qint64(-1) << negative;
        QTest::newRow("minus a cent") << "-0.01" << qint64(-1) << negative;
        QTest::newRow("a cent") << "0.01" << qint64(1) << "";
        QTest::newRow("the balance") << "$100.50" << qint64(10050) << "";
        QTest::newRow("a cent over") << "100.51" << qint64(-1) << over;
        QTest::newRow("far over") << "1e30" << qint64(-1) << over;
        QTest::newRow("part of a cent") << "10.005" << qint64(-1)
                                        << "A payment is made in whole cents. Please enter at most "
                                           "two decimals.";
    }
    void amountJudged() {
        QFETCH(QString, typed);
        QFETCH(qint64, cents);
        QFETCH(QString, refusal);
        QString why = QStringLiteral("unset");
        const std::optional<Money> amount = payments::paymentAmount(typed, dollars(100.5), &why);
        QCOMPARE(amount.has_value(), cents >= 0);
        if (amount)
            QCOMPARE(amount->raw(), cents * 100);
        QCOMPARE(why, amount ? QString() : refusal);
    }

    void paidIsTheSumOfThePayments() {
        addInvoice(0, 3, dollars(50));
        addInvoice(1, 7, dollars(162));
        RecordSet invoices(file("cust.fdb"), SalesInvoices::table);
        QCOMPARE(payments::record(invoices, 1, dollars(100), QDate(2024, 3, 1)), dollars(100));
        QCOMPARE(payments::record(invoices, 1, dollars(40.25), QDate(2024, 3, 9)), dollars(140.25));
        QCOMPARE(payments::record(invoices, 0, dollars(50), QDate(2024, 3, 9)), dollars(50));
        QCOMPARE(storedPaid(1), dollars(140.25));
        QCOMPARE(payments::paidTotal(invoices.database(), 7), dollars(140.25));
        QCOMPARE(storedPaid(0), payments::paidTotal(invoices.database(), 3));

        // Beyond the balance as stored nothing is written, whatever a window believed.
        QVERIFY_THROWS_EXCEPTION(DbError, payments::record(invoices, 1, dollars(21.76),
                                                           QDate(2024, 3, 10)));
        QVERIFY_THROWS_EXCEPTION(DbError, payments::record(invoices, 5, dollars(1),
                                                           QDate(2024, 3, 10)));
        QCOMPARE(storedPaid(1), dollars(140.25));
        QCOMPARE(RecordSet(file("cust.fdb"), Payments::table).recordCount(), 3);
    }

    // A business made before payments were kept: its three files of layout 1 open, are brought
    // up to date in place and keep every row; an amount already paid becomes a payment.
    void olderBusinessUpgraded() {
        addInvoice(2, 11, dollars(80), dollars(25));
        addInvoice(2, 12, dollars(60));
        {
            RecordSet parts(file("parts.fdb"), Parts::table);
            parts.addNew();
            parts.setField(Parts::part_no, qint64(4));
            parts.setField(Parts::description, QStringLiteral("Plate"));
            parts.update();
            RecordSet items(file("items.fdb"), AssembledItems::table);
            items.addNew();
            items.setField(AssembledItems::item_no, qint64(0));
            items.setField(AssembledItems::item_desc, QStringLiteral("Bracket"));
            items.update();
        }
        for (const char* name : {"parts.fdb", "items.fdb", "cust.fdb"})
            makeLayoutOne(file(name));
        QCOMPARE(businessfiles::checkBusinessDatabases(area).size(), std::size_t(3));

        QVERIFY(businessfiles::upgradeBusinessDatabases(area).empty());
        QVERIFY(businessfiles::checkBusinessDatabases(area).empty());
        for (const char* name : {"parts.fdb", "items.fdb", "cust.fdb"})
            QCOMPARE(fileVersion(file(name)), schemaVersion);
        QCOMPARE(RecordSet(file("parts.fdb"), Parts::table).field(Parts::description).toText(),
                 QStringLiteral("Plate"));
        QCOMPARE(RecordSet(file("items.fdb"), AssembledItems::table)
                     .field(AssembledItems::item_desc)
                     .toText(),
                 QStringLiteral("Bracket"));
        RecordSet invoices(file("cust.fdb"), SalesInvoices::table);
        QCOMPARE(invoices.recordCount(), 2);
        QCOMPARE(storedPaid(0), dollars(25));
        QCOMPARE(payments::paidTotal(invoices.database(), 11), dollars(25));
        QCOMPARE(RecordSet(file("cust.fdb"), Payments::table).recordCount(), 1);
        // Up to date now: a second pass changes nothing.
        QVERIFY(!businessfiles::upgradeDatabaseFile(file("cust.fdb"),
                                                    businessfiles::databaseFiles()[2]));
        QCOMPARE(RecordSet(file("cust.fdb"), Payments::table).recordCount(), 1);
    }

    // The upgrade is one transaction: a file it cannot finish is left as it was.
    void failedUpgradeChangesNothing_data() {
        QTest::addColumn<QByteArray>("damage");
        // A table of that name that is not ours stops the upgrade half-way.
        QTest::newRow("foreign payments table") << QByteArray("CREATE TABLE payments (x TEXT)");
        // A table the earlier layout had is lost, not made again empty.
        QTest::newRow("lost invoice lines") << QByteArray("DROP TABLE items_per_sale");
    }
    void failedUpgradeChangesNothing() {
        QFETCH(QByteArray, damage);
        makeLayoutOne(file("cust.fdb"));
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(file("cust.fdb")).constData(), &db);
        sqlite3_exec(db, damage.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        const std::vector<DbError> failures = businessfiles::upgradeBusinessDatabases(area);
        QCOMPARE(failures.size(), std::size_t(1));
        QVERIFY(failures[0].file().endsWith(QStringLiteral("cust.fdb")));
        QCOMPARE(fileVersion(file("cust.fdb")), 1);
    }

    // Templates left by the earlier program are brought up to date before they are copied.
    void olderTemplatesUpgraded() {
        makeLayoutOne(home->file(QStringLiteral("cust.blk")));
        const QString next = home->file(QStringLiteral("1"));
        businessfiles::createBusinessDatabases(home->path(), next);
        QCOMPARE(fileVersion(home->file(QStringLiteral("cust.blk"))), schemaVersion);
        QVERIFY(businessfiles::checkBusinessDatabases(next).empty());
    }
};

QTEST_GUILESS_MAIN(TestPayments)
#include "tst_payments.moc"
