// The item builder and the new item dialog, driven through their controls with the picker's
// hand-over called as the picker calls it.
#include "support/businessfixture.h"

#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemtables.h"
#include "gui/finder/databaseview.h"
#include "gui/finder/getpart.h"
#include "gui/items/changingitem.h"
#include "gui/items/newitem.h"
#include "gui/widgets/unsavedwork.h"
#include "support/modal.h"
#include "support/modaldriver.h"
#include "support/useractions.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QString multiplyQuestion = QStringLiteral(
    "This part/item has been inserted already. Do you want to Multiply the rates by qty");
const QString recursive = QStringLiteral("Sorry, can not use the same host item as a part item");

// A click on a line of the finder's number column, as the user picks a line.
void clickLine(databaseview& finder, int line) {
    QListView* view = finder.List1[0];
    const QRect spot = view->visualRect(view->model()->index(line, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, spot.center());
}

// A greyed box is plainly grey, so that it stands out from an empty white box, and carries the
// cross pointer.
bool greyed(QLineEdit* box) {
    const QColor base = box->palette().color(QPalette::Base);
    return base.hslSaturation() < 16 && base.lightness() < 225 &&
           box->cursor().shape() == Qt::CrossCursor;
}

bool shownActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// A key as the user types it: to whichever widget has the focus.
void press(int key) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the keyboard focus");
    QTest::keyClick(target, Qt::Key(key));
}

QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

QString tipOf(QLineEdit* box) {
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), box->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &move);
    return box->toolTip();
}

} // namespace

class TestChangingItem : public QObject {
    Q_OBJECT

private:
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
    // A part whose unit cost, the price the builder takes, is the amount exactly.
    void addCostedPart(qint64 number, const QString& cost) {
        f->addPart(number, QStringLiteral("Press"), 1);
        RecordSet parts(f->filePath(QStringLiteral("parts.fdb")), Parts::table);
        parts.moveFirst();
        parts.move(parts.findAll(Parts::part_no, number).front());
        parts.edit();
        parts.setField(Parts::unit_cost, *toMoney(cost));
        parts.update();
    }
    // "Edit item" on the item list's first line; the builder is answered by the driver.
    void editFirstItem() {
        databaseview& finder = *databaseview::loaded();
        user::clickLine(finder.List1[0], 0);
        user::click(finder.Command1[0]);
    }
    RecordSet& connection(int n) { return f->connection(n); }

    // Engineering $20, assembly $10 and testing $30 an hour.
    void writeSettings(float markup) {
        f->writeSettings(BusinessFixture::rates(markup, 20, 10, 30, 0));
    }

    // Stored lines of an item, part numbers from 100 on.
    void addLines(qint64 host, int count) {
        RecordSet& lines = connection(Business::parts_list);
        Transaction transaction(lines.database());
        for (int i = 0; i < count; ++i) {
            lines.addNew();
            const QList<Value> values{
                host, true, qint64(100 + i), qint64(1), Money(), Money(), 0.0f,
                0.0f, 0.0f, Money(),         1.0f};
            for (int c = 0; c < values.size(); ++c)
                lines.setField(c, values[c]);
            lines.update();
        }
        transaction.commit();
    }

    QList<qint64> storedNumbers(qint64 host) {
        RecordSet& lines = connection(Business::parts_list);
        QList<qint64> numbers;
        if (lines.recordCount() == 0)
            return numbers;
        for (lines.moveFirst(); !lines.eof(); lines.moveNext()) {
            if (lines.field(PartsList::host_item_no).toInt64() == host)
                numbers << lines.field(PartsList::ip_no).toInt64();
        }
        return numbers;
    }

    // Column c of the item's stored row at position p.
    Value storedItem(int p, int c) {
        RecordSet& items = connection(Business::assembled_items);
        items.moveFirst();
        items.move(p);
        return items.field(c);
    }

    // Opens the builder on the item of the item list's line with the hand-over of "Edit item",
    // but not modally, so that the test drives it step by step.
    changingitem& open(int line) {
        databaseview& finder = f->showList(3);
        clickLine(finder, line);
        changingitem& builder = changingitem::get(f->business());
        builder.area = qint16(finder.linePosition(line));
        builder.load(finder.cellText(0, line).left(5), finder.cellText(2, line));
        builder.show();
        return builder;
    }

    // What the picker hands back, then its call of adder.
    void pick(changingitem& builder, qint16 ar, const QString& entry, bool isPart,
              const QString& qty, const QString& price = QStringLiteral("$2.50"),
              const QStringList& hours = {"1.50 Hr", "0.50 Hr", "0.25 Hr"}, float days = 2.5f) {
        getpart& picker = getpart::get(f->business());
        picker.mode = 0;
        picker.caller = &builder;
        picker.load();
        picker.is_part = isPart ? -1 : 0;
        picker.Text1[2]->setText(entry);
        picker.Text1[3]->setText(price);
        picker.Text1[4]->setText(qty);
        for (int i = 0; i < 3; ++i)
            picker.Text1[5 + i]->setText(hours[i]);
        picker.cur_hours = days;
        builder.adder(ar);
    }

    // The toolbar's "New item": the item list and the new item dialog beside it.
    newitem& newItemDialog() {
        QTest::mouseClick(f->main().Command1[2], Qt::LeftButton);
        newitem* dialog = newitem::loaded();
        if (!dialog)
            qFatal("the new item dialog did not open");
        return *dialog;
    }

private slots:
    void init() { f = std::make_unique<BusinessFixture>(); }
    void cleanup() {
        closeModalWindows();
        const bool promptsDone = boxes_ ? boxes_->done() : prompts().done();
        const QString report = boxes_ ? boxes_->report() : prompts().report();
        boxes_.reset();
        f.reset();
        QVERIFY2(promptsDone, qPrintable(report));
    }

    void newItem_data() {
        QTest::addColumn<bool>("settingsFile");
        QTest::addColumn<QString>("markupBox");
        QTest::addColumn<float>("markup");
        QTest::newRow("mark-up from the settings") << true << "1.5000%" << 1.5f;
        QTest::newRow("no settings file") << false << "0.0000%" << 0.0f;
    }
    void newItem() {
        QFETCH(bool, settingsFile);
        QFETCH(QString, markupBox);
        QFETCH(float, markup);
        if (settingsFile)
            writeSettings(1.5f);
        newitem& dialog = newItemDialog();
        QCOMPARE(dialog.Text1[0]->text(), QStringLiteral("0000"));
        QVERIFY(!dialog.Text1[0]->isEnabled());
        QTest::keyClicks(dialog.Text1[1], QStringLiteral("Robot arm"));

        QStringList seen;
        whenShown<changingitem>([&](changingitem& builder) {
            for (int i : {0, 1, 2, 3, 4, 5, 6})
                seen << builder.Text1[i]->text();
            seen << QString::number(builder.cnt);
            for (int r = 0; r < 7; ++r)
                seen << (greyed(builder.Text5[r]) ? "greyed" : "active");
            QTest::mouseClick(builder.Command1[2], Qt::LeftButton);
        });
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);

        QStringList rows{"active"};
        for (int r = 1; r < 7; ++r)
            rows << "greyed";
        QCOMPARE(seen, QStringList({"0000", "Robot arm", "$0.00", "0.00 hours", "0.00 Days",
                                    markupBox, "0", "0"}) +
                           rows);
        QVERIFY(!newitem::loaded());
        QVERIFY(databaseview::loaded());
        QCOMPARE(databaseview::loaded()->lineCount(), 1);
        QCOMPARE(connection(Business::assembled_items).recordCount(), 1);
        QCOMPARE(storedItem(0, AssembledItems::item_no).toInt64(), qint64(0));
        QCOMPARE(storedItem(0, AssembledItems::item_desc).toText(), QStringLiteral("Robot arm"));
        QCOMPARE(storedItem(0, AssembledItems::markup).toFloat(), markup);
        QCOMPARE(storedItem(0, AssembledItems::total_costs).toMoney(), Money());
        QVERIFY(!storedItem(0, AssembledItems::confirmed).toBool());
        QCOMPARE(connection(Business::parts_list).recordCount(), 0);
    }

    void newItemRefused_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<qint64>("highest"); // -1: no item yet
        QTest::addColumn<QString>("message");
        QTest::newRow("no description")
            << "" << qint64(-1) << "Please enter in the item description";
        QTest::newRow("numbers used up")
            << "One more" << qint64(32767)
            << "No more records can be added: record numbers cannot pass 32767.";
    }
    void newItemRefused() {
        QFETCH(QString, description);
        QFETCH(qint64, highest);
        QFETCH(QString, message);
        if (highest >= 0)
            f->addItem(highest, QStringLiteral("Last"));
        newitem& dialog = newItemDialog();
        const int before = connection(Business::assembled_items).recordCount();
        QTest::keyClicks(dialog.Text1[1], description);
        prompts().expectMessage(message);
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        QVERIFY(newitem::loaded());
        QVERIFY(!changingitem::loaded());
        QCOMPARE(connection(Business::assembled_items).recordCount(), before);
    }

    void newItemCancel() {
        newitem& dialog = newItemDialog();
        QTest::keyClicks(dialog.Text1[1], QStringLiteral("Unwanted"));
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        QVERIFY(!newitem::loaded());
        QVERIFY(!databaseview::loaded());
        QCOMPARE(f->countRows("items.fdb", AssembledItems::table), 0);
    }

    void workedLine() {
        writeSettings(1.5f);
        f->addItem(7, QStringLiteral("Robot"));
        changingitem& builder = open(0);
        QCOMPARE(builder.Text1[0]->text(), QStringLiteral("0007 "));
        QCOMPARE(tipOf(builder.Text3[0]), QString()); // the entry row has no description tip
        QCOMPARE(tipOf(builder.Text2[0]), QStringLiteral("Click to edit/add part"));
        pick(builder, 0, QStringLiteral("0012     Bolt"), true, QStringLiteral("4"));

        QVERIFY(!getpart::loaded());
        QCOMPARE(builder.cnt, qint16(1));
        QStringList row;
        for (QLineEdit* box : {builder.Text2[0], builder.Text3[0], builder.Text5[0],
                               builder.Text6[0], builder.Text10[0]})
            row << box->text();
        QCOMPARE(row, (QStringList{"0012  P", "Bolt", "04", "$10.00", "$63.75"}));
        QCOMPARE(builder.Text1[2]->text(), QStringLiteral("$63.75"));
        QCOMPARE(builder.Text1[3]->text(), QStringLiteral("2.25 hours"));
        QCOMPARE(builder.Text1[4]->text(), QStringLiteral("2.50 Days"));
        QCOMPARE(builder.Text1[6]->text(), QStringLiteral("1"));
        QCOMPARE(tipOf(builder.Text10[0]),
                 QStringLiteral("total cost ((qty * cost) + labour) = $10.00 + (labours = "
                                "$32.50) * 1.5000% = $63.75"));
        QCOMPARE(tipOf(builder.Text8[0]),
                 QStringLiteral("Cost of engineering = 0.50 Hr * $20.00 = $10.00"));
        QCOMPARE(tipOf(builder.Text3[0]), QStringLiteral("Bolt"));
        QCOMPARE(builder.Text3[0]->cursorPosition(), 0); // a long description shows its start
        QCOMPARE(tipOf(builder.Text4[1]), QStringLiteral("Click to edit/add part"));
        QCOMPARE(tipOf(builder.Text4[2]), QString());
        QVERIFY(!greyed(builder.Text2[1]));
        QVERIFY(greyed(builder.Text2[2]));
    }

    void markup_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("cost");
        QTest::addColumn<bool>("refused");
        QTest::newRow("four decimals") << "1.23456"
                                       << "1.2346%"
                                       << "$52.47" << false;
        QTest::newRow("with its unit") << "2%"
                                       << "2.0000%"
                                       << "$85.00" << false;
        QTest::newRow("empty keeps") << ""
                                     << "1.5000%"
                                     << "$63.75" << false;
        QTest::newRow("letters refused") << "abc"
                                         << "1.5000%"
                                         << "$63.75" << true;
        QTest::newRow("two points refused") << "1.2.3"
                                            << "1.5000%"
                                            << "$63.75" << true;
        QTest::newRow("negative refused") << "-2"
                                          << "1.5000%"
                                          << "$63.75" << true;
    }
    void markup() {
        QFETCH(QString, answer);
        QFETCH(QString, box);
        QFETCH(QString, cost);
        QFETCH(bool, refused);
        writeSettings(1.5f);
        f->addItem(7, QStringLiteral("Robot"));
        changingitem& builder = open(0);
        pick(builder, 0, QStringLiteral("0012     Bolt"), true, QStringLiteral("4"));
        prompts().expectInput(QStringLiteral("Enter mark up rate "), QStringLiteral("mark up rate"),
                              answer);
        if (refused)
            prompts().expectMessage(
                QStringLiteral("Please enter the mark-up rate as a number from 0 to 10000."));
        QTest::mouseClick(builder.Text1[5], Qt::LeftButton);
        QCOMPARE(builder.Text1[5]->text(), box);
        QCOMPARE(builder.Text10[0]->text(), cost);
        QCOMPARE(builder.Text1[2]->text(), cost);
    }

    // Amounts beyond what a single holds, from the picker through the builder to the stored
    // rows, and back when the item is opened again. At the mark-up of 1.5 every cost ends in a
    // half cent, rounded up once. An amount the tables cannot hold is refused on Save.
    void moneyToTheCent_data() {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("qty");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("131071.99") << "131071.99"
                                   << "1"
                                   << "$131071.99"
                                   << "$196607.99"
                                   << "";
        QTest::newRow("131072.01") << "131072.01"
                                   << "1"
                                   << "$131072.01"
                                   << "$196608.02"
                                   << "";
        QTest::newRow("1234567.89") << "1234567.89"
                                    << "1"
                                    << "$1234567.89"
                                    << "$1851851.84"
                                    << "";
        QTest::newRow("99999999999.99") << "99999999999.99"
                                        << "1"
                                        << "$99999999999.99"
                                        << "$149999999999.99"
                                        << "";
        QTest::newRow("too large to store") << "90000000000000.00"
                                            << "20"
                                            << "$1800000000000000.00"
                                            << "$2700000000000000.00"
                                            << "The total costs are too large to be saved.";
    }
    void moneyToTheCent() {
        QFETCH(QString, price);
        QFETCH(QString, qty);
        QFETCH(QString, total);
        QFETCH(QString, cost);
        QFETCH(QString, refusal);
        ModalDriver& boxes = realBoxes();
        writeSettings(1.5f);
        addCostedPart(12, price);
        f->addItem(7, QStringLiteral("Robot"));
        f->showList(3);
        QStringList shown;
        boxes.expectWindow(QStringLiteral("changingitem"), [&](QWidget* w) {
            auto* builder = static_cast<changingitem*>(w);
            user::click(builder->Text2[0]);
            shown << builder->Text4[0]->text() << builder->Text6[0]->text()
                  << builder->Text10[0]->text() << builder->Text1[2]->text();
            user::click(builder->Command1[0]);
            if (refusal.isEmpty())
                return;
            QVERIFY(changingitem::loaded() == builder); // the refusal keeps the builder
            user::click(builder->Command1[2]);
        });
        boxes.expectWindow(QStringLiteral("getpart"), [](QWidget* w) {
            auto* picker = static_cast<getpart*>(w);
            user::click(picker->Text1[1]);
            user::click(picker->Text1[2]);
            user::clickLine(picker->List2, 0);
            user::click(picker->Text1[4]);
            user::click(picker->Command1);
        });
        boxes.expectInput(QStringLiteral("Enter value (#.##)"), QStringLiteral("highest amount"),
                          QStringLiteral("100000000000000"));
        boxes.expectInput(QStringLiteral("Enter int (#)"), QStringLiteral("input qty"), qty);
        if (refusal.isEmpty()) {
            boxes.expectMessage(QStringLiteral("saved"));
        } else {
            boxes.expectMessage(refusal);
            boxes.expectQuestion(unsavedwork::question, QString(), true);
        }
        editFirstItem();
        QVERIFY2(boxes.done(), qPrintable(boxes.report()));
        QCOMPARE(shown, (QStringList{"$" + price, total, cost, cost}));
        if (!refusal.isEmpty()) {
            QCOMPARE(connection(Business::parts_list).recordCount(), 0);
            QCOMPARE(storedItem(0, AssembledItems::total_costs).toMoney(), Money());
            return;
        }

        RecordSet& lines = connection(Business::parts_list);
        lines.moveFirst();
        QCOMPARE(lines.field(PartsList::unit_price).toMoney(), *toMoney(price));
        QCOMPARE(lines.field(PartsList::total_price).toMoney(), *toMoney(total.mid(1)));
        QCOMPARE(lines.field(PartsList::ip_cost).toMoney(), *toMoney(cost.mid(1)));
        QCOMPARE(storedItem(0, AssembledItems::total_costs).toMoney(), *toMoney(cost.mid(1)));
        QStringList reopened;
        boxes.expectWindow(QStringLiteral("changingitem"), [&](QWidget* w) {
            auto* builder = static_cast<changingitem*>(w);
            reopened << builder->Text4[0]->text() << builder->Text6[0]->text()
                     << builder->Text10[0]->text() << builder->Text1[2]->text();
            user::click(builder->Command1[2]); // nothing changed: no question
        });
        editFirstItem();
        QVERIFY2(boxes.done(), qPrintable(boxes.report()));
        QCOMPARE(reopened, shown);
    }

    // Choosing, through the entry row, a part the item holds already.
    void mergeAsks_data() {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("hours");
        QTest::newRow("No") << false << "0.75 Hr";
        QTest::newRow("Yes") << true << "12.00 Hr";
    }
    void mergeAsks() {
        QFETCH(bool, yes);
        QFETCH(QString, hours);
        f->addItem(7, QStringLiteral("Robot"));
        changingitem& builder = open(0);
        pick(builder, 0, QStringLiteral("0012     Bolt"), true, QStringLiteral("5"));
        prompts().expectQuestion(multiplyQuestion, QString(), yes);
        pick(builder, 1, QStringLiteral("0012     Bolt"), true, QStringLiteral("3"),
             QStringLiteral("$2.50"), {"0.75 Hr", "0.00", "0.00"});
        QCOMPARE(builder.cnt, qint16(1));
        QCOMPARE(builder.Text5[0]->text(), QStringLiteral("08"));
        QCOMPARE(builder.Text7[0]->text(), hours);
        QCOMPARE(builder.Text2[1]->text(), QStringLiteral("  "));
        QVERIFY(!getpart::loaded());
    }

    void recursionRefused() {
        f->addItem(7, QStringLiteral("Robot"));
        f->addItem(8, QStringLiteral("Robot cell"));
        changingitem& builder = open(0);
        prompts().expectMessage(recursive, QStringLiteral("Recursive"));
        pick(builder, 0, QStringLiteral("0007     Robot"), false, QStringLiteral("1"));
        QVERIFY(getpart::loaded()); // the picker stays open for another choice
        QCOMPARE(builder.cnt, qint16(0));
        pick(builder, 0, QStringLiteral("0008     Robot cell"), false, QStringLiteral("1"));
        QCOMPARE(builder.cnt, qint16(1));
        QCOMPARE(builder.Text2[0]->text(), QStringLiteral("0008  I"));
    }

    void scrolling_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("loadedMaximum");
        QTest::addColumn<int>("appendedMaximum");
        QTest::addColumn<int>("appendedValue");
        QTest::newRow("5 lines") << 5 << 0 << 1 << 1;
        QTest::newRow("12 lines") << 12 << 7 << 8 << 1;
        QTest::newRow("2998 lines") << 2998 << 2993 << 2993 << 1;
    }
    void scrolling() {
        QFETCH(int, stored);
        QFETCH(int, loadedMaximum);
        QFETCH(int, appendedMaximum);
        QFETCH(int, appendedValue);
        f->addItem(7, QStringLiteral("Robot"));
        addLines(7, stored);
        changingitem& builder = open(0);
        QCOMPARE(builder.cnt, qint16(stored));
        QCOMPARE(builder.VScroll1->maximum(), loadedMaximum);
        QCOMPARE(builder.VScroll1->value(), 0);

        // Scrolled to the end: the last lines, the entry row, then one greyed row.
        builder.VScroll1->setValue(builder.VScroll1->maximum());
        const int top = builder.VScroll1->value();
        QCOMPARE(builder.Text2[0]->text(),
                 top < stored ? QStringLiteral("%1  P").arg(100 + top, 4, 10, QLatin1Char('0'))
                              : QStringLiteral("  "));
        QCOMPARE(builder.Text2[stored - top]->text(), QStringLiteral("  "));
        QVERIFY(!greyed(builder.Text2[stored - top]));
        QVERIFY(greyed(builder.Text2[6]));

        builder.VScroll1->setValue(0);
        pick(builder, qint16(stored), QStringLiteral("0001     New"), true, QStringLiteral("1"));
        QCOMPARE(builder.cnt, qint16(stored + 1));
        QCOMPARE(builder.VScroll1->maximum(), appendedMaximum);
        QCOMPARE(builder.VScroll1->value(),
                 stored + 1 >= 6 && stored + 1 < 2999 ? appendedValue : 0);
        if (stored != 2998)
            return;
        // The entry row 2999 is still reachable; after it is used no click opens the picker.
        builder.VScroll1->setValue(builder.VScroll1->maximum());
        pick(builder, 2999, QStringLiteral("0002     Last"), true, QStringLiteral("1"));
        QCOMPARE(builder.cnt, qint16(3000));
        QTest::mouseClick(builder.Text2[6], Qt::LeftButton);
        QVERIFY(!getpart::loaded());
    }

    void gridClickHandsOverTheLine() {
        f->addPart(100, QStringLiteral("Washer"), 0);
        f->addItem(7, QStringLiteral("Robot"));
        addLines(7, 1);
        changingitem& builder = open(0);
        QStringList handed;
        whenShown<getpart>([&](getpart& picker) {
            handed << builder.Data1 << builder.data7 << builder.data6 << builder.data2
                   << QString::number(builder.onto) << picker.Text1[2]->text();
            QTest::mouseClick(picker.Command2, Qt::LeftButton);
        });
        QTest::mouseClick(builder.Text9[0], Qt::LeftButton);
        QCOMPARE(handed,
                 (QStringList{"0100     Washer", "P", "01", "0.00 Hr", "0", "0100     Washer"}));
        // A greyed row opens nothing.
        QTest::mouseClick(builder.Text2[3], Qt::LeftButton);
        QVERIFY(!getpart::loaded());
    }

    void classList() {
        f->business().class_codes().setEntry(12, QStringLiteral("Cables"));
        f->addItem(7, QStringLiteral("Robot"));
        changingitem& builder = open(0);
        QCOMPARE(builder.Text1[7]->text(), QStringLiteral("000      MISC"));
        QTest::mouseDClick(builder.Text1[7], Qt::LeftButton); // no mark-up prompt
        QVERIFY(builder.List1->isVisible());
        QTest::mouseClick(builder.List1->viewport(), Qt::LeftButton, {},
                          builder.List1->visualItemRect(builder.List1->item(12)).center());
        QVERIFY(!builder.List1->isVisible());
        QCOMPARE(builder.Text1[7]->text(),
                 QStringLiteral("012     Cables").leftJustified(8 + 30, QLatin1Char(' ')));
    }

    // Confirm, then Cancel or Save; the class chosen travels with a save.
    void confirm_data() {
        QTest::addColumn<bool>("save");
        QTest::newRow("then Cancel") << false;
        QTest::newRow("then Save") << true;
    }
    void confirm() {
        QFETCH(bool, save);
        f->addItem(7, QStringLiteral("Robot"));
        databaseview& finder = f->showList(3);
        // Opened by "Edit item", so that the list is rebuilt as it is when the builder closes.
        QStringList seen;
        ModalDriver driver;
        driver.expectWindow(QStringLiteral("changingitem"), [&](QWidget*) {
            changingitem& builder = *changingitem::loaded();
            pick(builder, 0, QStringLiteral("0012     Bolt"), true, QStringLiteral("4"));
            QTest::mouseClick(builder.Command1[1], Qt::LeftButton);
            seen << (builder.Text1[5]->isEnabled() ? "mark-up open" : "mark-up locked")
                 << (builder.Command1[1]->isEnabled() ? "Confirm open" : "Confirm locked")
                 << (builder.Command1[0]->isEnabled() ? "Save open" : "Save locked")
                 << (greyed(builder.Text2[0]) && greyed(builder.Text2[1]) ? "lines greyed"
                                                                          : "lines open");
            QTest::mouseClick(builder.Text2[1], Qt::LeftButton);
            seen << (getpart::loaded() ? "picker opened" : "no picker");
            if (save)
                prompts().expectMessage(QStringLiteral("saved"));
            else
                prompts().expectQuestion(unsavedwork::question, QString(), true);
            QTest::mouseClick(builder.Command1[save ? 0 : 2], Qt::LeftButton);
        });
        clickLine(finder, 0);
        QTest::mouseClick(finder.Command1[0], Qt::LeftButton);
        QVERIFY2(driver.done(), qPrintable(driver.report()));
        QCOMPARE(seen, (QStringList{"mark-up locked", "Confirm locked", "Save open", "lines greyed",
                                    "no picker"}));
        QVERIFY(!changingitem::loaded());
        QCOMPARE(storedItem(0, AssembledItems::confirmed).toBool(), save);
        QCOMPARE(storedNumbers(7), save ? QList<qint64>{12} : QList<qint64>{});
        QCOMPARE(databaseview::loaded(), &finder);
        QCOMPARE(finder.cellText(0, 0),
                 save ? QStringLiteral("0007  C") : QStringLiteral("0007  U"));
        QCOMPARE(finder.selectedLine(), -1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        changingitem& again = open(0);
        QCOMPARE(again.Command1[0]->isEnabled(), !save);
        QCOMPARE(again.Command1[1]->isEnabled(), !save);
        QCOMPARE(again.Text1[5]->isEnabled(), !save);
        QCOMPARE(greyed(again.Text2[0]), save);
    }

    // Esc, the close box and Cancel ask before changes are given up: No keeps the builder, Yes
    // closes it and nothing is stored. Nothing changed, or an item that can only be viewed,
    // closes without a question.
    void unsavedWorkAsked_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("closeBy");
        QTest::addColumn<bool>("asked");
        QTest::newRow("nothing, Cancel") << "nothing"
                                         << "Cancel" << false;
        QTest::newRow("nothing, Esc") << "nothing"
                                      << "Esc" << false;
        QTest::newRow("line, Cancel") << "line"
                                      << "Cancel" << true;
        QTest::newRow("mark-up, Esc") << "mark-up"
                                      << "Esc" << true;
        QTest::newRow("same mark-up again, close box") << "same mark-up"
                                                       << "close box" << false;
        QTest::newRow("class, close box") << "class"
                                          << "close box" << true;
        QTest::newRow("confirmed, Cancel") << "confirmed"
                                           << "Cancel" << true;
        QTest::newRow("class of an item confirmed before, Esc") << "viewed class"
                                                                << "Esc" << false;
    }
    void unsavedWorkAsked() {
        QFETCH(QString, change);
        QFETCH(QString, closeBy);
        QFETCH(bool, asked);
        ModalDriver& boxes = realBoxes();
        writeSettings(1.5f);
        f->addPart(12, QStringLiteral("Bolt"), 4);
        f->addItem(7, QStringLiteral("Robot"), change == QLatin1String("viewed class"));
        f->showList(3);

        bool keptByNo = false;
        boxes.expectWindow(QStringLiteral("changingitem"), [&](QWidget* w) {
            auto* builder = static_cast<changingitem*>(w);
            if (change == QLatin1String("line"))
                user::click(builder->Text2[0]);
            if (change.endsWith(QLatin1String("mark-up")))
                user::click(builder->Text1[5]);
            if (change.endsWith(QLatin1String("class"))) {
                user::click(builder->Text1[7]);
                user::clickLine(builder->List1, 3);
            }
            if (change == QLatin1String("confirmed"))
                user::click(builder->Command1[1]);
            user::closeWindow(builder, builder->Command1[2], closeBy);
            if (!asked)
                return;
            keptByNo = changingitem::loaded() == builder && builder->isVisible();
            user::closeWindow(builder, builder->Command1[2], closeBy);
        });
        if (change == QLatin1String("line")) {
            boxes.expectWindow(QStringLiteral("getpart"), [](QWidget* w) {
                auto* picker = static_cast<getpart*>(w);
                user::click(picker->Text1[2]);
                user::clickLine(picker->List2, 0);
                user::click(picker->Command1);
            });
        }
        if (change.endsWith(QLatin1String("mark-up")))
            boxes.expectInput(QStringLiteral("Enter mark up rate "), QStringLiteral("mark up rate"),
                              change == QLatin1String("mark-up") ? "2" : "1.5");
        if (asked) {
            boxes.expectQuestion(unsavedwork::question, QString(), false);
            boxes.expectQuestion(unsavedwork::question, QString(), true);
        }
        editFirstItem();
        QVERIFY2(boxes.done(), qPrintable(boxes.report()));
        QCOMPARE(keptByNo, asked);
        QVERIFY(!changingitem::loaded());
        QCOMPARE(connection(Business::parts_list).recordCount(), 0);
        QCOMPARE(storedItem(0, AssembledItems::markup).toFloat(), 1.5f);
        QCOMPARE(storedItem(0, AssembledItems::item_class).toInt64(), qint64(0));
        QCOMPARE(storedItem(0, AssembledItems::confirmed).toBool(),
                 change == QLatin1String("viewed class"));
    }

    void keyOnLineOpensPicker_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("row");
        QTest::newRow("Return on a line") << int(Qt::Key_Return) << 0;
        QTest::newRow("Space on the entry row") << int(Qt::Key_Space) << 1;
        QTest::newRow("keypad Enter on the entry row") << int(Qt::Key_Enter) << 1;
    }
    void keyOnLineOpensPicker() {
        QFETCH(int, key);
        QFETCH(int, row);
        f->addPart(100, QStringLiteral("Washer"), 0);
        f->addItem(7, QStringLiteral("Robot"));
        addLines(7, 1);
        changingitem& builder = open(0);
        QVERIFY(shownActive(&builder));
        int handed = -1;
        whenShown<getpart>([&](getpart& picker) {
            handed = builder.onto;
            QTest::mouseClick(picker.Command2, Qt::LeftButton);
        });
        builder.Text4[row]->setFocus();
        press(key);
        QCOMPARE(handed, row);
        QVERIFY(!getpart::loaded());
        // A greyed row opens nothing by key either; the timer only closes a picker opened wrongly.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] {
            if (getpart* picker = getpart::loaded())
                picker->unload();
        });
        guard.start(200);
        QVERIFY(shownActive(&builder)); // the offscreen platform does not give it back by itself
        builder.Text4[2]->setFocus();
        press(Qt::Key_Return);
        QVERIFY(!getpart::loaded());
        QCOMPARE(builder.onto, qint16(row));
    }

    void gridByKeys() {
        f->addItem(7, QStringLiteral("Robot"));
        addLines(7, 9);
        changingitem& builder = open(0);
        QVERIFY(shownActive(&builder));
        builder.Text1[5]->setFocus();
        QStringList visited;
        for (int i = 0; i < 12; ++i) {
            press(Qt::Key_Tab);
            visited << focusName();
        }
        QStringList expected{"Text1(7)"};
        for (int c = 2; c <= 10; ++c)
            expected << QStringLiteral("Text%1(0)").arg(c);
        expected << "Text2(1)"
                 << "Text3(1)";
        QCOMPARE(visited, expected);

        // Down on the bottom row scrolls and keeps the focus there; Up moves a row.
        builder.Text3[6]->setFocus();
        press(Qt::Key_Down);
        QCOMPARE(builder.VScroll1->value(), 1);
        QCOMPARE(builder.Text2[6]->text(), QStringLiteral("0107  P"));
        QCOMPARE(focusName(), QStringLiteral("Text3(6)"));
        press(Qt::Key_Up);
        QCOMPARE(focusName(), QStringLiteral("Text3(5)"));
        press(Qt::Key_PageDown);
        QCOMPARE(builder.VScroll1->value(), builder.VScroll1->maximum());
    }

    void fieldsByKeys() {
        f->business().class_codes().setEntry(1, QStringLiteral("Motors"));
        f->addItem(7, QStringLiteral("Robot"));
        changingitem& builder = open(0);
        QVERIFY(shownActive(&builder));
        prompts().expectInput(QStringLiteral("Enter mark up rate "), QStringLiteral("mark up rate"),
                              QStringLiteral("2"));
        builder.Text1[5]->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(builder.Text1[5]->text(), QStringLiteral("2.0000%"));

        // The class list takes the focus on the class shown; Esc puts it away, Enter chooses.
        builder.Text1[7]->setFocus();
        press(Qt::Key_Space);
        QVERIFY(builder.List1->isVisible());
        QCOMPARE(focusName(), QStringLiteral("List1"));
        QCOMPARE(builder.List1->currentRow(), 0);
        press(Qt::Key_Escape);
        QVERIFY(!builder.List1->isVisible());
        QCOMPARE(changingitem::loaded(), &builder);
        QCOMPARE(focusName(), QStringLiteral("Text1(7)"));
        press(Qt::Key_Return);
        press(Qt::Key_Down);
        press(Qt::Key_Return);
        QVERIFY(!builder.List1->isVisible());
        QVERIFY(builder.Text1[7]->text().startsWith(QStringLiteral("001     Motors")));
        QCOMPARE(focusName(), QStringLiteral("Text1(7)"));
    }

    // An engine error while saving: the user is told, the window stays, nothing changes.
    void failedSave() {
        writeSettings(1.5f);
        f->addItem(7, QStringLiteral("Robot"));
        addLines(7, 2);
        connection(Business::parts_list)
            .database()
            .execute("CREATE TRIGGER refuse BEFORE INSERT ON \"parts list\" WHEN NEW.ip_no = 30 "
                     "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
        changingitem& builder = open(0);
        pick(builder, 2, QStringLiteral("0030     Gear"), true, QStringLiteral("1"));
        prompts().expectMessageStartingWith(connection(Business::parts_list).database().path() +
                                            QStringLiteral(": "));
        QTest::mouseClick(builder.Command1[0], Qt::LeftButton);
        QVERIFY(prompts().shown().last().contains(QStringLiteral("the disk is full")));
        QVERIFY(changingitem::loaded());
        QCOMPARE(storedNumbers(7), (QList<qint64>{100, 101}));
        QCOMPARE(storedItem(0, AssembledItems::total_costs).toMoney(), Money());
        QCOMPARE(builder.cnt, qint16(3));
    }
};

QTEST_MAIN(TestChangingItem)
#include "tst_changingitem.moc"
