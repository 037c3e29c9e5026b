// The invoice editor driven through its controls: new and stored invoices, lines from the
// picker and from a sale in the data finder, total and tax, confirmation, delivery and save.
#include "support/businessfixture.h"

#include "core/catalogue/partstable.h"
#include "core/common/clock.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemtables.h"
#include "core/sales/invoicerules.h"
#include "core/sales/salestables.h"
#include "gui/finder/databaseview.h"
#include "gui/finder/getpart.h"
#include "gui/sales/showinvoices.h"
#include "gui/sales/viewinvoice.h"
#include "gui/widgets/unsavedwork.h"
#include "support/modal.h"
#include "support/modaldriver.h"
#include "support/useractions.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

namespace {

const QDate today(2001, 3, 5);

struct StoredInvoice {
    qint64 cust = 1;
    qint64 number = 0;
    bool confirmed = false;
    QDate delivery = QDate();
    bool delivered = false;
    float tax = 0;
};

QStringList gridRow(const viewinvoice& v, int r) {
    return {v.Text2[r]->text(), v.Text3[r]->text(), v.Text4[r]->text(), v.Text5[r]->text(),
            v.Text6[r]->text()};
}

bool active(const viewinvoice& v, int r) {
    return v.Text2[r]->cursor().shape() != Qt::CrossCursor;
}

QStringList cells(const InvoiceLine& line) {
    return QStringList(line.begin(), line.end());
}

// Greyed rows must stand out from an empty white box.
bool plainGrey(const QColor& colour) {
    return colour.hslSaturation() < 16 && colour.lightness() < 225;
}

bool shownActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
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

// A candidate of the picker chosen as the user does: the list opened, its line clicked.
void chooseCandidate(getpart& p, int line) {
    click(p.Text1[2]);
    const QRect spot = p.List2->visualItemRect(p.List2->item(line));
    QTest::mouseClick(p.List2->viewport(), Qt::LeftButton, {}, spot.center());
}

const QString taxRefusal = QStringLiteral("Please enter the tax rate as a number from 0 to 100.");
const QString qtyRefusal =
    QStringLiteral("Please enter the quantity as a whole number from 1 to 999999999.");

} // namespace

class TestViewinvoice : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;
    std::unique_ptr<ModalDriver> boxes_; // with the real boxes

    ScriptedPrompts& prompts() { return f->prompts(); }
    // The business afresh, its boxes the program's own, answered by the driver.
    ModalDriver& realBoxes() {
        f.reset();
        f = std::make_unique<BusinessFixture>(BusinessFixture::Contents::Empty,
                                              BusinessFixture::Boxes::Real);
        boxes_ = std::make_unique<ModalDriver>();
        return *boxes_;
    }

    // A part that costs $1.00 and sells at the price.
    void addPricedPart(qint64 number, double price) const {
        f->addPart(number, QStringLiteral("bearing"), price);
        RecordSet parts(f->filePath(QStringLiteral("parts.fdb")), Parts::table);
        parts.moveFirst();
        parts.move(parts.findAll(Parts::part_no, number).front());
        parts.edit();
        parts.setField(Parts::unit_cost, Money::fromRaw(10000));
        parts.update();
    }

    void writeTax(float percent) { f->writeSettings(BusinessFixture::rates(0, 0, 0, 0, percent)); }

    void addInvoice(const StoredInvoice& s) const {
        using namespace SalesInvoices;
        RecordSet rows(f->filePath(QStringLiteral("cust.fdb")), table);
        rows.addNew();
        rows.setField(cust_no, s.cust);
        rows.setField(invoice_no, s.number);
        rows.setField(update_date, QDate(2000, 1, 2));
        rows.setField(amount_paid, Money());
        rows.setField(amount_owed, Money::fromRaw(10000));
        rows.setField(confirmed, s.confirmed);
        if (s.confirmed) {
            rows.setField(confirmed_date, QDate(2000, 1, 3));
            rows.setField(delivery_date, s.delivery);
        }
        rows.setField(tax_percent, s.tax);
        rows.setField(delivered, s.delivered);
        rows.setField(salesperson, QStringLiteral("kim"));
        rows.update();
    }

    void addLines(qint64 invoice, int count, int firstNumber = 1, bool isPart = true,
                  float days = 2) const {
        using namespace ItemsPerSale;
        RecordSet rows(f->filePath(QStringLiteral("cust.fdb")), table);
        Transaction transaction(rows.database());
        for (int i = 0; i < count; ++i) {
            rows.addNew();
            rows.setField(invoice_no, invoice);
            rows.setField(part_flag, isPart);
            rows.setField(ip_no, qint64(firstNumber + i));
            rows.setField(delivery_days, days);
            rows.setField(qty, qint64(2));
            rows.setField(unit_price, Money::fromRaw(25000));
            rows.setField(description, QStringLiteral("thing %1").arg(firstNumber + i));
            rows.update();
        }
        transaction.commit();
    }

    // "number@invoice" of every stored line, in table order.
    QStringList storedLines() const {
        RecordSet rows(f->filePath(QStringLiteral("cust.fdb")), ItemsPerSale::table);
        QStringList lines;
        for (rows.moveFirst(); !rows.eof(); rows.moveNext())
            lines << QStringLiteral("%1@%2")
                         .arg(rows.field(ItemsPerSale::ip_no).toInt64())
                         .arg(rows.field(ItemsPerSale::invoice_no).toInt64());
        return lines;
    }

    Value storedInvoice(int position, int column) const {
        RecordSet rows(f->filePath(QStringLiteral("cust.fdb")), SalesInvoices::table);
        rows.moveFirst();
        rows.move(position);
        return rows.field(column);
    }

    // The editor loaded as its openers load it, but not run modally, so that the test drives it
    // step by step.
    viewinvoice& open(qint16 rec, qint16 sell = 1) {
        viewinvoice& v = viewinvoice::get(f->business());
        v.rec = rec;
        v.sell = sell;
        v.load();
        return v;
    }

    // The picker hands a choice back, as "Add I/P" does.
    void pick(viewinvoice& v, int row, int number, const QString& price, const QString& qty,
              float days = 1, bool isPart = true) {
        getpart& p = getpart::get(f->business());
        p.is_part = isPart ? -1 : 0;
        p.Text1[2]->setText(format(number, QStringLiteral("0000")) + QStringLiteral("     thing"));
        p.Text1[3]->setText(price);
        p.Text1[4]->setText(qty);
        p.cur_hours = days;
        v.adder(qint16(row));
    }

private slots:
    void init() {
        f = std::make_unique<BusinessFixture>();
        appclock::setToday(today);
    }
    void cleanup() {
        closeModalWindows();
        const bool done = boxes_ ? boxes_->done() : prompts().done();
        const QString report = boxes_ ? boxes_->report() : prompts().report();
        boxes_.reset();
        f.reset();
        appclock::setToday(std::nullopt);
        QVERIFY2(done, qPrintable(report));
    }

    void newInvoiceNumberedOverAllCustomers() {
        addInvoice({.cust = 0, .number = 4});
        addInvoice({.cust = 3, .number = 9});
        writeTax(8.25f);
        viewinvoice& v = open(-6);
        QCOMPARE(v.windowTitle(), QStringLiteral("New Invoice for customer 0005"));
        QStringList header;
        for (QLineEdit* field : v.Text1)
            header << field->text();
        QCOMPARE(header, (QStringList{"0010", "0005", "Mar 05, 2001", "n/a", "n/a", " ", "$0.00",
                                      "$0.00", "8.250 %", "No"}));
        QVERIFY(!v.Text1[9]->isEnabled());

        // Eight empty rows, of which only the entry row can be clicked.
        for (int r = 0; r < 8; ++r) {
            QCOMPARE(gridRow(v, r), QStringList(5, QStringLiteral("  ")));
            QCOMPARE(active(v, r), r == 0);
        }
        QCOMPARE(v.Text3[0]->cursor().shape(), Qt::WhatsThisCursor);
        QCOMPARE(v.Text5[0]->palette().color(QPalette::Base), QColor(255, 224, 192));
        QVERIFY(plainGrey(v.Text5[1]->palette().color(QPalette::Base)));
        QVERIFY(!plainGrey(v.Text5[0]->palette().color(QPalette::Base)));
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        QTest::mouseClick(v.Text4[3], Qt::LeftButton);
        QVERIFY(!getpart::loaded());
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), v.Text3[2]->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(v.Text3[2], &move);
        QCOMPARE(v.Text3[2]->toolTip(), QStringLiteral("max delivery is    days"));

        prompts().expectMessage(QStringLiteral("Please fill in one item to buy"));
        click(v.Command1[0]);
        QCOMPARE(viewinvoice::loaded(), &v);
        QCOMPARE(storedLines(), QStringList());
    }

    void numbersUsedUp() {
        addInvoice({.number = invoicerules::highestInvoiceNumber});
        prompts().expectMessage(invoicerules::numbersExhaustedMessage());
        viewinvoice& v = viewinvoice::get(f->business());
        v.rec = -1;
        QVERIFY(!v.load());
        QVERIFY(!viewinvoice::loaded());
        QCOMPARE(v.runModal(), int(QDialog::Rejected));
        QVERIFY(!v.isVisible());
    }

    void samePartTwiceAndScrolling() {
        viewinvoice& v = open(-1);
        pick(v, 0, 12, QStringLiteral("$2.50"), QStringLiteral("2"));
        pick(v, 1, 12, QStringLiteral("$2.50"), QStringLiteral("3"));
        QCOMPARE(v.cnt, qint16(1));
        QCOMPARE(gridRow(v, 0), (QStringList{"0012  P", "thing", "$2.50", "05", "$12.50"}));
        QCOMPARE(v.Text3[0]->cursorPosition(), 0); // a long description shows its start
        for (int n = 2; n <= 6; ++n)
            pick(v, v.cnt, n, QStringLiteral("$1.00"), QStringLiteral("1"));
        QCOMPARE(v.cnt, qint16(6));
        QCOMPARE(v.VScroll1->maximum(), 0);
        QCOMPARE(v.VScroll1->value(), 0);
        QVERIFY(active(v, 6) && !active(v, 7));
        // The seventh line already scrolls, so the entry row stays in view.
        pick(v, v.cnt, 7, QStringLiteral("$1.00"), QStringLiteral("1"));
        QCOMPARE(v.VScroll1->maximum(), 2);
        QCOMPARE(v.VScroll1->value(), 1);
        QCOMPARE(v.Text2[5]->text(), QStringLiteral("0007  P"));
        QVERIFY(active(v, 6) && !active(v, 7));
    }

    void storedScrollRange_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("maximum");
        QTest::newRow("six") << 6 << 0;
        QTest::newRow("seven") << 7 << 2;
        QTest::newRow("twelve") << 12 << 7;
    }
    void storedScrollRange() {
        QFETCH(int, count);
        QFETCH(int, maximum);
        addInvoice({.number = 3});
        addLines(3, count);
        viewinvoice& v = open(0);
        QCOMPARE(v.cnt, qint16(count));
        QCOMPARE(v.VScroll1->maximum(), maximum);
        QCOMPARE(v.VScroll1->value(), 0);
        v.VScroll1->setValue(maximum);
        const int entry = count - maximum; // the grid row of the entry row
        QVERIFY(entry < 8);
        QCOMPARE(v.Text2[entry - 1]->text(), format(count, QStringLiteral("0000")) + "  P");
        QVERIFY(active(v, entry));
        QCOMPARE(v.Text2[entry]->text(), QStringLiteral("  "));
    }

    void rowPastTheLastLine() {
        addInvoice({.number = 1});
        addLines(1, 2998);
        viewinvoice& v = open(0);
        QCOMPARE(v.VScroll1->maximum(), 2993);
        v.VScroll1->setValue(2993);
        QCOMPARE(v.Text2[4]->text(), QStringLiteral("2998  P"));
        QVERIFY(active(v, 5)); // line 2998, the entry row
        QVERIFY(!active(v, 6));
        QVERIFY(!active(v, 7)); // line 3000 does not exist
        QCOMPARE(gridRow(v, 7), QStringList(5, QStringLiteral("  ")));
    }

    void saleFromSortedList_data() {
        QTest::addColumn<bool>("item");
        QTest::addColumn<QStringList>("answers"); // each but the last refused
        QTest::addColumn<QStringList>("line");
        QTest::newRow("part, cancelled")
            << false << QStringList{""}
            << QStringList{"0037  P", "nut", "$9.50", "01", "$9.50", "1"};
        QTest::newRow("item, two")
            << true << QStringList{"2"}
            << QStringList{"0008  I", "gearbox", "$20.00", "02", "$40.00", "5"};
        QTest::newRow("part, asked again until four")
            << false << QStringList{"ten", "0", "-3", "2.5", "1000000000", "4"}
            << QStringList{"0037  P", "nut", "$9.50", "04", "$38.00", "1"};
    }
    void saleFromSortedList() {
        QFETCH(bool, item);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, line);
        f->addPart(5, QStringLiteral("bolt"), 12);
        f->addPart(37, QStringLiteral("nut"), 9.5);
        f->addItem(3, QStringLiteral("frame"), false, 1.5f, 12, 30);
        f->addItem(8, QStringLiteral("gearbox"), false, 1.5f, 4.5, 20);
        const qint16 mode = item ? 3 : 0;
        databaseview* finder = &f->showList(mode);
        QVERIFY(finder);
        QCoreApplication::processEvents();
        QTest::mouseClick(finder->Label1[item ? 1 : 4], Qt::LeftButton);
        clickLine(*finder, 0);
        // The sorted column holds its sort form, which is no display text.
        QVERIFY(finder->cellText(item ? 1 : 4, 0).startsWith(QLatin1Char(' ')));

        for (const QString& answer : answers) {
            prompts().expectInput(QStringLiteral("Enter quantity to sell"),
                                  QStringLiteral("Selling parts/items"), answer);
            if (answer != answers.last())
                prompts().expectMessage(qtyRefusal);
        }
        viewinvoice& v = open(-3, mode);
        QCOMPARE(v.cnt, qint16(1));
        QCOMPARE(cells(v.lines().line(0)), line);
        QCOMPARE(v.Text1[6]->text(), line[4]);
    }

    void totalWithTaxIsStored() {
        writeTax(8);
        addInvoice({.number = 6});
        showinvoices::get(f->business());
        viewinvoice& v = open(-2);
        pick(v, 0, 1, QStringLiteral("$100.00"), QStringLiteral("1"));
        pick(v, 1, 2, QStringLiteral("$25.00"), QStringLiteral("2"));
        QCOMPARE(v.Text1[6]->text(), QStringLiteral("$162.00"));
        QCOMPARE(v.Text1[8]->toolTip(), QStringLiteral("$150.00 + 8.000 % = $162.00"));
        prompts().expectMessage(QStringLiteral("saved"));
        click(v.Command1[0]);
        QVERIFY(!viewinvoice::loaded());
        QVERIFY(!showinvoices::loaded());
        QCOMPARE(storedInvoice(1, SalesInvoices::amount_owed), Value(Money::fromRaw(1620000)));
        QCOMPARE(storedInvoice(1, SalesInvoices::invoice_no), Value(qint64(7)));
        QCOMPARE(storedInvoice(1, SalesInvoices::cust_no), Value(qint64(1)));
        QCOMPARE(storedInvoice(1, SalesInvoices::tax_percent), Value(8.0f));
        QCOMPARE(storedInvoice(1, SalesInvoices::salesperson), Value(" "));
        QVERIFY(storedInvoice(1, SalesInvoices::delivery_date).isNull());
        QCOMPARE(storedLines(), (QStringList{"1@7", "2@7"}));
    }

    // The tax is typed as the user types it, kept as typed, and taken or refused when the field
    // is left: by Tab, or by a click on Save or Confirm.
    void taxTakenWhenLeft_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leaveBy");
        QTest::addColumn<QString>("rest"); // the field afterwards
        QTest::addColumn<QString>("owed");
        QTest::addColumn<bool>("refused");
        QTest::newRow("no sign") << "7.5"
                                 << "Tab"
                                 << "7.5%"
                                 << "$107.50" << false;
        QTest::newRow("with its sign") << "8.25 %"
                                       << "Tab"
                                       << "8.25 %"
                                       << "$108.25" << false;
        QTest::newRow("emptied: no tax") << ""
                                         << "Tab"
                                         << "0.000%"
                                         << "$100.00" << false;
        QTest::newRow("letters") << "abc"
                                 << "Tab"
                                 << "3.000 %"
                                 << "$103.00" << true;
        QTest::newRow("negative, Save") << "-200"
                                        << "Save"
                                        << "3.000 %"
                                        << "$103.00" << true;
        QTest::newRow("past 100, Confirm") << "150"
                                           << "Confirm"
                                           << "3.000 %"
                                           << "$103.00" << true;
        QTest::newRow("100, Save") << "100"
                                   << "Save"
                                   << "100%"
                                   << "$200.00" << false;
    }
    void taxTakenWhenLeft() {
        QFETCH(QString, typed);
        QFETCH(QString, leaveBy);
        QFETCH(QString, rest);
        QFETCH(QString, owed);
        QFETCH(bool, refused);
        writeTax(3);
        viewinvoice& v = open(-1);
        pick(v, 0, 1, QStringLiteral("$100.00"), QStringLiteral("1"));
        QVERIFY(shownActive(&v));
        QLineEdit* tax = v.Text1[8];
        tax->setFocus();
        QTest::keyClick(tax, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(tax, Qt::Key_Delete);
        QTest::keyClicks(tax, typed);
        QCOMPARE(tax->text(), typed); // nothing undone under the fingers
        QCOMPARE(v.Text1[6]->text(), owed); // a rate counts at once, anything else not at all
        if (refused)
            prompts().expectMessage(taxRefusal);
        if (leaveBy == QLatin1String("Tab")) {
            QTest::keyClick(tax, Qt::Key_Tab);
        } else {
            if (!refused)
                prompts().expectMessage(QStringLiteral("saved"));
            click(v.Command1[leaveBy == QLatin1String("Save") ? 0 : 1]);
        }
        QCoreApplication::processEvents(); // the leave is handled once the click is
        QVERIFY2(prompts().done(), qPrintable(prompts().report()));
        if (viewinvoice::loaded()) {
            QCOMPARE(tax->text(), rest);
            QCOMPARE(v.Text1[6]->text(), owed);
            QVERIFY(!v.isConfirmed());
            QCOMPARE(storedLines(), QStringList());
        } else {
            QCOMPARE(storedInvoice(0, SalesInvoices::tax_percent), Value(100.0f));
            QCOMPARE(storedInvoice(0, SalesInvoices::amount_owed), Value(Money::fromRaw(2000000)));
        }
    }

    // A line is priced as its part or item sells from the list, exact to the cent, shown, stored
    // and read back alike; the picker still shows what it costs.
    void pricedAsSoldFromTheList_data() {
        QTest::addColumn<bool>("isPart");
        QTest::addColumn<QString>("price");
        QTest::newRow("part $131,071.99") << true << "$131071.99";
        QTest::newRow("part $131,072.01") << true << "$131072.01";
        QTest::newRow("part $1,234,567.89") << true << "$1234567.89";
        QTest::newRow("part $99,999,999,999.99") << true << "$99999999999.99";
        QTest::newRow("item") << false << "$20.00";
    }
    void pricedAsSoldFromTheList() {
        QFETCH(bool, isPart);
        QFETCH(QString, price);
        const Money amount = *toMoney(price.mid(1));
        if (isPart)
            addPricedPart(12, amount.toDouble());
        else
            f->addItem(12, QStringLiteral("gearbox"), true, 1.5f, 3, amount.toDouble());
        viewinvoice& v = open(-1);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        QString pickerShows;
        whenShown<getpart>([&](getpart& p) {
            if (!isPart)
                click(p.Option1[1]);
            chooseCandidate(p, 0);
            pickerShows = p.Text1[3]->text();
            click(p.Command1);
        });
        QTest::mouseClick(v.Text4[0], Qt::LeftButton);
        QVERIFY(!getpart::loaded());
        QCOMPARE(pickerShows, isPart ? QStringLiteral("$1.00") : price);
        const QString code = isPart ? "0012  P" : "0012  I";
        QCOMPARE(gridRow(v, 0),
                 (QStringList{code, isPart ? "bearing" : "gearbox", price, "01", price}));
        QCOMPARE(v.Text1[6]->text(), price);

        prompts().expectMessage(QStringLiteral("saved"));
        click(v.Command1[0]);
        QCOMPARE(storedInvoice(0, SalesInvoices::amount_owed), Value(amount));
        RecordSet rows(f->filePath(QStringLiteral("cust.fdb")), ItemsPerSale::table);
        rows.moveFirst();
        QCOMPARE(rows.field(ItemsPerSale::unit_price), Value(amount));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        viewinvoice& again = open(0);
        QCOMPARE(gridRow(again, 0)[4], price);
        QCOMPARE(again.Text1[6]->text(), price);
    }

    void confirmSetsDelivery_data() {
        QTest::addColumn<QList<float>>("days");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QString>("promised");
        QTest::newRow("2 and 5.4 over the year end")
            << QList<float>{2, 5.4f} << QDate(2023, 12, 30) << "Jan 04, 2024";
        QTest::newRow("2.5 to even") << QList<float>{2.5f} << QDate(2024, 2, 27) << "Feb 29, 2024";
    }
    void confirmSetsDelivery() {
        QFETCH(QList<float>, days);
        QFETCH(QDate, day);
        QFETCH(QString, promised);
        appclock::setToday(day);
        viewinvoice& v = open(-1);
        for (int i = 0; i < days.size(); ++i)
            pick(v, i, i + 1, QStringLiteral("$1.00"), QStringLiteral("1"), days[i]);
        prompts().expectMessage(
            QStringLiteral("confirm set. Please save to record committment and changes"));
        click(v.Command1[1]);
        QCOMPARE(v.Text1[3]->text(), formatDate(day, QStringLiteral("mmm dd, yyyy")));
        QCOMPARE(v.Text1[4]->text(), promised);
        QVERIFY(!v.Command1[1]->isEnabled() && !v.Text1[5]->isEnabled() &&
                !v.Text1[8]->isEnabled() && !v.Text2[0]->isEnabled());
        prompts().expectMessage(QStringLiteral("saved"));
        click(v.Command1[0]);
        QCOMPARE(storedInvoice(0, SalesInvoices::confirmed), Value(true));
        QCOMPARE(storedInvoice(0, SalesInvoices::confirmed_date), Value(day));
        QCOMPARE(storedInvoice(0, SalesInvoices::delivery_date).toDate(), *toDate(promised));
    }

    void overdueQuestion_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("answer"); // -1: not asked, 0 No, 1 Yes
        QTest::addColumn<QString>("delivered");
        QTest::newRow("on the day") << QDate(2023, 12, 31) << -1 << "No";
        QTest::newRow("day after, yes") << QDate(2024, 1, 1) << 1 << "Yes";
        QTest::newRow("day after, no") << QDate(2024, 1, 1) << 0 << "No";
    }
    void overdueQuestion() {
        QFETCH(QDate, day);
        QFETCH(int, answer);
        QFETCH(QString, delivered);
        appclock::setToday(day);
        addInvoice({.number = 2, .confirmed = true, .delivery = QDate(2023, 12, 31)});
        addLines(2, 1);
        if (answer >= 0)
            prompts().expectQuestion(
                QStringLiteral("It's pass the delivery date, has the products been delivered?"),
                QStringLiteral("products delivery for customer at date: Dec 31, 2023"),
                answer == 1);
        if (answer == 1)
            prompts().expectMessage(
                QStringLiteral("Set to yes. Please remember to save new changes"));
        viewinvoice& v = open(0);
        QCOMPARE(v.Text1[9]->text(), delivered);
        QCOMPARE(v.Text1[3]->text(), QStringLiteral("Jan 03, 2000"));
        QCOMPARE(v.Text1[5]->text(), QStringLiteral("KIM"));
        // A stored confirmed invoice opens locked.
        QVERIFY(!v.Command1[1]->isEnabled() && !v.Text3[0]->isEnabled());
        QVERIFY(!active(v, 0));
        // A click or a key on a locked line opens no picker.
        ModalDriver driver;
        QTest::mouseClick(v.Text4[0], Qt::LeftButton);
        QTest::keyClick(v.Text4[0], Qt::Key_Return);
        QVERIFY(!getpart::loaded());
        QVERIFY2(driver.done(), qPrintable(driver.report()));
        // The locked lines stay readable on their grey.
        const QPalette locked = v.Text3[0]->palette();
        QVERIFY(plainGrey(locked.color(QPalette::Disabled, QPalette::Base)));
        QVERIFY(qAbs(locked.color(QPalette::Disabled, QPalette::Text).lightness() -
                     locked.color(QPalette::Disabled, QPalette::Base).lightness()) > 120);
    }

    void saveRewritesLinesInGridOrder() {
        addInvoice({.number = 1});
        addInvoice({.number = 2});
        addLines(2, 2, 10);
        addLines(1, 1, 50);
        addLines(2, 1, 12);
        viewinvoice& v = open(1);
        QCOMPARE(v.cnt, qint16(3));
        pick(v, 1, 20, QStringLiteral("$1.00"), QStringLiteral("1")); // replaces line 1
        pick(v, 3, 21, QStringLiteral("$1.00"), QStringLiteral("1")); // appends
        prompts().expectMessage(QStringLiteral("saved"));
        click(v.Command1[0]);
        QCOMPARE(storedLines(), (QStringList{"50@1", "10@2", "20@2", "12@2", "21@2"}));
        QCOMPARE(storedInvoice(1, SalesInvoices::salesperson), Value("KIM"));
    }

    void failedSaveKeepsEverything() {
        addInvoice({.number = 4});
        addLines(4, 2);
        f->connection(Business::sales_invoices)
            .database()
            .execute("CREATE TRIGGER refuse BEFORE UPDATE ON sales_invoices "
                     "BEGIN SELECT RAISE(ABORT, 'refused by test'); END");
        viewinvoice& v = open(0);
        pick(v, 2, 9, QStringLiteral("$1.00"), QStringLiteral("1"));
        const QString path = f->connection(Business::sales_invoices).database().path();
        prompts().expectMessage(DbError(path, QStringLiteral("refused by test")).message());
        click(v.Command1[0]);
        QCOMPARE(viewinvoice::loaded(), &v);
        QCOMPARE(storedLines(), (QStringList{"1@4", "2@4"}));
        QCOMPARE(storedInvoice(0, SalesInvoices::amount_owed), Value(Money::fromRaw(10000)));
    }

    // Tab runs over the editable header fields, then along each grid row; Return on a line acts
    // as a click.
    void keyboard() {
        addInvoice({.number = 1});
        addLines(1, 1, 7);
        viewinvoice& v = open(0);
        QVERIFY(shownActive(&v));
        v.Text1[5]->setFocus();
        QStringList visited;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << focusName();
        }
        QCOMPARE(visited, (QStringList{"Text1(8)", "Text2(0)", "Text3(0)", "Text4(0)", "Text5(0)",
                                       "Text6(0)", "Text2(1)", "Text3(1)"}));

        QString handed;
        whenShown<getpart>([&handed](getpart& p) {
            handed = p.Text1[2]->text();
            click(p.Command1);
        });
        v.Text4[0]->setFocus();
        QTest::keyClick(v.Text4[0], Qt::Key_Return);
        QVERIFY(!getpart::loaded());
        QCOMPARE(handed, QStringLiteral("0007     thing 7"));
        QCOMPARE(v.onto, qint16(0));
        QCOMPARE(v.cnt, qint16(1));
    }

    // Esc, the close box and Close ask before changes are given up; No keeps the editor and its
    // list open, Yes closes both. Nothing changed, nothing is asked.
    void unsavedWorkAsked_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("closeBy");
        QTest::addColumn<bool>("asked");
        QTest::newRow("nothing, Close") << "nothing"
                                        << "Close" << false;
        QTest::newRow("nothing, Esc") << "nothing"
                                      << "Esc" << false;
        QTest::newRow("salesperson, Close") << "salesperson"
                                            << "Close" << true;
        QTest::newRow("tax, close box") << "tax"
                                        << "close box" << true;
        QTest::newRow("same tax typed again, Esc") << "same tax"
                                                   << "Esc" << false;
        QTest::newRow("line, Esc") << "line"
                                   << "Esc" << true;
        QTest::newRow("confirmed, Close") << "confirmed"
                                          << "Close" << true;
        QTest::newRow("delivered, close box") << "delivered"
                                              << "close box" << true;
    }
    void unsavedWorkAsked() {
        QFETCH(QString, change);
        QFETCH(QString, closeBy);
        QFETCH(bool, asked);
        ModalDriver& boxes = realBoxes();
        f->writeSettings(BusinessFixture::rates(0, 0, 0, 0, 5));
        f->addPart(12, QStringLiteral("bolt"), 4);
        const bool stored = change == QLatin1String("delivered");
        if (stored) {
            appclock::setToday(QDate(2024, 1, 1));
            addInvoice({.number = 2, .confirmed = true, .delivery = QDate(2023, 12, 31)});
            addLines(2, 1);
            boxes.expectQuestion(
                QStringLiteral("It's pass the delivery date, has the products been delivered?"),
                QStringLiteral("products delivery for customer at date: Dec 31, 2023"), true);
            boxes.expectMessage(QStringLiteral("Set to yes. Please remember to save new changes"));
        }
        showinvoices& list = showinvoices::get(f->business());
        list.cust = 1;
        list.load();
        list.show();

        bool keptByNo = false;
        boxes.expectWindow(QStringLiteral("viewinvoice"), [&](QWidget* w) {
            auto* v = static_cast<viewinvoice*>(w);
            if (change == QLatin1String("salesperson"))
                user::type(v->Text1[5], QStringLiteral("ann"));
            if (change == QLatin1String("tax") || change == QLatin1String("same tax")) {
                user::click(v->Text1[8]);
                user::press(Qt::Key_A, Qt::ControlModifier);
                user::type(v->Text1[8], change == QLatin1String("tax") ? "7" : "5");
            }
            if (change == QLatin1String("line"))
                user::click(v->Text4[0]);
            if (change == QLatin1String("confirmed"))
                user::click(v->Command1[1]);
            user::closeWindow(v, v->Command1[2], closeBy);
            if (!asked)
                return;
            keptByNo = viewinvoice::loaded() == v && v->isVisible() && showinvoices::loaded();
            user::closeWindow(v, v->Command1[2], closeBy);
        });
        if (change == QLatin1String("line")) {
            boxes.expectWindow(QStringLiteral("getpart"), [](QWidget* w) {
                auto* p = static_cast<getpart*>(w);
                chooseCandidate(*p, 0);
                user::click(p->Command1);
            });
        }
        if (change == QLatin1String("confirmed"))
            boxes.expectMessage(
                QStringLiteral("confirm set. Please save to record committment and changes"));
        if (asked) {
            boxes.expectQuestion(unsavedwork::question, QString(), false);
            boxes.expectQuestion(unsavedwork::question, QString(), true);
        }
        if (stored) {
            user::clickLine(list.List1, 0);
            user::click(list.Command1[0]);
        } else {
            user::click(list.Command1[2]);
        }
        QVERIFY2(boxes.done(), qPrintable(boxes.report()));
        QCOMPARE(keptByNo, asked);
        QVERIFY(!viewinvoice::loaded());
        QVERIFY(!showinvoices::loaded());
        QCOMPARE(storedLines(), QStringList(stored ? 1 : 0, QStringLiteral("1@2")));
    }

    void itemLineKeepsItsTag() {
        f->addItem(7, QStringLiteral("gearbox"), false, 1.5f, 6, 2.5);
        addInvoice({.number = 1});
        addLines(1, 1, 7, false, 4);
        viewinvoice& v = open(0);
        QCOMPARE(v.Text2[0]->text(), QStringLiteral("0007  I"));
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        bool itemsListed = false;
        whenShown<getpart>([&itemsListed](getpart& p) {
            itemsListed = p.Option1[1]->isChecked();
            click(p.Command1);
        });
        QTest::mouseClick(v.Text4[0], Qt::LeftButton);
        QVERIFY(!getpart::loaded());
        QVERIFY(itemsListed);
        QCOMPARE(cells(v.lines().line(0)),
                 (QStringList{"0007  I", "thing 7", "$2.50", "02", "$5.00", "6"}));
        QCOMPARE(v.cnt, qint16(1));
    }
};

QTEST_MAIN(TestViewinvoice)
#include "tst_viewinvoice.moc"
