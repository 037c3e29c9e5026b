// Typed numbers judged before they change anything: units dropped, letters, empty answers and
// numbers out of range refused with a message that names what is wanted.
#include "core/common/numberentry.h"

#include <QtTest>

class TestNumberEntry : public QObject {
    Q_OBJECT

private slots:
    void read_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12.5" << false << true << 12.5;
        QTest::newRow("with its prefix") << "$45" << false << true << 45.0;
        QTest::newRow("with prefix and suffix") << "$45/hr" << false << true << 45.0;
        QTest::newRow("suffix in another case") << "45 HR" << false << true << 45.0;
        QTest::newRow("percent") << "8.25%" << false << true << 8.25;
        QTest::newRow("blanks around") << "  7  " << true << true << 7.0;
        QTest::newRow("letters") << "abc" << false << false << 0.0;
        QTest::newRow("letters after") << "12a" << false << false << 0.0;
        QTest::newRow("empty") << "" << false << false << 0.0;
        QTest::newRow("unit only") << "/hr" << false << false << 0.0;
        QTest::newRow("unit twice") << "$45/hr/hr" << false << false << 0.0;
        QTest::newRow("below the range") << "-1" << false << false << 0.0;
        QTest::newRow("above the range") << "1000000000" << false << false << 0.0;
        QTest::newRow("top of the range") << "999999999" << true << true << 999999999.0;
        QTest::newRow("not whole") << "2.5" << true << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << false << 0.0;
        QTest::newRow("infinite") << "1e999" << false << false << 0.0;
    }
    void read() {
        QFETCH(QString, text);
        QFETCH(bool, whole);
        QFETCH(bool, accepted);
        QFETCH(double, value);
        const numberentry::Wanted wanted{QStringLiteral("the rate"), 0, 999999999, whole,
                                         QStringLiteral("$"),
                                         {QStringLiteral("/hr"), QStringLiteral("hr"),
                                          QStringLiteral("%")}};
        QString refusal;
        const std::optional<double> read = numberentry::read(text, wanted, &refusal);
        QCOMPARE(read.has_value(), accepted);
        if (accepted) {
            QCOMPARE(*read, value);
            QVERIFY(refusal.isEmpty());
        } else {
            QCOMPARE(refusal, QStringLiteral("Please enter the rate as a %1 from 0 to 999999999.")
                                  .arg(whole ? QStringLiteral("whole number")
                                             : QStringLiteral("number")));
        }
    }
};

QTEST_GUILESS_MAIN(TestNumberEntry)
#include "tst_numberentry.moc"
