// The customer editor and the invoice list, driven through their controls by name over a real
// business's customer and sales tables, and the removal of a customer.
#include "support/businessfixture.h"

#include "core/common/clock.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/sales/customerrules.h"
#include "core/sales/salestables.h"
#include "gui/finder/databaseview.h"
#include "gui/sales/custpage.h"
#include "gui/sales/showinvoices.h"
#include "gui/sales/viewinvoice.h"
#include "gui/widgets/unsavedwork.h"
#include "support/modal.h"
#include "support/modaldriver.h"
#include "support/useractions.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {
struct Invoice {
    qint64 cust = 12;
    qint64 no = 0;
    QDate updated = QDate(2001, 3, 5);
    qint64 owed = 0; // ten-thousandths
    qint64 paid = 0;
};

QStringList shownLines(const showinvoices& list) {
    QStringList texts;
    for (int i = 0; i < list.List1->count(); ++i)
        texts << list.List1->item(i)->text();
    return texts;
}

// A click on a line of the finder's number column, as the user picks a line.
void clickLine(databaseview& finder, int line) {
    QListView* view = finder.List1[0];
    const QRect spot = view->visualRect(view->model()->index(line, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, spot.center());
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}
} // namespace

class TestCustomerWindows : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<BusinessFixture> f;
    bool realBoxes = false;

    ScriptedPrompts& prompts() { return f->prompts(); }
    RecordSet& customers() { return f->connection(Business::customers); }
    RecordSet& invoices() { return f->connection(Business::sales_invoices); }

    void addCustomer(qint64 number, const QString& first = QStringLiteral("John"),
                     const QString& last = QStringLiteral("Smith")) {
        RecordSet& rs = customers();
        rs.addNew();
        const std::vector<Value> row = {
            number,        first,     last, QDate(2001, 3, 5), Money::fromRaw(2505000),
            "1 Mill Road", "555-0101"};
        for (int column = 0; column < Customers::columnCount; ++column)
            rs.setField(column, row[size_t(column)]);
        rs.update();
    }

    void addInvoice(const Invoice& invoice) {
        RecordSet& rs = invoices();
        rs.addNew();
        rs.setField(SalesInvoices::cust_no, invoice.cust);
        rs.setField(SalesInvoices::invoice_no, invoice.no);
        rs.setField(SalesInvoices::update_date, invoice.updated);
        rs.setField(SalesInvoices::amount_paid, Money::fromRaw(invoice.paid));
        rs.setField(SalesInvoices::amount_owed, Money::fromRaw(invoice.owed));
        rs.setField(SalesInvoices::confirmed, false);
        rs.update();
    }

    std::vector<Value> storedCustomer(int position) {
        RecordSet& rs = customers();
        rs.moveFirst();
        rs.move(position);
        std::vector<Value> row;
        for (int column = 0; column < Customers::columnCount; ++column)
            row.push_back(rs.field(column));
        return row;
    }

    // The editor with the hand-over of the customer list's "Add New customer" (newcust -1) or
    // "Edit customer" on a line, but not modally, so that the test drives it step by step.
    custpage& open(qint16 newcust, int line = 0) {
        databaseview& finder = f->showList(1);
        if (newcust == 0 && finder.lineCount() > 0)
            clickLine(finder, line);
        custpage& page = custpage::get(f->business());
        page.newcust = newcust;
        page.max = finder.max;
        page.numbersLeft = finder.numbersLeft();
        page.load();
        page.show();
        return page;
    }
    showinvoices& openList(qint16 cust, const QString& cname = QStringLiteral("DOE, Jo")) {
        showinvoices& list = showinvoices::get(f->business());
        list.cust = cust;
        list.cname = cname;
        list.load();
        list.show();
        return list;
    }
    template <class T = QLineEdit> T* control(const QString& name) {
        custpage* page = custpage::loaded();
        T* found = page ? page->findChild<T*>(name) : nullptr;
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit* field(int i) { return control(QStringLiteral("Text1(%1)").arg(i)); }
    QPushButton* button(int i) {
        return control<QPushButton>(QStringLiteral("Command1(%1)").arg(i));
    }
    QCalendarWidget* calendar() { return control<QCalendarWidget>(QStringLiteral("Calendar1")); }
    void pick(const QDate& date) {
        QTest::mouseClick(field(5), Qt::LeftButton);
        calendar()->setSelectedDate(date);
        QTest::keyClick(calendar()->findChild<QTableView*>(), Qt::Key_Return);
    }
    void fill(const QStringList& texts, const QDate& born) {
        for (int i = 1; i <= 4; ++i)
            field(i)->setText(texts[i - 1]);
        pick(born);
    }
    void pressSave(const QString& message) {
        prompts().expectMessage(message);
        click(button(0));
        QVERIFY2(prompts().done(), qPrintable(prompts().report()));
    }
    void refused(const QString& message) {
        const int rows = customers().recordCount();
        pressSave(message);
        QVERIFY(custpage::loaded());
        QCOMPARE(customers().recordCount(), rows);
    }
    // Runs the action, which opens the invoice editor; notes what it got and closes it.
    std::optional<std::pair<qint16, qint16>> editorOpenedBy(const std::function<void()>& action) {
        std::optional<std::pair<qint16, qint16>> opened;
        whenShown<viewinvoice>([&opened](viewinvoice& editor) {
            opened = {editor.rec, editor.sell};
            click(editor.Command1[2]);
        });
        action();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return opened;
    }

private slots:
    void init() {
        f = std::make_unique<BusinessFixture>();
        appclock::setToday(QDate(2024, 2, 29));
    }
    void cleanup() {
        closeModalWindows();
        // A test with the real boxes checks its own driver.
        const bool promptsDone = realBoxes || prompts().done();
        const QString report = realBoxes ? QString() : prompts().report();
        realBoxes = false;
        f.reset();
        appclock::setToday(std::nullopt);
        QVERIFY2(promptsDone, qPrintable(report));
    }

    // --- customer editor

    void loadShowsFields_data() {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<qint16>("newcust");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("new, empty table") << QList<int>{} << qint16(-1) << "Add New customer"
                                          << QStringList{"0000", "", "", "", "", "", "$0.00"};
        QTest::newRow("new, highest not last")
            << QList<int>{37, 5} << qint16(-1) << "Add New customer"
            << QStringList{"0038", "", "", "", "", "", "$0.00"};
        QTest::newRow("edit") << QList<int>{12} << qint16(0) << "Edit/View customer"
                              << QStringList{"0012",     "John",         "Smith",  "1 Mill Road",
                                             "555-0101", "Mar 05, 2001", "$250.50"};
    }
    void loadShowsFields() {
        QFETCH(QList<int>, numbers);
        QFETCH(qint16, newcust);
        QFETCH(QString, caption);
        QFETCH(QStringList, shown);
        for (int number : numbers)
            addCustomer(number);
        custpage& page = open(newcust);
        QCOMPARE(page.windowTitle(), caption);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(field(i)->text(), shown[i]);
        QVERIFY(!field(0)->isEnabled());
        QVERIFY(!calendar()->isVisible());
    }

    void calendarOpensOnFieldDate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QDate>("shown");
        QTest::newRow("empty field: its own date") << "" << false << QDate(2024, 2, 29);
        QTest::newRow("field's date") << "Mar 05, 2001" << false << QDate(2001, 3, 5);
        QTest::newRow("double click") << "Mar 05, 2001" << true << QDate(2001, 3, 5);
        QTest::newRow("typed text: its own date") << "soon" << false << QDate(2024, 2, 29);
        // Nobody is born later than today: the calendar offers no later day.
        QTest::newRow("after today: today") << "Mar 05, 2030" << false << QDate(2024, 2, 29);
    }
    void calendarOpensOnFieldDate() {
        QFETCH(QString, text);
        QFETCH(bool, doubleClick);
        QFETCH(QDate, shown);
        custpage& page = open(-1);
        field(5)->setText(text);
        if (doubleClick)
            QTest::mouseDClick(field(5), Qt::LeftButton);
        else
            QTest::mouseClick(field(5), Qt::LeftButton);
        QVERIFY(calendar()->isVisible());
        QCOMPARE(calendar()->selectedDate(), shown);
        QCOMPARE(page.focusWidget(), button(0));
    }

    void otherClicksHideCalendar_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("first name") << "Text1(1)" << false;
        QTest::newRow("double click on last name") << "Text1(2)" << true;
        QTest::newRow("number, disabled") << "Text1(0)" << false;
        QTest::newRow("label") << "Label1(3)" << false;
        QTest::newRow("form") << "custpage" << false;
        QTest::newRow("double click on form") << "custpage" << true;
        QTest::newRow("Save button") << "Command1(0)" << false;
    }
    void otherClicksHideCalendar() {
        QFETCH(QString, target);
        QFETCH(bool, doubleClick);
        custpage& page = open(-1);
        QTest::mouseClick(field(5), Qt::LeftButton);
        QVERIFY(calendar()->isVisible());
        QWidget* widget = target == page.objectName() ? &page : control<QWidget>(target);
        const QPoint spot = widget == &page ? QPoint(2, 2) : QPoint(); // no control there
        if (target.startsWith(QLatin1String("Command1")))
            prompts().expectMessage(customerrules::incomplete);
        if (doubleClick)
            QTest::mouseDClick(widget, Qt::LeftButton, {}, spot);
        else
            QTest::mouseClick(widget, Qt::LeftButton, {}, spot);
        QVERIFY(!calendar()->isVisible());
        QVERIFY(field(5)->text().isEmpty());
    }

    void pickingWritesDateAndHides() {
        open(-1);
        pick(QDate(1990, 7, 9));
        QCOMPARE(field(5)->text(), QStringLiteral("Jul 09, 1990"));
        QVERIFY(!calendar()->isVisible());
    }

    void saveStoresAllColumns_data() {
        QTest::addColumn<qint16>("newcust");
        QTest::addColumn<int>("position");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<Money>("total");
        QTest::newRow("new") << qint16(-1) << 2 << qint64(13) << Money();
        QTest::newRow("edit") << qint16(0) << 1 << qint64(12) << Money::fromRaw(2505000);
    }
    void saveStoresAllColumns() {
        QFETCH(qint16, newcust);
        QFETCH(int, position);
        QFETCH(qint64, number);
        QFETCH(Money, total);
        addCustomer(3, QStringLiteral("Ann"), QStringLiteral("Lee"));
        addCustomer(12);
        // Opened from the customer list, which is rebuilt when the editor has closed.
        databaseview& finder = f->showList(1);
        if (newcust == 0)
            clickLine(finder, 1);
        ModalDriver driver;
        driver.expectWindow(QStringLiteral("custpage"), [&](QWidget*) {
            fill({"Bo", "Zed", "9 Elm", "555-0000"}, QDate(1990, 7, 9));
            pressSave(QStringLiteral("saved. "));
        });
        click(finder.Command1[newcust == 0 ? 1 : 0]);
        QVERIFY2(driver.done(), qPrintable(driver.report()));
        QVERIFY(!custpage::loaded());
        QCOMPARE(customers().recordCount(), position + 1);
        const std::vector<Value> expected = {number, "Bo",    "Zed",     QDate(1990, 7, 9),
                                             total,  "9 Elm", "555-0000"};
        QCOMPARE(storedCustomer(position), expected);
        QCOMPARE(storedCustomer(0)[Customers::first_name], Value("Ann"));
        // The finder's list was rebuilt with the change, with no line selected.
        QCOMPARE(databaseview::loaded(), &finder);
        QCOMPARE(finder.cellText(2, position), QStringLiteral("Zed"));
        QCOMPARE(finder.max, qint16(13 + (newcust != 0)));
        QCOMPARE(finder.selectedLine(), -1);
    }

    void saveRefused_data() {
        QTest::addColumn<qint16>("newcust");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("new without a date") << qint16(-1) << 1 << "Bo" << customerrules::incomplete;
        QTest::newRow("empty first name") << qint16(0) << 1 << "" << customerrules::incomplete;
        QTest::newRow("typed text for a date")
            << qint16(0) << 5 << "last spring" << customerrules::badBirthDate;
        QTest::newRow("no such day")
            << qint16(0) << 5 << "Feb 30, 2001" << customerrules::badBirthDate;
        QTest::newRow("after today")
            << qint16(0) << 5 << "Mar 01, 2024" << customerrules::futureBirthDate;
    }
    void saveRefused() {
        QFETCH(qint16, newcust);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, message);
        addCustomer(3);
        open(newcust);
        for (int i = 2; i <= 4; ++i)
            field(i)->setText(QStringLiteral("x"));
        field(index)->setText(text);
        refused(message);
        QCOMPARE(storedCustomer(0)[Customers::dob], Value(QDate(2001, 3, 5)));
        QCOMPARE(storedCustomer(0)[Customers::last_name], Value("Smith"));
    }

    void numbersUsedUp() {
        addCustomer(32767);
        open(-1);
        fill({"Bo", "Zed", "9 Elm", "555-0000"}, QDate(1990, 7, 9));
        refused(customerrules::numbersUsedUp);
    }

    void engineErrorStoresNothing_data() {
        QTest::addColumn<qint16>("newcust");
        QTest::newRow("new") << qint16(-1);
        QTest::newRow("edit") << qint16(0);
    }
    void engineErrorStoresNothing() {
        QFETCH(qint16, newcust);
        addCustomer(3);
        for (const char* trigger : {"CREATE TRIGGER a BEFORE INSERT ON Customers BEGIN SELECT "
                                    "RAISE(ABORT, 'refused by test'); END;",
                                    "CREATE TRIGGER b BEFORE UPDATE ON Customers BEGIN SELECT "
                                    "RAISE(ABORT, 'refused by test'); END;"})
            customers().database().execute(trigger);
        open(newcust);
        fill({"Bo", "Zed", "9 Elm", "555-0000"}, QDate(1990, 7, 9));
        refused(
            DbError(customers().database().path(), QStringLiteral("refused by test")).message());
        QVERIFY(!customers().isEditing());
        QCOMPARE(storedCustomer(0)[Customers::first_name], Value("John"));
    }

    // Close, Esc and the close box ask before changes are given up; No keeps the editor, Yes
    // closes it. Nothing changed (or typed back as it was), nothing is asked; nothing is stored.
    void unsavedChangesAsked_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("closeBy");
        QTest::addColumn<bool>("asked");
        QTest::newRow("nothing, Close") << "nothing"
                                        << "Close" << false;
        QTest::newRow("typed back, Esc") << "typed back"
                                         << "Esc" << false;
        QTest::newRow("first name, Close") << "first name"
                                           << "Close" << true;
        QTest::newRow("date picked, Esc") << "date"
                                          << "Esc" << true;
        QTest::newRow("first name, close box") << "first name"
                                               << "close box" << true;
    }
    void unsavedChangesAsked() {
        QFETCH(QString, change);
        QFETCH(QString, closeBy);
        QFETCH(bool, asked);
        f.reset();
        f = std::make_unique<BusinessFixture>(BusinessFixture::Contents::Empty,
                                              BusinessFixture::Boxes::Real);
        realBoxes = true;
        addCustomer(3);
        databaseview& finder = f->showList(1);
        clickLine(finder, 0);
        ModalDriver driver;
        bool keptByNo = false;
        driver.expectWindow(QStringLiteral("custpage"), [&](QWidget* w) {
            auto* page = static_cast<custpage*>(w);
            if (change == QLatin1String("date")) {
                pick(QDate(1990, 7, 9));
            } else if (change != QLatin1String("nothing")) {
                user::type(page->Text1[1], QStringLiteral("x"));
                if (change == QLatin1String("typed back"))
                    user::press(Qt::Key_Backspace);
            }
            user::closeWindow(page, page->Command1[1], closeBy);
            if (!asked)
                return;
            keptByNo = custpage::loaded() == page && page->isVisible();
            user::closeWindow(page, page->Command1[1], closeBy);
        });
        if (asked) {
            driver.expectQuestion(unsavedwork::question, QString(), false);
            driver.expectQuestion(unsavedwork::question, QString(), true);
        }
        user::click(finder.Command1[1]);
        QVERIFY2(driver.done(), qPrintable(driver.report()));
        QCOMPARE(keptByNo, asked);
        QVERIFY(!custpage::loaded());
        QCOMPARE(storedCustomer(0)[Customers::first_name], Value("John"));
        QCOMPARE(storedCustomer(0)[Customers::dob], Value(QDate(2001, 3, 5)));
    }

    void customerSalesOfUnsavedCustomer() {
        addCustomer(37);
        addInvoice({.cust = 37});
        open(-1);
        field(1)->setText(QStringLiteral("Ann"));
        field(2)->setText(QStringLiteral("  Lee "));
        QStringList seen;
        whenShown<showinvoices>([&seen](showinvoices& list) {
            seen << QString::number(list.cust) << list.cname << list.Label1->text()
                 << QString::number(list.List1->count());
            click(list.Command1[1]);
        });
        click(button(2));
        QCOMPARE(seen, (QStringList{"38", "Lee, Ann", "Cust: # 38 Has no invoices", "0"}));
        QVERIFY(custpage::loaded());
    }

    void deleteCustomer_data() {
        QTest::addColumn<qint64>("owner"); // of a second invoice; -1 none
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("no invoices, yes") << qint64(-1) << true << true;
        QTest::newRow("no invoices, no") << qint64(-1) << false << false;
        QTest::newRow("has an invoice") << qint64(12) << true << false;
    }
    void deleteCustomer() {
        QFETCH(qint64, owner);
        QFETCH(bool, answer);
        QFETCH(bool, deleted);
        addCustomer(7, QStringLiteral("A"), QStringLiteral("First"));
        addCustomer(12, QStringLiteral("B"), QStringLiteral("Middle"));
        addCustomer(20, QStringLiteral("C"), QStringLiteral("Last"));
        addInvoice({.cust = 20});
        if (owner >= 0)
            addInvoice({.cust = owner, .no = 1});
        customers().moveFirst();
        customers().move(1);
        if (owner == 12)
            prompts().expectMessage(customerrules::hasInvoices);
        else
            prompts().expectQuestion(QStringLiteral("Are you sure"),
                                     QStringLiteral("deleting customer"), answer);
        QCOMPARE(customerrules::deleteSelectedCustomer(customers(), invoices()), deleted);
        QStringList left;
        for (customers().moveFirst(); !customers().eof(); customers().moveNext())
            left << customers().field(Customers::last_name).toText();
        QCOMPARE(left, deleted ? QStringList({"First", "Last"})
                               : QStringList({"First", "Middle", "Last"}));
    }

    void deleteEngineErrorKeepsRow() {
        addCustomer(7);
        customers().database().execute("CREATE TRIGGER c BEFORE DELETE ON Customers BEGIN SELECT "
                                       "RAISE(ABORT, 'refused by test'); END;");
        customers().moveFirst();
        prompts().expectQuestion(QStringLiteral("Are you sure"),
                                 QStringLiteral("deleting customer"), true);
        prompts().expectMessage(
            DbError(customers().database().path(), QStringLiteral("refused by test")).message());
        QVERIFY(!customerrules::deleteSelectedCustomer(customers(), invoices()));
        QCOMPARE(customers().recordCount(), 1);
    }

    // --- invoice list

    void statusLine_data() {
        QTest::addColumn<qint16>("cust");
        QTest::addColumn<QList<int>>("customers");
        QTest::addColumn<QList<int>>("owners"); // one invoice each, in table order
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("count");
        QTest::newRow("customer with three")
            << qint16(12) << QList<int>{12, 4} << QList<int>{12, 4, 12, 12}
            << "Cust: #12 has  3 invoice(s)   Balance due: $0.00" << 3;
        QTest::newRow("customer without") << qint16(12) << QList<int>{12, 4} << QList<int>{4, 4}
                                          << "Cust: # 12 Has no invoices" << 0;
        QTest::newRow("all with seven")
            << qint16(-1) << QList<int>{12, 4} << QList<int>{12, 4, 4, 12, 12, 4, 4}
            << "Total invoices:  7   Balance due: $0.00" << 7;
        QTest::newRow("all without")
            << qint16(-1) << QList<int>{12} << QList<int>{} << "No invoice records" << 0;
        QTest::newRow("all without customers")
            << qint16(-1) << QList<int>{} << QList<int>{12, 4} << "No invoice records" << 0;
    }
    void statusLine() {
        QFETCH(qint16, cust);
        QFETCH(QList<int>, customers);
        QFETCH(QList<int>, owners);
        QFETCH(QString, status);
        QFETCH(int, count);
        for (int number : customers)
            addCustomer(number);
        for (int i = 0; i < owners.size(); ++i)
            addInvoice({.cust = owners[i], .no = i});
        showinvoices& list = openList(cust);
        QCOMPARE(list.Label1->text(), status);
        QCOMPARE(list.List1->count(), count);
        QCOMPARE(list.List2.size(), size_t(count));
    }

    // Lines follow the table's order; an invoice of a customer who is gone has no tag, and
    // customers 1000 and 10000 are told apart.
    void listLines_data() {
        QTest::addColumn<qint16>("cust");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one customer")
            << qint16(12) << "PO/Invoices of customer:  0012 -> DOE, Jo"
            << QStringList{
                   "12345:        31/12/2023            $0.13          Paid  $10.00          "
                   "Due  -$9.88",
                   "0007:        05/03/2001            $1234.50          Paid  $0.00          "
                   "Due  $1234.50"};
        QTest::newRow("all customers")
            << qint16(-1) << "PO/Invoices for ALL Customers"
            << QStringList{
                   "12345:        31/12/2023            $0.13         Paid  $10.00         "
                   "C0012:  VANDERBI,J  Due  -$9.88",
                   "0008:        01/01/2024            $0.00         Paid  $0.00         "
                   "C10000:  O,A        Due  $0.00",
                   "0009:        05/03/2001            $0.00         Paid  $0.00         "
                   "                    Due  $0.00",
                   "0007:        05/03/2001            $1234.50         Paid  $0.00         "
                   "C0012:  VANDERBI,J  Due  $1234.50"};
    }
    void listLines() {
        QFETCH(qint16, cust);
        QFETCH(QString, caption);
        QFETCH(QStringList, expected);
        addCustomer(12, QStringLiteral("jane"), QStringLiteral("Vanderbilt"));
        addCustomer(1000, QStringLiteral("Bo"), QStringLiteral("Thousand"));
        addCustomer(10000, QStringLiteral("al"), QStringLiteral("o"));
        addInvoice({.cust = 12,
                    .no = 12345,
                    .updated = QDate(2023, 12, 31),
                    .owed = 1250,
                    .paid = 100000});
        addInvoice({.cust = 10000, .no = 8, .updated = QDate(2024, 1, 1)});
        addInvoice({.cust = 99, .no = 9});
        addInvoice({.cust = 12, .no = 7, .owed = 12345000});
        showinvoices& list = openList(cust);
        QCOMPARE(shownLines(list), expected);
        QCOMPARE(list.windowTitle(), caption);
        QCOMPARE(list.Command1[2]->isVisible(), cust >= 0); // "New Invoice"
    }

    void openingTheEditor_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("line");   // -1 none selected
        QTest::addColumn<qint16>("rec"); // -1 the editor does not open
        // Line 1 is the row at position 3: other customers' rows are skipped in the list.
        QTest::newRow("View/Edit second line") << "view" << 1 << qint16(3);
        QTest::newRow("View/Edit without selection") << "view" << -1 << qint16(-1);
        QTest::newRow("double click") << "double" << 0 << qint16(1);
        QTest::newRow("New Invoice") << "new" << -1 << qint16(-13);
    }
    void openingTheEditor() {
        QFETCH(QString, how);
        QFETCH(int, line);
        QFETCH(qint16, rec);
        for (int owner : {4, 12, 4, 12})
            addInvoice({.cust = owner});
        showinvoices& list = openList(12);
        if (line >= 0)
            list.List1->setCurrentRow(line);
        const auto opened = editorOpenedBy([&] {
            if (how == QLatin1String("view")) {
                click(list.Command1[0]);
            } else if (how == QLatin1String("new")) {
                click(list.Command1[2]);
            } else {
                QWidget* view = list.List1->viewport();
                const QPoint spot = list.List1->visualItemRect(list.List1->item(line)).center();
                // A real double click starts with a press, which the list needs first.
                QTest::mouseClick(view, Qt::LeftButton, {}, spot);
                QTest::mouseDClick(view, Qt::LeftButton, {}, spot);
            }
        });
        if (rec == -1) {
            QVERIFY(!opened);
            QVERIFY(showinvoices::loaded());
            return;
        }
        QVERIFY(opened);
        QCOMPARE(*opened, std::make_pair(rec, qint16(1)));
        QVERIFY(!showinvoices::loaded()); // closing the editor closed the list too
    }
};

QTEST_MAIN(TestCustomerWindows)
#include "tst_custpage.moc"
