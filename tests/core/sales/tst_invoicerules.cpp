// The rules of an invoice apart from its window: numbering, total with tax, the tax field,
// delivery, the lines with their merge and scroll rules, and the one-transaction save.
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemtables.h"
#include "core/sales/invoicelines.h"
#include "core/sales/invoicerules.h"
#include "core/sales/salestables.h"
#include "support/temphome.h"

#include <QtTest>

#include <memory>

using namespace invoicerules;

namespace {

const TableDef* const salesTables[] = {&Customers::table, &SalesInvoices::table,
                                       &ItemsPerSale::table, &Payments::table};

InvoiceLine lineWith(const QString& price, const QString& days = QStringLiteral("  "),
                     const QString& qty = QStringLiteral("01")) {
    InvoiceLine line;
    line.fill(QStringLiteral("  "));
    line[SaleCell::unit_price] = price;
    line[SaleCell::qty] = qty;
    line[SaleCell::total_price] = lineTotalText(price, qty);
    line[SaleCell::delivery_days] = days;
    return line;
}

const QString taxRefusal = QStringLiteral("Please enter the tax rate as a number from 0 to 100.");

InvoiceLines::Choice choice(int number, bool isPart, int qty, const QString& price = "$2.50",
                            float days = 3) {
    InvoiceLines::Choice c;
    c.isPart = isPart;
    c.entry = QStringLiteral("%1     Thing %1").arg(number, 4, 10, QLatin1Char('0'));
    c.unitPrice = price;
    c.qty = QString::number(qty);
    c.deliveryDays = days;
    return c;
}

} // namespace

class TestInvoiceRules : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::shared_ptr<Database> db;
    std::unique_ptr<RecordSet> invoices;
    std::unique_ptr<RecordSet> sold;

    void addInvoice(qint64 cust, qint64 number) {
        invoices->addNew();
        invoices->setField(SalesInvoices::cust_no, cust);
        invoices->setField(SalesInvoices::invoice_no, number);
        invoices->setField(SalesInvoices::amount_owed, Money::fromRaw(10000));
        invoices->update();
    }
    void addLine(qint64 invoice, qint64 ipNo, qint64 qty = 1) {
        sold->addNew();
        sold->setField(ItemsPerSale::invoice_no, invoice);
        sold->setField(ItemsPerSale::part_flag, true);
        sold->setField(ItemsPerSale::ip_no, ipNo);
        sold->setField(ItemsPerSale::qty, qty);
        sold->setField(ItemsPerSale::unit_price, Money::fromRaw(12345)); // 1.2345
        sold->setField(ItemsPerSale::delivery_days, 2.5f);
        sold->setField(ItemsPerSale::description, QStringLiteral("line %1").arg(ipNo));
        sold->update();
    }
    // ip_no of every stored line of the invoice, in table order.
    QList<qint64> storedLines(qint64 invoice) {
        QList<qint64> numbers;
        RecordSet rows(db, ItemsPerSale::table);
        for (rows.moveFirst(); !rows.eof(); rows.moveNext())
            if (rows.field(ItemsPerSale::invoice_no).toInt64() == invoice)
                numbers << rows.field(ItemsPerSale::ip_no).toInt64();
        return numbers;
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        db = Database::open(QStringLiteral("cust.fdb"), Database::Mode::Create);
        createTables(*db, salesTables);
        invoices = std::make_unique<RecordSet>(db, SalesInvoices::table);
        sold = std::make_unique<RecordSet>(db, ItemsPerSale::table);
    }
    void cleanup() {
        sold.reset();
        invoices.reset();
        db.reset();
        home.reset();
    }

    void numbering_data() {
        QTest::addColumn<QList<qint64>>("numbers"); // one invoice each, customers alternating
        QTest::addColumn<qint64>("next");
        QTest::newRow("empty") << QList<qint64>{} << qint64(0);
        QTest::newRow("over all customers") << QList<qint64>{4, 9, 2} << qint64(10);
        QTest::newRow("last usable") << QList<qint64>{32766} << qint64(32767);
        QTest::newRow("used up") << QList<qint64>{32767} << highestInvoiceNumber + 1;
    }
    void numbering() {
        QFETCH(QList<qint64>, numbers);
        QFETCH(qint64, next);
        for (int i = 0; i < numbers.size(); ++i)
            addInvoice(i % 2, numbers[i]);
        QCOMPARE(nextInvoiceNumber(*invoices), next);
    }

    void taxField_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rest"); // empty: refused
        QTest::addColumn<float>("rate");
        QTest::newRow("as loaded") << "8.250 %"
                                   << "8.250 %" << 8.25f;
        QTest::newRow("no sign") << "7.5"
                                 << "7.5%" << 7.5f;
        QTest::newRow("highest") << "100"
                                 << "100%" << 100.0f;
        QTest::newRow("emptied") << ""
                                 << "0.000%" << 0.0f;
        QTest::newRow("sign alone") << "%"
                                    << "0.000%" << 0.0f;
        QTest::newRow("letters") << "abc%"
                                 << "" << 0.0f;
        QTest::newRow("two points") << "1.2.3"
                                    << "" << 0.0f;
        QTest::newRow("typed after the sign") << "8%5"
                                              << "" << 0.0f;
        QTest::newRow("negative") << "-200"
                                  << "" << 0.0f;
        QTest::newRow("past 100") << "100.01%"
                                  << "" << 0.0f;
    }
    void taxField() {
        QFETCH(QString, typed);
        QFETCH(QString, rest);
        QFETCH(float, rate);
        QString refusal;
        const std::optional<QString> settled = taxFieldAtRest(typed, &refusal);
        if (rest.isEmpty()) {
            QVERIFY(!settled);
            QVERIFY(!taxRate(typed));
            QCOMPARE(refusal, taxRefusal);
            return;
        }
        QCOMPARE(settled.value_or("refused"), rest);
        QCOMPARE(taxFieldAtRest(rest).value_or("refused"), rest);
        QCOMPARE(taxRate(rest).value_or(-1), rate);
    }

    // The amount owed is exact to the cent: summed and taxed without single precision, the rate
    // taken as the decimal it shows.
    void total_data() {
        QTest::addColumn<QStringList>("prices"); // quantity 1 each, or "price x qty"
        QTest::addColumn<QString>("tax");
        QTest::addColumn<QString>("owed"); // empty: no amount can hold it
        QTest::addColumn<QString>("tip");
        QTest::newRow("with tax") << QStringList{"$100.00", "$25.00 x 2"} << "8.000 %"
                                  << "$162.00"
                                  << "$150.00 + 8.000 % = $162.00";
        QTest::newRow("typed rate") << QStringList{"$100.00", "$50.00"} << "7.5%"
                                    << "$161.25"
                                    << "$150.00 + 7.5% = $161.25";
        QTest::newRow("no lines") << QStringList{} << "3.000 %"
                                  << "$0.00"
                                  << "$0.00 + 3.000 % = $0.00";
        QTest::newRow("rounded to the cent") << QStringList{"$10.05"} << "5.000 %"
                                             << "$10.55"
                                             << "$10.05 + 5.000 % = $10.55";
        QTest::newRow("half a cent up") << QStringList{"$1.00"} << "0.5%"
                                        << "$1.01"
                                        << "$1.00 + 0.5% = $1.01";
        for (const char* price :
             {"$131,071.99", "$131,072.01", "$1,234,567.89", "$99,999,999,999.99"}) {
            const QString plain = QString::fromLatin1(price).remove(QLatin1Char(','));
            QTest::addRow("%s at 0 %%", price)
                << QStringList{plain} << "0.000 %" << plain << plain + " + 0.000 % = " + plain;
        }
        QTest::newRow("thrice at 8.25 %") << QStringList{"$1234567.89 x 3"} << "8.250 %"
                                          << "$4009259.22"
                                          << "$3703703.67 + 8.250 % = $4009259.22";
        // 7.3 is no single: the rate is 7.3 % as typed, not 7.30000019 %.
        QTest::newRow("largest at 7.3 %") << QStringList{"$99999999999.99"} << "7.3%"
                                          << "$107299999999.99"
                                          << "$99999999999.99 + 7.3% = $107299999999.99";
        QTest::newRow("past any amount")
            << QStringList{"$900000000000000.00", "$900000000000000.00"} << "0%"
            << ""
            << "$1800000000000000.00 + 0% = $1800000000000000.00";
    }
    void total() {
        QFETCH(QStringList, prices);
        QFETCH(QString, tax);
        QFETCH(QString, owed);
        QFETCH(QString, tip);
        std::vector<InvoiceLine> lines;
        for (const QString& p : prices) {
            const QStringList parts = p.split(QStringLiteral(" x "));
            lines.push_back(lineWith(parts[0], QStringLiteral("  "), parts.value(1, "1")));
        }
        const InvoiceTotal result = invoiceTotal(lines, *taxRate(tax), tax);
        QCOMPARE(result.tip, tip);
        if (owed.isEmpty()) {
            QVERIFY(!result.amount);
            return;
        }
        QCOMPARE(result.owed, owed);
        QVERIFY(result.amount);
        QCOMPARE(format(*result.amount, QStringLiteral("$0.00")), owed);
        // What Save stores is the amount shown.
        InvoiceBoxes boxes;
        boxes.owed = result.owed;
        boxes.tax = tax;
        QCOMPARE(savedInvoice(boxes).amount_owed, *result.amount);
        QCOMPARE(savedInvoice(boxes).tax_percent, *taxRate(tax));
    }

    void delivery_data() {
        QTest::addColumn<QStringList>("days");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("highest");
        QTest::newRow("fraction below a half") << QStringList{"2", "5.4"} << 0 << 5;
        QTest::newRow("half to even, down") << QStringList{"2.5"} << 0 << 2;
        QTest::newRow("half to even, up") << QStringList{"3.5", "1"} << 0 << 4;
        QTest::newRow("never lowered") << QStringList{"2"} << 7 << 7;
        QTest::newRow("blank cells") << QStringList{"  "} << 0 << 0;
    }
    void delivery() {
        QFETCH(QStringList, days);
        QFETCH(int, before);
        QFETCH(int, highest);
        std::vector<InvoiceLine> lines;
        for (const QString& d : days)
            lines.push_back(lineWith(QStringLiteral("$1.00"), d));
        QCOMPARE(int(raisedMaxDelivery(qint16(before), lines)), highest);
    }

    void overdue_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("delivered");
        QTest::addColumn<QString>("promised");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("overdue");
        QTest::newRow("day after, year end") << true << "No"
                                             << "Dec 31, 2023" << QDate(2024, 1, 1) << true;
        QTest::newRow("on the day") << true << "No"
                                    << "Dec 31, 2023" << QDate(2023, 12, 31) << false;
        QTest::newRow("day after, leap day") << true << "No"
                                             << "Feb 29, 2024" << QDate(2024, 3, 1) << true;
        QTest::newRow("delivered") << true << "Yes"
                                   << "Jan 05, 2024" << QDate(2024, 2, 1) << false;
        QTest::newRow("not confirmed") << false << "No"
                                       << "N/A" << QDate(2024, 2, 1) << false;
    }
    void overdue() {
        QFETCH(bool, confirmed);
        QFETCH(QString, delivered);
        QFETCH(QString, promised);
        QFETCH(QDate, today);
        QFETCH(bool, overdue);
        QCOMPARE(deliveryOverdue(confirmed, delivered, promised, today), overdue);
    }

    void saleQuantities_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("qty"); // empty: refused
        QTest::newRow("cancelled or empty") << ""
                                            << "01";
        QTest::newRow("blanks") << "  "
                                << "01";
        QTest::newRow("whole") << "3"
                               << "03";
        QTest::newRow("highest") << "999999999"
                                 << "999999999";
        QTest::newRow("words") << "ten"
                               << "";
        QTest::newRow("fraction") << "12.7"
                                  << "";
        QTest::newRow("nothing to sell") << "0"
                                         << "";
        QTest::newRow("negative") << "-4"
                                  << "";
        QTest::newRow("a billion") << "1000000000"
                                   << "";
    }
    void saleQuantities() {
        QFETCH(QString, answer);
        QFETCH(QString, qty);
        QString refusal;
        QCOMPARE(saleQuantity(answer, &refusal).value_or(QString()), qty);
        QCOMPARE(refusal.isEmpty(), !qty.isEmpty());
        if (qty.isEmpty())
            QCOMPARE(refusal, QStringLiteral("Please enter the quantity as a whole number from 1 "
                                             "to 999999999."));
    }

    void merge_data() {
        QTest::addColumn<int>("row"); // the line the picker was opened on
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("isPart");
        QTest::addColumn<int>("count");         // lines afterwards
        QTest::addColumn<QStringList>("line0"); // code, qty, total, delivery
        QTest::addColumn<QStringList>("line1");
        // Before each: line 0 is part 12 (qty 2, 3 days), line 1 part 30 (qty 1).
        QTest::newRow("same part through the entry row")
            << 2 << 12 << true << 2 << QStringList{"0012  P", "07", "$17.50", "3"}
            << QStringList{"0030  P", "01", "$2.50", "3"};
        QTest::newRow("another line's part")
            << 1 << 12 << true << 2 << QStringList{"0012  P", "07", "$17.50", "3"}
            << QStringList{"0030  P", "01", "$2.50", "3"};
        QTest::newRow("own part again")
            << 0 << 12 << true << 2 << QStringList{"0012  P", "05", "$12.50", "9"}
            << QStringList{"0030  P", "01", "$2.50", "3"};
        QTest::newRow("item of the same number")
            << 2 << 12 << false << 3 << QStringList{"0012  P", "02", "$5.00", "3"}
            << QStringList{"0030  P", "01", "$2.50", "3"};
    }
    void merge() {
        QFETCH(int, row);
        QFETCH(int, number);
        QFETCH(bool, isPart);
        QFETCH(int, count);
        QFETCH(QStringList, line0);
        QFETCH(QStringList, line1);
        InvoiceLines lines;
        QVERIFY(lines.place(0, choice(12, true, 2)).appended);
        QVERIFY(lines.place(1, choice(30, true, 1)).appended);
        QVERIFY(!lines.place(0, choice(12, true, 2)).changed); // accepted again as it was
        QVERIFY(lines.place(row, choice(number, isPart, 5, QStringLiteral("$2.50"), 9)).changed);
        QCOMPARE(lines.count(), count);
        const auto cells = [&](int k) {
            const InvoiceLine& l = lines.line(k);
            return QStringList{l[SaleCell::ip_code], l[SaleCell::qty], l[SaleCell::total_price],
                               l[SaleCell::delivery_days]};
        };
        QCOMPARE(cells(0), line0);
        QCOMPARE(cells(1), line1);
    }

    void scrollRange_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("loaded");
        QTest::addColumn<int>("afterAppend"); // -1: the range stays
        QTest::newRow("six") << 6 << 0 << -1;
        QTest::newRow("seven") << 7 << 2 << 2;
        QTest::newRow("twelve") << 12 << 7 << 7;
        QTest::newRow("2998") << 2998 << 2993 << 2993;
        QTest::newRow("2999") << 2999 << 2993 << -1;
        QTest::newRow("full") << 3000 << 2993 << -1;
    }
    void scrollRange() {
        QFETCH(int, count);
        QFETCH(int, loaded);
        QFETCH(int, afterAppend);
        QCOMPARE(InvoiceLines::scrollMaximumForLoaded(count), loaded);
        QCOMPARE(InvoiceLines::scrollMaximumAfterAppend(count).value_or(-1), afterAppend);
        // The grid's last row at the largest scroll value never reads past the table.
        const InvoiceLines lines;
        QCOMPARE(lines.line(loaded + InvoiceLines::visibleRows - 1)[SaleCell::ip_code],
                 QStringLiteral("  "));
    }

    void loadReadsOnlyTheInvoice() {
        addLine(5, 1);
        addLine(6, 2, 3);
        addLine(5, 3, 4);
        InvoiceLines lines;
        QVERIFY(lines.load(*sold, 6));
        QCOMPARE(lines.count(), 1);
        const InvoiceLine& line = lines.line(0);
        // The total is the price shown times the quantity: Save stores the price shown, so the
        // total reads back the same.
        QCOMPARE(QStringList(line.begin(), line.end()),
                 (QStringList{"0002  P", "line 2", "$1.23", "03", "$3.69", "2.5"}));
        QVERIFY(lines.load(*sold, 5));
        QCOMPARE(lines.count(), 2);
        QCOMPARE(lines.line(1)[SaleCell::ip_code], QStringLiteral("0003  P"));
    }

    void loadBeyondCapacity() {
        {
            Transaction t(*db);
            for (int i = 0; i <= InvoiceLines::capacity; ++i)
                addLine(1, i % 100);
            t.commit();
        }
        InvoiceLines lines;
        QVERIFY(!lines.load(*sold, 1));
        QCOMPARE(lines.count(), InvoiceLines::capacity);
    }

    void soldRecords() {
        auto parts = Database::open(QStringLiteral("parts.fdb"), Database::Mode::Create);
        const TableDef* const partTables[] = {&Parts::table};
        createTables(*parts, partTables);
        RecordSet rows(parts, Parts::table);
        QVERIFY(!InvoiceLines::soldRecord(rows, true));
        rows.addNew();
        rows.setField(Parts::part_no, qint64(42));
        rows.setField(Parts::description, QStringLiteral("Hinge"));
        rows.setField(Parts::unit_cost, Money::fromRaw(40000));
        rows.setField(Parts::unit_price, Money::fromRaw(95000));
        rows.setField(Parts::delivery_days, 6.0);
        rows.update();
        // Looked up by number at its selling price, the given record set left where it was.
        QVERIFY(!InvoiceLines::listedRecord(rows, true, 41));
        const auto listed = InvoiceLines::listedRecord(rows, true, 42);
        QVERIFY(listed);
        QCOMPARE(listed->price, Money::fromRaw(95000));
        QCOMPARE(rows.absolutePosition(), -1);
        rows.moveFirst();
        const auto part = InvoiceLines::soldRecord(rows, true);
        QVERIFY(part);
        InvoiceLines lines;
        QVERIFY(lines.appendSale(*part, QStringLiteral("03")));
        const InvoiceLine& line = lines.line(0);
        QCOMPARE(QStringList(line.begin(), line.end()),
                 (QStringList{"0042  P", "Hinge", "$9.50", "03", "$28.50", "1"}));
        QVERIFY(InvoiceLines::codeFits(9999));
        QVERIFY(!InvoiceLines::codeFits(10000));
    }

    void saveReplacesLines() {
        addInvoice(3, 7);
        addInvoice(4, 8);
        addLine(7, 90);
        addLine(8, 80);
        addLine(7, 91);
        InvoiceLines lines;
        QVERIFY(lines.load(*sold, 7));
        lines.place(2, choice(5, false, 1));
        lines.place(0, choice(60, true, 2)); // line 0 replaced: the grid order is 60, 91, 5
        InvoiceBoxes boxes{"0007",  "0003",  "Mar 05, 2001", "N/A", "N/A", "KIM",
                           "$9.99", "$1.00", "8.000 %",      "No",  false};
        lines.save(*sold, *invoices, savedInvoice(boxes), false, 0);
        QCOMPARE(storedLines(7), (QList<qint64>{60, 91, 5}));
        QCOMPARE(storedLines(8), QList<qint64>{80});
        QCOMPARE(invoices->recordCount(), 2);
        invoices->moveFirst();
        QCOMPARE(invoices->field(SalesInvoices::amount_owed), Value(Money::fromRaw(99900)));
        QCOMPARE(invoices->field(SalesInvoices::update_date), Value(QDate(2001, 3, 5)));
        QCOMPARE(invoices->field(SalesInvoices::salesperson), Value("KIM"));
        QVERIFY(invoices->field(SalesInvoices::confirmed_date).isNull());
        QCOMPARE(invoices->field(SalesInvoices::tax_percent), Value(8.0f));
    }

    void saveNewConfirmed() {
        InvoiceLines lines;
        lines.place(0, choice(1, true, 1));
        InvoiceBoxes boxes{"0000", "0002",  "Jan 01, 2024", "Jan 02, 2024", "Jan 07, 2024",
                           " ",    "$2.50", "$0.00",        "0.000%",       "No",
                           true};
        lines.save(*sold, *invoices, savedInvoice(boxes), true, -3);
        QCOMPARE(invoices->recordCount(), 1);
        invoices->moveFirst();
        QCOMPARE(invoices->field(SalesInvoices::cust_no), Value(qint64(2)));
        QCOMPARE(invoices->field(SalesInvoices::confirmed_date), Value(QDate(2024, 1, 2)));
        QCOMPARE(invoices->field(SalesInvoices::delivery_date), Value(QDate(2024, 1, 7)));
        QCOMPARE(invoices->field(SalesInvoices::confirmed), Value(true));
        QCOMPARE(storedLines(0), QList<qint64>{1});
    }

    void failedSaveChangesNothing() {
        addInvoice(3, 7);
        addLine(7, 90);
        db->execute("CREATE TRIGGER refuse BEFORE UPDATE ON sales_invoices "
                    "BEGIN SELECT RAISE(ABORT, 'refused by test'); END");
        InvoiceLines lines;
        QVERIFY(lines.load(*sold, 7));
        lines.place(1, choice(5, true, 1));
        InvoiceBoxes boxes{"0007",  "0003",  "Mar 05, 2001", "N/A", "N/A", "KIM",
                           "$9.99", "$1.00", "8.000 %",      "No",  false};
        QVERIFY_THROWS_EXCEPTION(DbError,
                                 lines.save(*sold, *invoices, savedInvoice(boxes), false, 0));
        QCOMPARE(storedLines(7), QList<qint64>{90});
        QCOMPARE(sold->recordCount(), 1);
        invoices->moveFirst();
        QCOMPARE(invoices->field(SalesInvoices::amount_owed), Value(Money::fromRaw(10000)));
    }
};

QTEST_GUILESS_MAIN(TestInvoiceRules)
#include "tst_invoicerules.moc"
