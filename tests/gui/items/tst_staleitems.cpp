// Out-of-date prices as a user meets them: a part's cost rises after two items used it, one of
// them inside the other.
#include "support/businessfixture.h"

#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
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

bool marked(const QLineEdit* box) {
    return box->palette().color(QPalette::Base) == StaleMarks::colour;
}

// The label, the button and, line by line, the unit price with its mark and the tooltip that
// hovering shows.
QStringList marks(changingitem& builder, int lines) {
    auto* label = builder.findChild<QLabel*>(QStringLiteral("StalePrices"));
    auto* button = builder.findChild<QPushButton*>(QStringLiteral("UpdatePrices"));
    QStringList seen{label->isVisible() ? label->text() : "no label",
                     button->isEnabled() ? "update on" : "update off"};
    for (int r = 0; r < lines; ++r) {
        QLineEdit* box = builder.Text4[std::size_t(r)];
        QTest::mouseMove(box, QPoint(3, 3));
        seen << box->text() + (marked(box) ? " marked: " + box->toolTip() : QString());
    }
    return seen;
}

} // namespace

class TestStaleItems : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;

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

    // The Bracket (unconfirmed) holds 2 Bolts; the Frame (confirmed) holds the Bracket and 3
    // Bolts. The Bolt's cost then rises from $0.25 to $0.40.
    void boltDearer() {
        f->addComponent(1, true, 1, 3, 0.25);
        {
            RecordSet parts(f->filePath(QStringLiteral("parts.fdb")), Parts::table);
            parts.moveFirst();
            parts.edit();
            parts.setField(Parts::unit_cost, *toMoney("0.40"));
            parts.update();
        }
        ModalDriver boxes;
        QStringList seen;
        const auto open = [&](staleitems* list) {
            const QPoint at = list->List1->visualItemRect(list->List1->topLevelItem(0)).center();
            // A real double click starts with a press, which the list needs first.
            asUser([list, at] {
                QTest::mouseClick(list->List1->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->List1->viewport(), Qt::LeftButton, {}, at);
            });
        };
        boxes.expectWindow(QStringLiteral("staleitems"), [&](QWidget* w) {
            auto* list = static_cast<staleitems*>(w);
            seen << listed(*list);
            open(list);
            seen << listed(*list);
            open(list);
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
                                    "Bracket", "1 prices out of date", "update on",
                                    "$0.25 marked: Current price: $0.40 (stored $0.25)", "$0.15",
                                    // updated: line cost and item's total costs
                                    "no label", "update off", "$0.40", "$0.15", "$1.20", "$1.35",
                                    // saved: the Frame now holds an old Bracket price as well
                                    "0001|Frame|2|Yes", "Frame", "2 prices out of date",
                                    "update off",
                                    "$0.52 marked: Current price: $1.35 (stored $0.52)",
                                    "$6.00",
                                    "$0.25 marked: Current price: $0.40 (stored $0.25)"}));

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

    // The mark goes with its line, and only with it, as the scroll bar's arrows move the grid.
    void markScrolls() {
        for (int i = 0; i < 7; ++i)
            f->addComponent(0, true, 3, 1, 0.05);
        f->addComponent(0, true, 4, 1, 5.00); // line 9 from 0; the Plate costs $6.00
        QList<int> rows; // the row marked after each step; -1: none
        ModalDriver boxes;
        boxes.expectWindow(QStringLiteral("changingitem"), [&](QWidget* w) {
            auto* builder = static_cast<changingitem*>(w);
            QScrollBar* bar = builder->VScroll1;
            const QPoint up(bar->width() / 2, 4);
            const QPoint down(bar->width() / 2, bar->height() - 4);
            for (const QPoint& at : {up, down, down, down, down, up, up}) {
                asUser([bar, at] { QTest::mouseClick(bar, Qt::LeftButton, {}, at); });
                int row = -1;
                for (int r = 0; r < int(builder->Text4.size()); ++r)
                    row = marked(builder->Text4[std::size_t(r)]) ? r : row;
                rows << row;
            }
            user::click(builder->Command1[2]);
        });
        editFirstItem();
        QVERIFY2(boxes.done(), qPrintable(boxes.report()));
        QCOMPARE(rows, (QList<int>{-1, -1, -1, 6, 5, 6, -1}));
    }
};

QTEST_MAIN(TestStaleItems)
#include "tst_staleitems.moc"
