// Lines removed from an item in the builder: asked about, the lines below moving up, written on
// Save only, and never from a confirmed item.
#include "support/businessfixture.h"

#include "core/common/recordset.h"
#include "core/items/itemtables.h"
#include "gui/finder/databaseview.h"
#include "gui/items/changingitem.h"
#include "support/modal.h"
#include "support/useractions.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <memory>

namespace {

QStringList shownNumbers(const changingitem& builder) {
    QStringList numbers;
    for (int r = 0; r < builder.cnt && r < 6; ++r)
        numbers << builder.Text2[r]->text().left(4);
    return numbers;
}

} // namespace

class TestItemRemoval : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;

    // The builder on the item of the item list's line, loaded as "Edit item" loads it but not
    // modally.
    changingitem& open(int line) {
        databaseview& finder = f->showList(3);
        user::clickLine(finder.List1[0], line);
        changingitem& builder = changingitem::get(f->business());
        builder.area = qint16(finder.linePosition(line));
        builder.load(finder.cellText(0, line).left(5), finder.cellText(2, line));
        builder.show();
        return builder;
    }

    QStringList storedNumbers(qint64 host) const {
        RecordSet rows(f->filePath(QStringLiteral("items.fdb")), PartsList::table);
        QStringList numbers;
        for (rows.moveFirst(); !rows.eof(); rows.moveNext())
            if (rows.field(PartsList::host_item_no).toInt64() == host)
                numbers << QString::number(rows.field(PartsList::ip_no).toInt64());
        return numbers;
    }

private slots:
    void init() { f = std::make_unique<BusinessFixture>(BusinessFixture::Contents::Sample); }
    void cleanup() {
        closeModalWindows();
        const bool done = f->prompts().done();
        const QString report = f->prompts().report();
        f.reset();
        QVERIFY2(done, qPrintable(report));
    }

    void removeLine_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("first") << 0 << QStringList{"0002", "0003"};
        QTest::newRow("middle") << 1 << QStringList{"0001", "0003"};
        QTest::newRow("last") << 2 << QStringList{"0001", "0002"};
    }
    void removeLine() {
        QFETCH(int, row);
        QFETCH(QStringList, left);
        f->addComponent(0, true, 3, 1, 0.05);
        changingitem& builder = open(0);
        QCOMPARE(shownNumbers(builder), (QStringList{"0001", "0002", "0003"}));
        const QString costs = builder.Text1[2]->text();

        f->prompts().expectQuestion(QStringLiteral("Remove line %1?").arg(row + 1), QString(),
                                    true);
        QTest::keyClick(builder.Text3[row], Qt::Key_Delete);
        QCOMPARE(shownNumbers(builder), left);
        QCOMPARE(builder.Text2[2]->text(), QStringLiteral("  "));
        QVERIFY(builder.Text1[2]->text() != costs);
        const QString remaining = builder.Text1[2]->text();
        QCOMPARE(storedNumbers(0), (QStringList{"1", "2", "3"})); // nothing written before Save

        f->prompts().expectMessage(QStringLiteral("saved"));
        user::click(builder.Command1[0]);
        QStringList stored;
        for (const QString& n : left)
            stored << QString::number(n.toInt());
        QCOMPARE(storedNumbers(0), stored);
        QVERIFY(!changingitem::loaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        changingitem& again = open(0);
        QCOMPARE(shownNumbers(again), left);
        QCOMPARE(again.Text1[2]->text(), remaining);
    }

    // Scrolled down, Delete on the top row removes the line that row shows.
    void removeScrolled() {
        for (qint64 n = 3; n <= 9; ++n)
            f->addComponent(0, true, n, 1, 0.05);
        changingitem& builder = open(0);
        QTest::keyClick(builder.VScroll1, Qt::Key_Down);
        QCOMPARE(builder.VScroll1->value(), 1);
        QCOMPARE(builder.Text2[0]->text().left(4), QStringLiteral("0002"));

        f->prompts().expectQuestion(QStringLiteral("Remove line 2?"), QString(), true);
        QTest::keyClick(builder.Text3[0], Qt::Key_Delete);
        QCOMPARE(int(builder.cnt), 8);
        QCOMPARE(builder.lines().line(1)[ItemCell::ip_code].left(4), QStringLiteral("0003"));
    }

    void confirmedKeepsLines() {
        changingitem& builder = open(1); // "Frame", confirmed
        const int before = builder.cnt;
        QTest::keyClick(builder.Text2[0], Qt::Key_Delete);
        QCOMPARE(int(builder.cnt), before);
    }
};

QTEST_MAIN(TestItemRemoval)
#include "tst_itemremoval.moc"
