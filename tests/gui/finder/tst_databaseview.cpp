// The data finder's lists: fill, sort, search, selection, and the actions of its buttons.
#include "support/businessfixture.h"

#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "core/items/itemtables.h"
#include "gui/finder/databaseview.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {
QStringList column(const databaseview& finder, int index) {
    QStringList texts;
    for (int line = 0; line < finder.lineCount(); ++line)
        texts << finder.cellText(index, line);
    return texts;
}

void clickHeader(databaseview& finder, int index) {
    QTest::mouseClick(finder.Label1[index], Qt::LeftButton);
}

void doubleClickHeader(databaseview& finder, int index) {
    QTest::mouseDClick(finder.Label1[index], Qt::LeftButton);
}

// A click on a line of the number column, as the user picks a line.
void clickLine(databaseview& finder, int line) {
    QListView* view = finder.List1[0];
    const QRect spot = view->visualRect(view->model()->index(line, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, spot.center());
}

void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}
} // namespace

class TestDatabaseview : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<BusinessFixture> f;

private slots:
    void init() { f = std::make_unique<BusinessFixture>(); }
    void cleanup() {
        QVERIFY2(f->prompts().done(), qPrintable(f->prompts().report()));
        f.reset();
    }

    void emptyTableGivesAnEmptyList() {
        databaseview* finder = &f->showList(0);
        QVERIFY(finder);
        QCOMPARE(finder->windowTitle(), QStringLiteral("Main parts list"));
        QCOMPARE(finder->lineCount(), 0);
        QCOMPARE(finder->max, qint16(0));
        QCOMPARE(finder->selectedLine(), -1);
        // Searching an empty list selects nothing and raises nothing.
        doubleClickHeader(*finder, 1);
        QVERIFY(finder->Frame1->isVisible());
        QTest::keyClicks(finder->Text1, QStringLiteral("abc"));
        QCOMPARE(finder->selectedLine(), -1);
    }

    void fillShowsEveryColumnAndMax() {
        f->business().class_codes().setEntry(4, QStringLiteral("Fasteners"));
        f->addPart(5, QStringLiteral("bolt"), 1.25, 4, true, 7);
        f->addPart(37, QStringLiteral("nut"), 9.5, 0, false);
        f->addPart(12, QStringLiteral("odd"), 12, 250);
        databaseview* finder = &f->showList(0);
        QCOMPARE(finder->max, qint16(38));
        QCOMPARE(column(*finder, 0), (QStringList{"0005  G", "0012  G", "0037  S"}));
        QCOMPARE(column(*finder, 1),
                 (QStringList{"Maker bolt", "Maker odd", "Maker nut"}));
        QCOMPARE(column(*finder, 3), (QStringList{QStringLiteral("Fasteners").leftJustified(30),
                                                  "250", "MISC"}));
        QCOMPARE(column(*finder, 4), (QStringList{"$1.25", "$12.00", "$9.50"}));
        // The parts list's hover hint is the quantity of the line's part.
        const QModelIndex first = finder->List1[2]->model()->index(0, 2);
        QCOMPARE(first.data(Qt::ToolTipRole).toString(), QStringLiteral("QTY OF bolt = 7"));
        QVERIFY(finder->Command1[4]->isVisible());
        QCOMPARE(finder->Command1[4]->text(), QStringLiteral("Sell Part"));
    }

    void sortFormsOrderAmountsAndNumbers() {
        f->addPart(1001, QStringLiteral("b"), 12);
        f->addPart(10000, QStringLiteral("c"), 9.5);
        f->addPart(1000, QStringLiteral("a"), 100.25);
        databaseview* finder = &f->showList(0);
        // A five-digit number sorts as text, between 1000 and 1001.
        QCOMPARE(column(*finder, 0), (QStringList{"1000  G", "10000  G", "1001  G"}));
        clickHeader(*finder, 4);
        QCOMPARE(column(*finder, 4),
                 (QStringList{"        $9.50 ", "       $12.00 ", "      $100.25 "}));
        QCOMPARE(column(*finder, 2), (QStringList{"c", "b", "a"}));
    }

    void itemListForms() {
        f->addItem(3, QStringLiteral("frame"), true, 1.5f, 7.5);
        f->addItem(1, QStringLiteral("wheel"), false, 25.0f, 12);
        databaseview* finder = &f->showList(3);
        QCOMPARE(finder->windowTitle(), QStringLiteral("Item list "));
        QVERIFY(!finder->Command1[4]->isVisible());
        QCOMPARE(column(*finder, 0), (QStringList{"0001  U", "0003  C"}));
        QCOMPARE(column(*finder, 3), (QStringList{"25.0000%", "1.5000%"}));
        QCOMPARE(column(*finder, 4), (QStringList{"12 days", "8 days"}));
        clickHeader(*finder, 3);
        QCOMPARE(column(*finder, 3), (QStringList{"001.5000%", "025.0000%"}));
        // The blanks come from the plain text (7.5) while the number is rounded (8).
        clickHeader(*finder, 4);
        QCOMPARE(column(*finder, 4),
                 (QStringList{"          12 day(s) ", "         8 day(s) "}));
    }

    void headerClickKeepsOrLosesTheSelection() {
        for (int n = 0; n < 5; ++n)
            f->addPart(n, QStringLiteral("part %1").arg(4 - n), 5.0 + n);
        databaseview* finder = &f->showList(0);
        clickLine(*finder, 3);
        QCOMPARE(finder->connection(0).absolutePosition(), 3);
        clickHeader(*finder, 0);
        QCOMPARE(finder->selectedLine(), 3);
        clickHeader(*finder, 2);
        QCOMPARE(finder->selectedLine(), -1);
        // Selecting a line moves the record set to its record, whatever the order.
        clickLine(*finder, 0);
        QCOMPARE(finder->connection(0).absolutePosition(), 4);
        QCOMPARE(finder->Label1[2]->toolTip().isEmpty(), true);
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(finder->Label1[2], &enter);
        QCOMPARE(finder->Label1[2]->toolTip(), QStringLiteral("click to sort table by  'Description'  "));
    }

    void searchFindsTheFirstLineNotLess_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("line");
        QTest::newRow("lower case") << "c" << 2;
        QTest::newRow("upper case") << "C" << 2;
        QTest::newRow("exact") << "bravo" << 1;
        QTest::newRow("beyond every line") << "zzz" << 3;
        QTest::newRow("before every line") << "0" << 0;
    }
    void searchFindsTheFirstLineNotLess() {
        QFETCH(QString, typed);
        QFETCH(int, line);
        f->addPart(1, QStringLiteral("Delta"), 1);
        f->addPart(2, QStringLiteral("alpha"), 1);
        f->addPart(3, QStringLiteral("Charlie"), 1);
        f->addPart(4, QStringLiteral("bravo"), 1);
        databaseview* finder = &f->showList(0);
        doubleClickHeader(*finder, 2);
        QCOMPARE(column(*finder, 2), (QStringList{"alpha", "bravo", "Charlie", "Delta"}));
        QTest::keyClicks(finder->Text1, typed);
        QCOMPARE(finder->selectedLine(), line);
        QCOMPARE(finder->connection(0).absolutePosition(), finder->linePosition(line));
        QTest::mouseClick(finder->Command2, Qt::LeftButton);
        QVERIFY(!finder->Frame1->isVisible());
    }

    void searchStartsFromTheSelectedNumber() {
        f->addPart(12, QStringLiteral("x"), 1);
        databaseview* finder = &f->showList(0);
        clickLine(*finder, 0);
        doubleClickHeader(*finder, 0);
        QCOMPARE(finder->Text1->text(), QStringLiteral("0012  G"));
        click(finder->Command2);
        f->addItem(7, QStringLiteral("y"));
        finder = &f->showList(3);
        clickHeader(*finder, 2);
        clickLine(*finder, 0);
        doubleClickHeader(*finder, 2);
        QCOMPARE(finder->Text1->text(), QStringLiteral("y"));
    }

    void buttonsNeedASelection_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("edit part") << 0 << 1 << "Please select a recordfirst" << "record List View";
        QTest::newRow("delete part") << 0 << 2 << "Must select a record first" << "";
        QTest::newRow("sell part") << 0 << 4 << "select a part first" << "";
        QTest::newRow("edit customer") << 1 << 1 << "Please select a recordfirst"
                                       << "record List View";
        QTest::newRow("delete customer") << 1 << 2 << "Must select a record first" << "";
        QTest::newRow("edit item") << 3 << 0 << "Please select an item  first" << "item List View";
        QTest::newRow("sell item") << 3 << 1 << "Please select a recordfirst" << "record List View";
        QTest::newRow("delete item") << 3 << 2 << "Must select a record first" << "";
    }
    void buttonsNeedASelection() {
        QFETCH(int, mode);
        QFETCH(int, button);
        QFETCH(QString, text);
        QFETCH(QString, title);
        databaseview* finder = &f->showList(qint16(mode));
        f->prompts().expectMessage(text, title);
        click(finder->Command1[button]);
    }

    void partDeletionChecksUseAndAsks() {
        f->addPart(1, QStringLiteral("used"), 1);
        f->addPart(2, QStringLiteral("free"), 1);
        f->addItem(2, QStringLiteral("item two"));
        f->addComponent(9, false, 2); // item 2, not part 2, is in use
        f->addComponent(9, true, 1);  // the last row names part 1
        databaseview* finder = &f->showList(0);

        clickLine(*finder, 0);
        f->prompts().expectMessage(QStringLiteral("Product is in use in an item"));
        click(finder->Command1[2]);

        clickLine(*finder, 1);
        f->prompts().expectQuestion(QStringLiteral("Are you sure"), QStringLiteral("deleting part"),
                                    false);
        click(finder->Command1[2]);
        QCOMPARE(f->countRows("parts.fdb", Parts::table), 2);

        f->prompts().expectQuestion(QStringLiteral("Are you sure"), QStringLiteral("deleting part"),
                                    true);
        click(finder->Command1[2]);
        QCOMPARE(f->countRows("parts.fdb", Parts::table), 1);
        finder = databaseview::loaded();
        QVERIFY(finder);
        QCOMPARE(column(*finder, 2), QStringList{"used"});
    }

    void itemDeletionRules() {
        f->addItem(1, QStringLiteral("confirmed"), true);
        f->addItem(2, QStringLiteral("component"));
        f->addItem(3, QStringLiteral("plain"));
        f->addComponent(1, false, 2);
        f->addComponent(3, true, 5);
        f->addComponent(3, true, 6);
        databaseview* finder = &f->showList(3);

        clickLine(*finder, 0);
        f->prompts().expectMessage(QStringLiteral("Cannot delete item. it's confirmed"));
        click(finder->Command1[2]);
        clickLine(*finder, 1);
        f->prompts().expectMessage(QStringLiteral("Product is in use in an item"));
        click(finder->Command1[2]);

        // Asked as for a part: only Yes deletes, and the item's own lines go with it.
        clickLine(*finder, 2);
        f->prompts().expectQuestion(QStringLiteral("Are you sure"), QStringLiteral("deleting item"),
                                    false);
        click(finder->Command1[2]);
        QCOMPARE(f->countRows("items.fdb", AssembledItems::table), 3);
        QCOMPARE(f->countRows("items.fdb", PartsList::table), 3);
        f->prompts().expectQuestion(QStringLiteral("Are you sure"), QStringLiteral("deleting item"),
                                    true);
        click(finder->Command1[2]);
        QCOMPARE(f->countRows("items.fdb", AssembledItems::table), 2);
        QCOMPARE(f->countRows("items.fdb", PartsList::table), 1);
        QCOMPARE(column(*databaseview::loaded(), 2), (QStringList{"confirmed", "component"}));
    }

    void addingStopsAtTheLastNumber_data() {
        QTest::addColumn<qint64>("highest");
        QTest::newRow("last 16-bit number") << qint64(32767);
        QTest::newRow("largest number a file can hold") << std::numeric_limits<qint64>::max();
    }
    void addingStopsAtTheLastNumber() {
        QFETCH(qint64, highest);
        f->addPart(highest, QStringLiteral("last"), 1);
        databaseview* finder = &f->showList(0);
        QCOMPARE(finder->max, qint16(32767));
        f->prompts().expectMessage(
            QStringLiteral("No more records can be added: record numbers cannot pass 32767."));
        click(finder->Command1[0]);
    }

    void sellingShowsTheCustomers() {
        f->addPart(1, QStringLiteral("p"), 1);
        f->addCustomer(12, QStringLiteral("John"), QStringLiteral("Smith"));
        databaseview* finder = &f->showList(0);
        clickLine(*finder, 0);
        click(finder->Command1[4]);
        QVERIFY(finder->List4->isVisible());
        QCOMPARE(finder->List4->item(0)->text(), QStringLiteral("0012  John Smith"));
        clickHeader(*finder, 1);
        QVERIFY(!finder->List4->isVisible());
    }

    void partsListTwiceKeepsOneLegend() {
        MDIForm1& main = f->main();
        click(main.Command1[1]);
        click(main.Command1[1]);
        QCOMPARE(main.Label1->text(), QStringLiteral("Business opened successfully: "
                                                     "         G = general Stock       S = special"));
        click(databaseview::loaded()->Command1[3]);
        QVERIFY(!databaseview::loaded());
        QCOMPARE(main.Label1->text(), QStringLiteral("Business opened successfully: "));
    }
};

QTEST_MAIN(TestDatabaseview)
#include "tst_databaseview.moc"
