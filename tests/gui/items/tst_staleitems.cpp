// Out-of-date prices seen as a user sees them: a part's cost rises after two items used it, one
// of them inside the other; the list of affected items, the marks in the item builder, and the
// update of the unconfirmed item, saved and opened again.
#include "support/businessfixture.h"

#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemtables.h"
#include "gui/finder/databaseview.h"
#include "gui/items/changingitem.h"
#include "gui/items/staleitems.h"
#include "gui/items/stalemarks.h"
#include "gui/widgets/unsavedwork.h"
#include "support/modaldriver.h"
#include "support/useractions.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest>

namespace {

QStringList listed(const staleitems& list) {
    QStringList lines;
    for (int i = 0; i < list.List1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* line = list.List1->topLevelItem(i);
        lines << QStringList{line->text(0), line->text(1), line->text(2), line->text(3)}.join('|');
    }
    return lines;
}

void doubleClickLine(QTreeWidget* view, int row) {
    const QPoint at = view->visualItemRect(view->topLevelItem(row)).center();
    // A real double click starts with a press, which the list needs first.
    asUser([view, at] {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    });
}

// The label, the button and, line by line, the unit price with its mark and tooltip.
QStringList marks(changingitem& builder, int lines) {
    auto* label = builder.findChild<QLabel*>(QStringLiteral("StalePrices"));
    auto* button = builder.findChild<QPushButton*>(QStringLiteral("UpdatePrices"));
    QStringList seen{label->isVisible() ? label->text() : "no label",
                     button->isEnabled() ? "update on" : "update off"};
    for (int r = 0; r < lines; ++r) {
        QLineEdit* box = builder.Text4[std::size_t(r)];
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), box->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &move);
        const bool marked = box->palette().color(QPalette::Base) == StaleMarks::colour;
        seen << box->text() + (marked ? " marked: " + box->toolTip() : QString());
    }
    return seen;
}

} // namespace

class TestStaleItems : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;

    void setCost(qint64 part, const QString& cost) {
        RecordSet parts(f->filePath(QStringLiteral("parts.fdb")), Parts::table);
        parts.moveFirst();
        parts.move(parts.findAll(Parts::part_no, part).front());
        parts.edit();
        parts.setField(Parts::unit_cost, *toMoney(cost));
        parts.update();
    }
    QStringList stored(qint64 host, int column) {
        RecordSet& lines = f->connection(Business::parts_list);
        QStringList values;
        for (lines.moveFirst(); !lines.eof(); lines.moveNext()) {
            if (lines.field(PartsList::host_item_no).toInt64() == host)
                values << format(lines.field(column).toMoney(), QStringLiteral("$0.00"));
        }
        return values;
    }

    // "Edit item" on the item list's first line, the Bracket.
    void editFirstItem() {
        databaseview& finder = f->showList(3);
        user::clickLine(finder.List1[0], 0);
        user::click(finder.Command1[0]);
    }

private slots:
    void init() {
        f = std::make_unique<BusinessFixture>(BusinessFixture::Contents::Sample,
                                              BusinessFixture::Boxes::Real);
    }
    void cleanup() { f.reset(); }

    // The Bracket (unconfirmed) holds 2 Bolts; the Frame (confirmed) holds the Bracket and,
    // from now on, 3 Bolts. The Bolt's cost rises from $0.25 to $0.40.
    void boltDearer() {
        f->addComponent(1, true, 1, 3, 0.25);
        setCost(1, QStringLiteral("0.40"));
        ModalDriver boxes;
        QStringList seen;
        boxes.expectWindow(QStringLiteral("staleitems"), [&](QWidget* w) {
            auto* list = static_cast<staleitems*>(w);
            seen << listed(*list);
            doubleClickLine(list->List1, 0);
            seen << listed(*list);
            doubleClickLine(list->List1, 0);
            user::click(list->Command1[1]);
        });
        boxes.expectWindow(QStringLiteral("changingitem"), [&](QWidget* w) {
            auto* builder = static_cast<changingitem*>(w);
            seen << builder->Text1[1]->text() << marks(*builder, 2);
            user::click(builder->findChild<QPushButton*>(QStringLiteral("UpdatePrices")));
            seen << marks(*builder, 2) << builder->Text10[0]->text() << builder->Text1[2]->text();
            user::click(builder->Command1[2]); // kept by No
            user::click(builder->Command1[0]);
        });
        boxes.expectQuestion(unsavedwork::question, QString(), false);
        boxes.expectMessage(QStringLiteral("saved"));
        boxes.expectWindow(QStringLiteral("changingitem"), [&](QWidget* w) {
            auto* builder = static_cast<changingitem*>(w);
            seen << builder->Text1[1]->text() << marks(*builder, 3);
            user::click(builder->Command1[2]); // only shown: no question
        });
        user::chooseMenu(&f->main(), QStringLiteral("DatabaseMenu"),
                         QStringLiteral("DatabaseView_stale"));
        QVERIFY2(boxes.done(), qPrintable(boxes.report()));
        QCOMPARE(seen, (QStringList{"0000|Bracket|1|No", "0001|Frame|1|Yes",
                                    // the Bracket
                                    "Bracket", "1 price out of date", "update on",
                                    "$0.25 marked: Current price: $0.40 (stored $0.25)", "$0.15",
                                    // updated
                                    "no label", "update off", "$0.40", "$0.15", "$1.20", "$1.35",
                                    // saved: the Frame now holds an old Bracket price as well
                                    "0001|Frame|2|Yes", "Frame", "2 prices out of date",
                                    "update off",
                                    "$0.52 marked: Current price: $1.35 (stored $0.52)",
                                    "$6.00",
                                    "$0.25 marked: Current price: $0.40 (stored $0.25)"}));
        QCOMPARE(stored(0, PartsList::unit_price), (QStringList{"$0.40", "$0.15"}));
        QCOMPARE(stored(1, PartsList::unit_price), (QStringList{"$0.52", "$6.00", "$0.25"}));

        QStringList reopened;
        boxes.expectWindow(QStringLiteral("changingitem"), [&](QWidget* w) {
            auto* builder = static_cast<changingitem*>(w);
            reopened << builder->Text1[2]->text() << marks(*builder, 1);
            user::click(builder->Command1[2]);
        });
        editFirstItem();
        QVERIFY2(boxes.done(), qPrintable(boxes.report()));
        QCOMPARE(reopened, (QStringList{"$1.35", "no label", "update off", "$0.40"}));
    }

    // The mark goes with its line as the grid scrolls.
    void markScrolls() {
        for (int i = 0; i < 7; ++i)
            f->addComponent(0, true, 3, 1, 0.05);
        f->addComponent(0, true, 4, 1, 5.00); // line 9; the Plate costs $6.00
        QList<bool> marked;
        ModalDriver boxes;
        boxes.expectWindow(QStringLiteral("changingitem"), [&](QWidget* w) {
            auto* builder = static_cast<changingitem*>(w);
            for (int top : {0, 3, 0}) {
                builder->VScroll1->setValue(top);
                marked << (builder->Text4[6]->palette().color(QPalette::Base) == StaleMarks::colour);
            }
            user::click(builder->Command1[2]);
        });
        editFirstItem();
        QVERIFY2(boxes.done(), qPrintable(boxes.report()));
        QCOMPARE(marked, (QList<bool>{false, true, false}));
    }
};

QTEST_MAIN(TestStaleItems)
#include "tst_staleitems.moc"
