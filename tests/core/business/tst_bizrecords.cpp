#include "core/business/bizregistry.h"
#include "core/business/bizsettings.h"
#include "support/temphome.h"

#include <QDir>
#include <QRandomGenerator>
#include <QtTest>

#include <cstring>

namespace {
QByteArray le16(qint16 value) {
    const auto u = static_cast<quint16>(value);
    return QByteArray(1, char(u & 0xff)) + QByteArray(1, char(u >> 8));
}

QByteArray randomBytes(int size, quint32 seed) {
    QRandomGenerator generator(seed);
    QByteArray bytes(size, '\0');
    for (char& c : bytes) {
        c = char(generator.bounded(256));
    }
    return bytes;
}

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

class TestBizRecords : public QObject {
    Q_OBJECT

private slots:
    void firstBusinessIsByteExact();
    void listLinesAndLookups();
    void releaseFreesOnlyUsedSlots();
    void anyBytesRoundTrip_data();
    void anyBytesRoundTrip();
    void settingsFields();
    void loadSettingsReportsStatus_data();
    void loadSettingsReportsStatus();
};

void TestBizRecords::firstBusinessIsByteExact() {
    QCOMPARE(BizRegistry::empty().encode().mid(340), le16(0) + le16(-1) + le16(-1));

    BizRegistry registry = BizRegistry::empty();
    registry.setHomeFolder("/home/user/praxo");
    registry.occupy(0, "Acme Widgets");
    registry.biz_count = 1;
    registry.cur_biz = 0;
    registry.biz_state = 1;

    QByteArray expected = QByteArray("/home/user/praxo").leftJustified(40) + le16(-1);
    expected += QByteArray(18, '\0');
    expected += QByteArray("Acme Widgets").leftJustified(20);
    expected += QByteArray("null").leftJustified(20).repeated(9);
    expected += QByteArray(" 0      ") + QByteArray("null    ").repeated(9);
    expected += le16(1) + le16(0) + le16(1);
    QCOMPARE(expected.size(), 346);
    QCOMPARE(registry.encode(), expected);
    QCOMPARE(registry.areaFolderName(0), QString("0"));
}

void TestBizRecords::listLinesAndLookups() {
    BizRegistry registry = BizRegistry::empty();
    registry.occupy(3, "0123456789");
    registry.occupy(1, "ABCDEFGHIJKLMNOPQRSTUVWXY"); // cut to 20
    registry.occupy(5, "0123456789");
    registry.occupy(10, "Outside the slots");

    const QStringList lines = registry.listLines();

    QCOMPARE(lines,
             (QStringList{"ABCDEFGHIJKLMNOPQRST     / 1      ",
                          "0123456789" + QString(10, ' ') + "     /" + " 3" + QString(6, ' '),
                          "0123456789" + QString(10, ' ') + "     / 5      "}));
    QCOMPARE(registry.areaFolderName(3), QString("3"));
    // A line of the list finds its slot; the lower of two equal names wins.
    QCOMPARE(registry.slotNamed(lines.at(2)), 3);
    QCOMPARE(registry.slotNamed("ABCDEFGHIJKLMNOPQRST"), 1);
    QCOMPARE(registry.slotNamed(" 0123456789"), -1);
    QCOMPARE(registry.slotNamed("abcdefghijklmnopqrst"), -1);
    QCOMPARE(registry.lowestFreeSlot(), 0);
    for (int slot = 0; slot < 10; ++slot) {
        registry.occupy(slot, "Full");
    }
    QCOMPARE(registry.lowestFreeSlot(), -1);
}

void TestBizRecords::releaseFreesOnlyUsedSlots() {
    BizRegistry registry = BizRegistry::empty();
    registry.occupy(0, "First business");
    registry.occupy(1, "First business");
    registry.biz_count = 2;

    registry.release(0);
    registry.release(0);

    QCOMPARE(registry.biz_count, qint16(1));
    const QByteArray bytes = registry.encode();
    QCOMPARE(bytes.mid(40, 4), le16(0) + le16(-1));
    QCOMPARE(bytes.mid(60, 20), QByteArray("NULL").leftJustified(20));
    QCOMPARE(bytes.mid(260, 8), QByteArray("NULL    "));
    QCOMPARE(registry.slotNamed("First business"), 1);
    // A freed slot holds "NULL" but names no business.
    QCOMPARE(registry.slotNamed("NULL"), -1);
    QCOMPARE(registry.lowestFreeSlot(), 0);
}

void TestBizRecords::anyBytesRoundTrip_data() {
    QTest::addColumn<QByteArray>("registry");
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("zeros") << QByteArray(346, '\0') << QByteArray(110, '\0');
    QTest::newRow("0xff") << QByteArray(346, '\xff') << QByteArray(110, '\xff');
    QTest::newRow("random") << randomBytes(346, 7) << randomBytes(110, 11);
}

void TestBizRecords::anyBytesRoundTrip() {
    // Whatever a file holds decodes and encodes back to the same bytes, so rewriting a
    // record never alters a field the program did not change. Only the size is refused.
    QFETCH(QByteArray, registry);
    QFETCH(QByteArray, settings);
    QCOMPARE(BizRegistry::decode(registry).value().encode(), registry);
    QCOMPARE(BizSettings::decode(settings).value().encode(), settings);
    QVERIFY(!BizRegistry::decode(registry.chopped(1)));
    QVERIFY(!BizRegistry::decode(registry + ' '));
    QVERIFY(!BizSettings::decode(settings.chopped(1)));
    QVERIFY(!BizSettings::decode(settings + ' '));
}

void TestBizRecords::settingsFields() {
    BizSettings settings;
    settings.company = "A company name longer than thirty characters";
    settings.ceo_name = QString::fromUtf8("Jo \u20ac");
    settings.markup_rate = 1.5f;
    settings.eng_rate = 10.0f;
    settings.asm_rate = 3.0f;
    settings.test_rate = 12.5f;
    settings.sales_tax = 0.1f;

    const QByteArray bytes = settings.encode();
    QCOMPARE(bytes.size(), 110);
    QCOMPARE(bytes.left(90), QByteArray("A company name longer than thi") +
                                 QByteArray("Jo ?").leftJustified(30) + QByteArray(30, ' '));
    QCOMPARE(bytes.mid(90, 4), QByteArray("\x00\x00\xc0\x3f", 4));
    QCOMPARE(bytes.mid(102, 4), QByteArray("\x00\x00\x48\x41", 4));

    const BizSettings back = BizSettings::decode(bytes).value();
    QCOMPARE(back.company, QString("A company name longer than thi"));
    QCOMPARE(back.biz_type, QString(30, ' '));
    QVERIFY(sameBits(back.markup_rate, 1.5f));
    QVERIFY(sameBits(back.eng_rate, 10.0f));
    QVERIFY(sameBits(back.asm_rate, 3.0f));
    QVERIFY(sameBits(back.test_rate, 12.5f));
    QVERIFY(sameBits(back.sales_tax, 0.1f));
}

void TestBizRecords::loadSettingsReportsStatus_data() {
    QTest::addColumn<int>("fileSize"); // -1: no file
    QTest::addColumn<int>("status");
    QTest::newRow("missing") << -1 << int(RecordStatus::Missing);
    QTest::newRow("damaged") << 60 << int(RecordStatus::Damaged);
    QTest::newRow("ok") << 110 << int(RecordStatus::Ok);
}

void TestBizRecords::loadSettingsReportsStatus() {
    QFETCH(int, fileSize);
    QFETCH(int, status);
    TempHome home;
    QVERIFY(QDir(home.path()).mkdir("0"));
    BizSettings stored;
    stored.company = "Stored";
    stored.eng_rate = 12.5f;
    if (fileSize >= 0) {
        writeRecordAtomically(home.file("0/settings.dat"), stored.encode().left(fileSize));
    }

    RecordStatus found = RecordStatus::Ok;
    const BizSettings loaded = loadBizSettings(home.file("0"), &found);

    QCOMPARE(int(found), status);
    const bool ok = found == RecordStatus::Ok;
    QCOMPARE(loaded.company, (ok ? QString("Stored") : QString()).leftJustified(30));
    QCOMPARE(loaded.ceo_name, QString(30, ' '));
    QCOMPARE(loaded.eng_rate, ok ? 12.5f : 0.0f);
    QCOMPARE(loaded.markup_rate, 0.0f);
    // No folder: the current one, as the windows use it.
    QDir::setCurrent(home.file("0"));
    QCOMPARE(loadBizSettings(QString()).company, loaded.company);
}

QTEST_GUILESS_MAIN(TestBizRecords)
#include "tst_bizrecords.moc"
