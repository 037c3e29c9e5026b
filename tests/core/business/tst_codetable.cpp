#include "core/business/codetable.h"

#include <QtTest>

class TestCodeTable : public QObject {
    Q_OBJECT

private slots:
    void entriesAreCutOrPadded_data();
    void entriesAreCutOrPadded();
    void entriesSitInCodeOrder();
    void decodeTakesAnyBytesOfTheRightSize();
};

void TestCodeTable::entriesAreCutOrPadded_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    const QString digits = "0123456789";
    QTest::newRow("40 characters") << 5 << digits.repeated(4) << digits.repeated(3);
    QTest::newRow("short") << 1 << "Resistors" << QString("Resistors").leftJustified(30);
    QTest::newRow("empty") << 200 << "" << QString(30, ' ');
    QTest::newRow("outside Latin-1")
        << 7 << QString::fromUtf8("\u03a9 ohm") << QString("? ohm").leftJustified(30);
    // Codes outside 1 to 200 are ignored and read as blank entries.
    QTest::newRow("code 000") << 0 << "ignored" << QString(30, ' ');
    QTest::newRow("code 201") << 201 << "ignored" << QString(30, ' ');
    QTest::newRow("negative") << -1 << "ignored" << QString(30, ' ');
}

void TestCodeTable::entriesAreCutOrPadded() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    CodeTable table;
    QCOMPARE(table.entry(code), QString(30, ' '));
    table.setEntry(code, text);
    QCOMPARE(table.entry(code), stored);
    QCOMPARE(CodeTable::decode(table.encode())->entry(code), stored);
}

void TestCodeTable::entriesSitInCodeOrder() {
    CodeTable table;
    QCOMPARE(table.encode(), QByteArray(6000, ' '));
    table.setEntry(1, "first");
    table.setEntry(2, "second");
    table.setEntry(200, "last");
    const QByteArray bytes = table.encode();
    QCOMPARE(bytes.size(), 6000);
    QCOMPARE(bytes.left(60),
             QByteArray("first").leftJustified(30) + QByteArray("second").leftJustified(30));
    QCOMPARE(bytes.mid(60, 5910), QByteArray(5910, ' '));
    QCOMPARE(bytes.mid(5970), QByteArray("last").leftJustified(30));
}

void TestCodeTable::decodeTakesAnyBytesOfTheRightSize() {
    QByteArray bytes(6000, '\xff');
    bytes[0] = '\0';
    const auto table = CodeTable::decode(bytes);
    QVERIFY(table);
    QCOMPARE(table->entry(1).at(0), QChar(0));
    QCOMPARE(table->entry(200), QString(30, QChar(0xff)));
    QCOMPARE(table->encode(), bytes);
    QVERIFY(!CodeTable::decode(bytes.chopped(1)));
    QVERIFY(!CodeTable::decode(bytes + ' '));
}

QTEST_GUILESS_MAIN(TestCodeTable)
#include "tst_codetable.moc"
