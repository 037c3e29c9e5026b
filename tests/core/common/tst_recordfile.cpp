#include "core/common/recordfile.h"
#include "support/temphome.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <cstring>

namespace {
void writeRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readRaw(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}
} // namespace

class TestRecordFile : public QObject {
    Q_OBJECT

private slots:
    void readReportsStatusAndSize_data();
    void readReportsStatusAndSize();
    void writeReplacesWholeRecord();
    void writeFailureKeepsOldFile_data();
    void writeFailureKeepsOldFile();
    void textFields();
    void numberFieldsAreLittleEndianAndBitExact();
};

void TestRecordFile::readReportsStatusAndSize_data() {
    QTest::addColumn<int>("content"); // bytes to write, -1: no file, -2: a folder
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("actualSize");
    QTest::newRow("missing") << -1 << int(RecordStatus::Missing) << qint64(0);
    QTest::newRow("folder") << -2 << int(RecordStatus::Damaged) << qint64(0);
    QTest::newRow("empty") << 0 << int(RecordStatus::Damaged) << qint64(0);
    QTest::newRow("short") << 7 << int(RecordStatus::Damaged) << qint64(7);
    QTest::newRow("long") << 9 << int(RecordStatus::Damaged) << qint64(9);
    QTest::newRow("exact") << 8 << int(RecordStatus::Ok) << qint64(8);
}

void TestRecordFile::readReportsStatusAndSize() {
    QFETCH(int, content);
    QFETCH(int, status);
    QFETCH(qint64, actualSize);
    TempHome home;
    const QByteArray bytes = QByteArray("\x00\xff\x01 abc\x80\x7f", 9).left(qMax(content, 0));
    if (content == -2) {
        QVERIFY(QDir(home.path()).mkdir("rec.dat"));
    } else if (content >= 0) {
        writeRaw(home.file("rec.dat"), bytes);
    }

    const RecordRead read = readRecord(home.file("rec.dat"), 8);

    QCOMPARE(int(read.status), status);
    QCOMPARE(read.actualSize, actualSize);
    QCOMPARE(read.bytes, read.status == RecordStatus::Ok ? bytes : QByteArray());
}

void TestRecordFile::writeReplacesWholeRecord() {
    TempHome home;
    const QByteArray first(346, '\xff');
    const QByteArray second("\x00short\x00", 7);
    // Relative names resolve in the current folder, as the program uses them.
    writeRecordAtomically("rec.dat", first);
    QCOMPARE(readRecord(home.file("rec.dat"), 346).bytes, first);
    // A shorter record must not keep the tail of the longer one.
    writeRecordAtomically(home.file("rec.dat"), second);
    QCOMPARE(readRaw(home.file("rec.dat")), second);
    QCOMPARE(entriesOf(home.path()), QStringList{"rec.dat"});
    // Temporary files left by interrupted writes go with the next good write; others stay.
    writeRaw(home.file(".rec.dat.k1x9.tmp"), "half");
    writeRaw(home.file(".other.dat.k1x9.tmp"), "keep");
    writeRecordAtomically(home.file("rec.dat"), first);
    QCOMPARE(entriesOf(home.path()), (QStringList{".other.dat.k1x9.tmp", "rec.dat"}));
}

void TestRecordFile::writeFailureKeepsOldFile_data() {
    QTest::addColumn<QString>("target");
    // Tests may run as root, which ignores permission bits: the path itself must fail.
    QTest::newRow("missing folder") << QString("nofolder/rec.dat");
    QTest::newRow("parent is a file") << QString("old.dat/rec.dat");
    QTest::newRow("target is a folder") << QString("folder");
}

void TestRecordFile::writeFailureKeepsOldFile() {
    QFETCH(QString, target);
    TempHome home;
    writeRaw(home.file("old.dat"), "old record");
    QVERIFY(QDir(home.path()).mkdir("folder"));

    try {
        writeRecordAtomically(home.file(target), "new");
        QFAIL("no FileError thrown");
    } catch (const FileError& error) {
        QCOMPARE(error.path(), home.file(target));
        QVERIFY(!error.reason().isEmpty());
        QCOMPARE(error.message(), "Could not write " + home.file(target) + ": " + error.reason());
        QCOMPARE(QString::fromStdString(error.what()), error.message());
    }
    QCOMPARE(readRaw(home.file("old.dat")), QByteArray("old record"));
    // No temporary file left behind anywhere.
    QCOMPARE(entriesOf(home.path()), (QStringList{"folder", "old.dat"}));
    QVERIFY(entriesOf(home.file("folder")).isEmpty());
}

void TestRecordFile::textFields() {
    QCOMPARE(fixedfield::padded("abcdefg", 5), QString("abcde"));
    QCOMPARE(fixedfield::padded("ab", 5), QString("ab   "));
    // One "?" per character Latin-1 cannot hold, also beyond the basic plane.
    QCOMPARE(fixedfield::storable(QString::fromUtf8("Caf\u00e9\u00ff\u20ac\U0001F600.")),
             QString::fromUtf8("Caf\u00e9\u00ff??."));

    const QByteArray record("abc\xe9\x00", 5);
    QCOMPARE(fixedfield::text(record, 1, 3), QString::fromUtf8("bc\u00e9"));
    // Fields reaching past the end read as blanks there.
    QCOMPARE(fixedfield::text(record, 3, 4), QString::fromUtf8("\u00e9") + QChar(0) + "  ");
    QCOMPARE(fixedfield::text(record, 5, 2), QString("  "));
    QCOMPARE(fixedfield::text(record, -1, 2), QString("  "));

    // Writes are padded, cut at the record's end and never grow it.
    QByteArray target(6, '.');
    fixedfield::putText(target, 1, 3, QString::fromUtf8("\u20ac"));
    QCOMPARE(target, QByteArray(".?  .."));
    fixedfield::putText(target, 4, 5, "wxyz");
    fixedfield::putText(target, 9, 5, "wxyz");
    fixedfield::putInt16(target, 5, 7);
    fixedfield::putSingle(target, 3, 1.0f);
    QCOMPARE(target, QByteArray(".?  wx"));
}

void TestRecordFile::numberFieldsAreLittleEndianAndBitExact() {
    // Odd offsets: the fields need not be aligned.
    QByteArray record(9, '\0');
    fixedfield::putInt16(record, 1, -2);
    fixedfield::putInt16(record, 3, 0x1234);
    fixedfield::putSingle(record, 5, 0.1f);
    QCOMPARE(record, QByteArray("\x00\xfe\xff\x34\x12\xcd\xcc\xcc\x3d", 9));
    QCOMPARE(fixedfield::int16(record, 1), qint16(-2));
    QCOMPARE(fixedfield::int16(QByteArray("\x00\x80", 2), 0), qint16(-32768));
    const float back = fixedfield::single(record, 5);
    const float expected = 0.1f;
    QVERIFY(std::memcmp(&back, &expected, sizeof back) == 0);

    QCOMPARE(fixedfield::int16(record, 8), qint16(0));
    QCOMPARE(fixedfield::int16(record, -1), qint16(0));
    QCOMPARE(fixedfield::single(record, 6), 0.0f);
}

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
