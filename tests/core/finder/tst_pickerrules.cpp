// The picker's rules without its window.
#include "core/business/businessfiles.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "core/finder/pickerrules.h"
#include "support/temphome.h"

#include <QtTest>

class TestPickerRules : public QObject {
    Q_OBJECT

private slots:
    void walksKeepTheCurrentRowAndStopAtTheEnd() {
        TempHome home;
        businessfiles::createBusinessDatabases(home.path(), home.file(QStringLiteral("0")));
        RecordSet rows(home.file(QStringLiteral("0/parts.fdb")), Parts::table);
        for (int n : {4, 9, 4}) {
            rows.addNew();
            rows.setField(Parts::part_no, n);
            rows.setField(Parts::unit_cost, Money::fromRaw(n * 10000));
            rows.update();
        }
        rows.moveFirst();
        rows.moveNext();
        const picker::ListedTable& parts = picker::listedTable(-1);
        QCOMPARE(picker::candidates(rows, parts, QStringLiteral("ALL PARTS"), 4.0f).size(), 2);
        QCOMPARE(rows.absolutePosition(), 1);
        QCOMPARE(picker::findRow(rows, 77), -1);
        QCOMPARE(rows.absolutePosition(), 1);
        QCOMPARE(picker::findRow(rows, 4), 0); // the first of two rows with the number
    }

    void pictures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found");
        QTest::newRow("stored upper-cased") << "PART.JPG"
                                            << "part.jpg";
        QTest::newRow("missing") << "OTHER.JPG"
                                 << "";
        QTest::newRow("path") << "sub/PART.JPG"
                              << "";
        QTest::newRow("folder") << "SUB"
                                << "";
        QTest::newRow("cleared") << "NULL"
                                 << "";
    }
    void pictures() {
        QFETCH(QString, name);
        QFETCH(QString, found);
        TempHome home;
        QDir(home.path()).mkdir(QStringLiteral("sub"));
        for (const char* file : {"part.jpg", "sub/PART.JPG"}) {
            QFile f(home.file(QLatin1String(file)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString path = picker::pictureFile(name, QDir(home.path()));
        QCOMPARE(path, found.isEmpty() ? QString() : QDir(home.path()).filePath(found));
    }
};

QTEST_MAIN(TestPickerRules)
#include "tst_pickerrules.moc"
