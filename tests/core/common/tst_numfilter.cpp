#include "core/common/numfilter.h"

#include <QTest>

class TestNumFilter : public QObject {
    Q_OBJECT

private slots:
    void filter_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("decimal") << "12.5" << "12.5";
        QTest::newRow("letter after") << "12a" << "0";
        QTest::newRow("letter before") << "a12" << "0";
        QTest::newRow("single letter") << "x" << "0";
        QTest::newRow("two points pass") << "1.2.3" << "1.2.3";
        QTest::newRow("inner blank passes") << "1 000" << "1 000";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("sign") << "-3" << "0";
        QTest::newRow("currency") << "$5" << "0";
        QTest::newRow("arabic-indic digit") << QString(QChar(0x0661)) << "0";
    }
    void filter() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(numfilter(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestNumFilter)
#include "tst_numfilter.moc"
