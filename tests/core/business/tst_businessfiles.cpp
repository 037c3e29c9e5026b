#include "core/business/businessfiles.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordfile.h"
#include "core/common/recordset.h"
#include "core/items/itemtables.h"
#include "core/sales/salestables.h"

#include "support/temphome.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QtTest>

#include <sqlite3.h>

namespace {

// The columns of a table as any SQLite tool lists them, in order.
QStringList physicalColumns(const QString& path, const QString& table) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?1)", -1, &stmt, nullptr);
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    QStringList columns;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return columns;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestBusinessFiles : public QObject {
    Q_OBJECT

private slots:
    void templatesHoldTheTables_data();
    void templatesHoldTheTables();
    void onlyMissingTemplatesAreWritten();
    void businessGetsCopiesOfTemplates();
    void damagedTemplateIsNotCopied();
    void damagedBusinessFilesAreReported();
};

void TestBusinessFiles::templatesHoldTheTables_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<int>("lastOrdinal"); // the table's enumeration gives the last column this

    QTest::newRow("Parts") << "parts.blk"
                           << "Parts"
                           << "part_no description vendor_code unit_cost unit_price class_code "
                              "general_stock stock_qty delivery_days last_delivery features "
                              "picture_file manufacturer"
                           << int(Parts::manufacturer);
    QTest::newRow("Assembled Items") << "item.blk"
                                     << "Assembled Items"
                                     << "item_no item_desc total_costs markup total_labour spare "
                                        "confirmed max_delivery item_class"
                                     << int(AssembledItems::item_class);
    QTest::newRow("parts list") << "item.blk"
                                << "parts list"
                                << "host_item_no part_flag ip_no qty unit_price total_price "
                                   "asm_hours eng_hours test_hours ip_cost delivery_days"
                                << int(PartsList::delivery_days);
    QTest::newRow("Customers") << "cust.blk"
                               << "Customers"
                               << "cust_no first_name last_name dob total_value address telephone"
                               << int(Customers::telephone);
    QTest::newRow("sales_invoices") << "cust.blk"
                                    << "sales_invoices"
                                    << "cust_no invoice_no update_date amount_paid amount_owed "
                                       "confirmed_date delivery_date tax_percent delivered "
                                       "salesperson confirmed"
                                    << int(SalesInvoices::confirmed);
    QTest::newRow("items_per_sale") << "cust.blk"
                                    << "items_per_sale"
                                    << "invoice_no part_flag ip_no delivery_days qty unit_price "
                                       "description"
                                    << int(ItemsPerSale::description);
}

void TestBusinessFiles::templatesHoldTheTables() {
    QFETCH(QString, file);
    QFETCH(QString, table);
    QFETCH(QString, columns);
    QFETCH(int, lastOrdinal);

    TempHome home;
    businessfiles::ensureTemplates(home.path());
    const QStringList expected = columns.split(QLatin1Char(' '));
    QCOMPARE(physicalColumns(home.file(file), table), expected);
    QCOMPARE(lastOrdinal, expected.size() - 1);
}

void TestBusinessFiles::onlyMissingTemplatesAreWritten() {
    TempHome home;
    QCOMPARE(businessfiles::ensureTemplates(home.path()),
             (QStringList{"parts.blk", "item.blk", "cust.blk"}));
    // Readable by others like any file the user makes, not private as a temporary file is.
    QVERIFY(QFileInfo(home.file(QStringLiteral("parts.blk"))).permissions() &
            QFileDevice::ReadOther);
    QVERIFY(QFile::remove(home.file(QStringLiteral("item.blk"))));
    {
        RecordSet parts(QStringLiteral("parts.blk"), Parts::table);
        parts.addNew();
        parts.setField(Parts::description, QStringLiteral("kept"));
        parts.update();
    }
    QCOMPARE(businessfiles::ensureTemplates(home.path()), QStringList{"item.blk"});
    QCOMPARE(businessfiles::ensureTemplates(home.path()), QStringList());
    QCOMPARE(RecordSet(QStringLiteral("parts.blk"), Parts::table).recordCount(), 1);
    QCOMPARE(QDir(home.path()).entryList(QDir::Files),
             (QStringList{"cust.blk", "item.blk", "parts.blk"})); // no temporary left behind
}

void TestBusinessFiles::businessGetsCopiesOfTemplates() {
    TempHome home;
    businessfiles::ensureTemplates(home.path());
    {
        // A row in a template shows that the business's file is the template's copy.
        RecordSet customers(QStringLiteral("cust.blk"), Customers::table);
        customers.addNew();
        customers.setField(Customers::last_name, QStringLiteral("Template"));
        customers.update();
    }
    const QString area = home.file(QStringLiteral("0"));
    businessfiles::createBusinessDatabases(home.path(), area);
    QVERIFY(businessfiles::checkBusinessDatabases(area).empty());

    QDir::setCurrent(area); // the business's files are opened by relative name
    RecordSet customers(QStringLiteral("cust.fdb"), Customers::table);
    QCOMPARE(customers.recordCount(), 1);
    QCOMPARE(customers.field(Customers::last_name).toText(), QStringLiteral("Template"));
    QCOMPARE(RecordSet(QStringLiteral("parts.fdb"), Parts::table).recordCount(), 0);
    QCOMPARE(RecordSet(QStringLiteral("items.fdb"), PartsList::table).recordCount(), 0);
    QCOMPARE(&RecordSet(QStringLiteral("cust.fdb"), ItemsPerSale::table).database(),
             &customers.database());
    QDir::setCurrent(home.path());
}

void TestBusinessFiles::damagedTemplateIsNotCopied() {
    TempHome home;
    writeBytes(home.file(QStringLiteral("item.blk")), QByteArray(3000, 'x'));
    const QString area = home.file(QStringLiteral("1"));
    try {
        businessfiles::createBusinessDatabases(home.path(), area);
        QFAIL("a damaged template was copied");
    } catch (const DbError& error) {
        QVERIFY(error.file().endsWith(QStringLiteral("item.blk")));
    }
    QVERIFY(QFile::exists(home.file(QStringLiteral("parts.blk"))));
    QVERIFY(!QFile::exists(area + QStringLiteral("/items.fdb")));
}

void TestBusinessFiles::damagedBusinessFilesAreReported() {
    TempHome home;
    const QString area = home.file(QStringLiteral("2"));
    businessfiles::createBusinessDatabases(home.path(), area);
    writeBytes(area + QStringLiteral("/cust.fdb"), QByteArray("SQLite format 3", 15));
    QVERIFY(QFile::remove(area + QStringLiteral("/items.fdb")));

    const auto problems = businessfiles::checkBusinessDatabases(area);
    QCOMPARE(problems.size(), std::size_t(2));
    QVERIFY(problems[0].file().endsWith(QStringLiteral("items.fdb")));
    QVERIFY(problems[1].file().endsWith(QStringLiteral("cust.fdb")));
}

QTEST_GUILESS_MAIN(TestBusinessFiles)
#include "tst_businessfiles.moc"
