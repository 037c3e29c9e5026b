// Exact money arithmetic: an amount times a factor read at the decimal it shows, rounded once
// to the cent, and what 128 bits or Money cannot hold.
#include "core/common/decimaltext.h"
#include "core/common/exactamount.h"
#include "core/common/textnum.h"

#include <QtTest>

class TestExactAmount : public QObject {
    Q_OBJECT

private slots:
    void productToTheCent_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<float>("factor");
        QTest::addColumn<QString>("cents"); // empty: not held
        QTest::addColumn<bool>("isMoney");
        QTest::newRow("a half cent away from zero") << "0.005" << 1.0f << "$0.01" << true;
        QTest::newRow("a half cent of a debt") << "-0.005" << 1.0f << "-$0.01" << true;
        QTest::newRow("just below a half") << "0.0049" << 1.0f << "$0.00" << true;
        // 1.2346f is 1.23459994...: 30.864998... as a binary product.
        QTest::newRow("mark-up as shown") << "25" << 1.2346f << "$30.87" << true;
        QTest::newRow("negative mark-up") << "25" << -1.2346f << "-$30.87" << true;
        // 7.3f is 7.30000019...: 73000001.91 as a binary product.
        QTest::newRow("rate as shown") << "10000000" << 7.3f << "$73000000.00" << true;
        QTest::newRow("largest Money")
            << "922337203685477.58" << 1.0f << "$922337203685477.58" << true;
        QTest::newRow("past Money, still exact")
            << "922337203685477.59" << 1000.0f << "$922337203685477590.00" << false;
        QTest::newRow("product past 128 bits") << "1e32" << 1e9f << "" << false;
        QTest::newRow("amount read past 10^33") << "1e33" << 1.0f << "" << false;
        QTest::newRow("factor read past 10^33") << "1" << 1e33f << "" << false;
    }
    void productToTheCent() {
        QFETCH(QString, amount);
        QFETCH(float, factor);
        QFETCH(QString, cents);
        QFETCH(bool, isMoney);
        const ExactAmount product =
            (ExactAmount::of(*decimal::parseStrict(amount), 4) * ExactAmount::ofSingle(factor, 17))
                .rounded(2);
        QCOMPARE(product.isValid(), !cents.isEmpty());
        QCOMPARE(product.text(QStringLiteral("$0.00")), cents);
        QCOMPARE(product.money().has_value(), isMoney);
        if (isMoney)
            QCOMPARE(product.money()->raw(), toMoney(cents.remove(QLatin1Char('$')))->raw());
    }

    void sumPast128Bits() {
        const ExactAmount large(ExactAmount::Count(1) << 126, 0);
        QVERIFY(!(large + large).isValid());
        QVERIFY(!(large + ExactAmount(Money::fromRaw(-1))).isValid()); // widened to 4 places
        QVERIFY((large + ExactAmount::whole(-1)).isValid());
    }
};

QTEST_GUILESS_MAIN(TestExactAmount)
#include "tst_exactamount.moc"
