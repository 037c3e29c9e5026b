// The code window: rows, scrolling, descriptions kept in memory, and which way of closing writes.
#include "core/business/business.h"
#include "core/business/codetable.h"
#include "core/common/recordfile.h"
#include "gui/catalogue/codepage.h"
#include "support/businessfixture.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <memory>

class TestCodepage : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<BusinessFixture> f;

    Codepage& open(qint16 mode) {
        Codepage& window = Codepage::get(f->business());
        window.mode = mode;
        window.load();
        window.show();
        return window;
    }

private slots:
    void init() { f = std::make_unique<BusinessFixture>(); }
    void cleanup() {
        const bool done = f->prompts().done();
        const QString report = f->prompts().report();
        f.reset();
        QVERIFY2(done, qPrintable(report));
    }

    void rowsFollowTheScrollBar() {
        Codepage& window = open(-1);
        QCOMPARE(window.windowTitle(), QStringLiteral("Part Classification Code"));
        QCOMPARE(window.Frame1->title(), QStringLiteral("Parts"));
        QCOMPARE(window.Text1[0]->text(), QStringLiteral("001"));
        QCOMPARE(window.Text1[6]->text(), QStringLiteral("007"));
        QCOMPARE(window.Text2[0]->text(), QString()); // shown without the padding blanks
        QCOMPARE(window.VScroll1->minimum(), 1);
        window.VScroll1->setValue(window.VScroll1->maximum());
        QCOMPARE(window.Text1[0]->text(), QStringLiteral("194"));
        QCOMPARE(window.Text1[6]->text(), QStringLiteral("200"));
    }

    void closeWritesTheTableAndEscapeIsClose() {
        Codepage& window = open(-1);
        window.VScroll1->setValue(3);
        window.Text2[2]->setText(QStringLiteral("A description of forty characters long.."));
        QCOMPARE(f->business().class_codes().entry(5),
                 QStringLiteral("A description of forty charact"));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!Codepage::loaded());
        const RecordRead read = readRecord(f->filePath(QStringLiteral("classprt.dat")), 6000);
        QCOMPARE(read.status, RecordStatus::Ok);
        QCOMPARE(read.bytes.mid(4 * 30, 30), QByteArray("A description of forty charact"));
        QCOMPARE(read.bytes.count(' '), 6000 - 26);
    }

    // What is typed after a click into a row is stored, whether the row was empty or not.
    void typedDescriptionIsStored_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty row") << ""
                                   << "Bearings"
                                   << "Bearings";
        QTest::newRow("added to a description") << "Bolts"
                                                << " Inc"
                                                << "Bolts Inc";
        QTest::newRow("stopped at 30") << "" << QString(35, 'b') << QString(30, 'b');
    }
    void typedDescriptionIsStored() {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        f->business().class_codes().setEntry(2, before);
        Codepage& window = open(-1);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(window.Text2[1], Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QTest::mouseClick(window.Command1, Qt::LeftButton);
        QVERIFY(!Codepage::loaded());
        const RecordRead read = readRecord(f->filePath(QStringLiteral("classprt.dat")), 6000);
        QCOMPARE(CodeTable::decode(read.bytes)->entry(2), stored.leftJustified(30));
    }

    void closeBoxWritesNothingButKeepsTheEdit() {
        Codepage& window = open(0);
        QCOMPARE(window.windowTitle(), QStringLiteral("Vendor Classification Code"));
        QCOMPARE(window.Frame1->title(), QStringLiteral("Vendors"));
        window.Text2[4]->setText(QStringLiteral("Bolts Inc."));
        window.close();
        QVERIFY(!Codepage::loaded());
        QVERIFY(!QFile::exists(f->filePath(QStringLiteral("vendor.dat"))));
        QCOMPARE(f->business().vendor_codes().entry(5).trimmed(), QStringLiteral("Bolts Inc."));
    }

    void clickingARowHighlightsIt() {
        Codepage& window = open(-1);
        QTest::mouseClick(window.Text1[2], Qt::LeftButton);
        QCOMPARE(window.Text2[2]->palette().color(QPalette::Base), QColor(128, 128, 255));
        QCOMPARE(window.Text1[2]->palette().color(QPalette::Base), QColor(128, 128, 255));
        QVERIFY(window.Text2[0]->palette().color(QPalette::Base) != QColor(128, 128, 255));
        window.VScroll1->setValue(2);
        QVERIFY(window.Text2[2]->palette().color(QPalette::Base) != QColor(128, 128, 255));
    }
};

QTEST_MAIN(TestCodepage)
#include "tst_codepage.moc"
