#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"

#include "support/temphome.h"

#include <QFile>
#include <QtTest>

#include <sqlite3.h>

#include <cstring>

// A table with one column of every kind; the blank in its name needs quoting, like "parts list".
namespace Sample {
enum Col : int { key, small, single, dbl, money, yes, date, text };
using enum ColumnType;
constexpr ColumnDef columns[] = {{"key", Whole},     {"small", Int16}, {"single", Single},
                                 {"double", Double}, {"money", Money}, {"yes", YesNo},
                                 {"date", Date},     {"text", Text}};
constexpr TableDef table{"sample rows", columns};
constexpr const TableDef* tables[] = {&table};
} // namespace Sample

char* toString(const Value& value) {
    const QString text = value.isNull()
                             ? QStringLiteral("null")
                             : QStringLiteral("%1:%2").arg(int(value.kind())).arg(value.toText());
    return qstrdup(text.toUtf8().constData());
}

namespace {

std::shared_ptr<Database> sampleDatabase(const QString& path = QStringLiteral("sample.db")) {
    auto db = Database::open(path, Database::Mode::Create);
    createTables(*db, Sample::tables);
    return db;
}

void addRow(RecordSet& rs, qint64 key) {
    rs.addNew();
    rs.setField(Sample::key, key);
    rs.setField(Sample::text, QStringLiteral("row %1").arg(key));
    rs.update();
}

void addRows(RecordSet& rs, std::initializer_list<qint64> keys) {
    for (qint64 key : keys)
        addRow(rs, key);
}

// The keys in row order, by a walk.
QList<qint64> keys(RecordSet& rs) {
    QList<qint64> result;
    if (rs.recordCount() > 0)
        rs.moveFirst();
    while (!rs.eof()) {
        result << rs.field(Sample::key).toInt64();
        rs.moveNext();
    }
    return result;
}

// The stored form, as any SQLite tool shows it.
QString storedLiteral(const QString& path, const char* column) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = "SELECT quote(" + quotedName(column) + ") FROM \"sample rows\"";
    sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
    QString literal;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        literal = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return literal;
}

} // namespace

class TestRecordSet : public QObject {
    Q_OBJECT

private slots:
    void emptyTableHasNoRowToMoveTo();
    void newRowTakesLastPosition();
    void walkEndsAtEof();
    void moveReachesPosition_data();
    void moveReachesPosition();
    void removeMovesLaterRowsUp_data();
    void removeMovesLaterRowsUp();
    void removeWhileWalking();
    void otherRecordSetsFollowChanges();
    void editChangesOnlyCurrentRow();
    void setFieldNeedsAddOrEdit();
    void failedTransactionLeavesTableAsBefore();
    void secondTransactionRefused();
    void valueSurvivesStoreAndReload_data();
    void valueSurvivesStoreAndReload();
    void sameFileSharesDatabase();
    void unusableFileIsDbError_data();
    void unusableFileIsDbError();
    void lenientConversions_data();
    void lenientConversions();
    void rowsByValue_data();
    void rowsByValue();
    void findAllEqualsWalk();
    void removeWhereKeepsCurrentRow_data();
    void removeWhereKeepsCurrentRow();
    void removeWhereUndoneByRollback();
    void bulkOperationsOnEmptyTable();
};

void TestRecordSet::emptyTableHasNoRowToMoveTo() {
    TempHome home;
    RecordSet rs(sampleDatabase(), Sample::table);
    QCOMPARE(rs.recordCount(), 0);
    QVERIFY(rs.eof());
    QVERIFY(rs.bof());
    QCOMPARE(rs.absolutePosition(), -1);
    rs.moveFirst();
    QVERIFY(rs.eof());
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.field(Sample::key));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.move(1));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.moveNext());
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.edit());
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.remove());
}

void TestRecordSet::newRowTakesLastPosition() {
    TempHome home;
    RecordSet rs(sampleDatabase(), Sample::table);
    addRows(rs, {10, 20, 30});
    rs.moveFirst();
    rs.move(1);
    addRow(rs, 5); // a smaller key still goes last: order is the order of adding
    QCOMPARE(rs.recordCount(), 4);
    QCOMPARE(rs.absolutePosition(), 1); // the current row stays where it was
    QCOMPARE(rs.field(Sample::key).toInt64(), 20);
    QCOMPARE(keys(rs), (QList<qint64>{10, 20, 30, 5}));

    // Adding while past the last row leaves the record set past the (new) last row.
    QVERIFY(rs.eof());
    addRow(rs, 6);
    QVERIFY(rs.eof());

    RecordSet reopened(QStringLiteral("sample.db"), Sample::table);
    QCOMPARE(keys(reopened), (QList<qint64>{10, 20, 30, 5, 6}));
}

void TestRecordSet::walkEndsAtEof() {
    TempHome home;
    RecordSet rs(sampleDatabase(), Sample::table);
    addRows(rs, {1, 2, 3});
    QCOMPARE(keys(rs), (QList<qint64>{1, 2, 3}));
    QVERIFY(rs.eof());
    QCOMPARE(rs.absolutePosition(), -1);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.field(Sample::key));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.moveNext());
    rs.movePrevious();
    QCOMPARE(rs.field(Sample::key).toInt64(), 3);
    rs.moveFirst();
    rs.movePrevious();
    QVERIFY(rs.bof());
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.movePrevious());
}

void TestRecordSet::moveReachesPosition_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("position"); // -1 before the first row, 5 past the last

    for (int p = 0; p < 5; ++p)
        QTest::addRow("first then %d", p) << 0 << p << p;
    QTest::newRow("backwards") << 4 << -3 << 1;
    QTest::newRow("past the end") << 2 << 7 << 5;
    QTest::newRow("exactly one past the end") << 0 << 5 << 5;
    QTest::newRow("before the start") << 1 << -2 << -1;
}

void TestRecordSet::moveReachesPosition() {
    QFETCH(int, start);
    QFETCH(int, n);
    QFETCH(int, position);

    TempHome home;
    RecordSet rs(sampleDatabase(), Sample::table);
    addRows(rs, {100, 101, 102, 103, 104});
    rs.moveFirst();
    rs.move(start);
    rs.move(n);
    QCOMPARE(rs.eof(), position == 5);
    QCOMPARE(rs.bof(), position == -1);
    if (position >= 0 && position < 5) {
        QCOMPARE(rs.absolutePosition(), position);
        QCOMPARE(rs.field(Sample::key).toInt64(), 100 + position);
    } else {
        QCOMPARE(rs.absolutePosition(), -1);
    }
}

void TestRecordSet::removeMovesLaterRowsUp_data() {
    QTest::addColumn<int>("removed");
    QTest::newRow("first") << 0;
    QTest::newRow("middle") << 2;
    QTest::newRow("last") << 4;
}

void TestRecordSet::removeMovesLaterRowsUp() {
    QFETCH(int, removed);

    TempHome home;
    RecordSet rs(sampleDatabase(), Sample::table);
    addRows(rs, {0, 1, 2, 3, 4});
    rs.moveFirst();
    rs.move(removed);
    rs.remove();
    QCOMPARE(rs.recordCount(), 4);
    QCOMPARE(rs.absolutePosition(), -1);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.field(Sample::key));

    // The next move reaches the row that followed the removed one.
    rs.moveNext();
    if (removed == 4) {
        QVERIFY(rs.eof());
    } else {
        QCOMPARE(rs.absolutePosition(), removed);
        QCOMPARE(rs.field(Sample::key).toInt64(), removed + 1);
    }
    for (int p = 0; p < 4; ++p) {
        rs.moveFirst();
        rs.move(p);
        QCOMPARE(rs.field(Sample::key).toInt64(), p < removed ? p : p + 1);
    }
}

void TestRecordSet::removeWhileWalking() {
    TempHome home;
    RecordSet rs(sampleDatabase(), Sample::table);
    addRows(rs, {1, 7, 7, 2, 7});
    rs.moveFirst();
    while (!rs.eof()) {
        if (rs.field(Sample::key).toInt64() == 7)
            rs.remove();
        rs.moveNext();
    }
    QCOMPARE(keys(rs), (QList<qint64>{1, 2}));
}

void TestRecordSet::otherRecordSetsFollowChanges() {
    TempHome home;
    const auto db = sampleDatabase();
    RecordSet writer(db, Sample::table);
    RecordSet reader(db, Sample::table);
    addRows(writer, {0, 1, 2, 3});
    QCOMPARE(reader.recordCount(), 4);

    reader.moveFirst();
    reader.move(3);
    writer.moveFirst();
    writer.move(1);
    writer.remove();
    QCOMPARE(reader.absolutePosition(), 2);
    QCOMPARE(reader.field(Sample::key).toInt64(), 3);

    writer.moveFirst();
    writer.move(2);
    writer.remove(); // the reader's current row
    QCOMPARE(reader.absolutePosition(), -1);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, reader.field(Sample::key));
    QCOMPARE(keys(reader), (QList<qint64>{0, 2}));
}

void TestRecordSet::editChangesOnlyCurrentRow() {
    TempHome home;
    RecordSet rs(sampleDatabase(), Sample::table);
    addRows(rs, {1, 2, 3});
    rs.moveFirst();
    rs.move(1);
    rs.edit();
    QCOMPARE(rs.field(Sample::text), Value("row 2")); // the edit starts from the stored row
    rs.setField(Sample::text, QStringLiteral("changed"));
    QCOMPARE(rs.field(Sample::text), Value("changed"));
    rs.update();
    QCOMPARE(rs.absolutePosition(), 1);

    // A change dropped by moving away is not stored.
    rs.edit();
    rs.setField(Sample::text, QStringLiteral("dropped"));
    rs.moveFirst();

    RecordSet reopened(QStringLiteral("sample.db"), Sample::table);
    QStringList texts;
    reopened.moveFirst();
    while (!reopened.eof()) {
        texts << reopened.field(Sample::text).toText();
        reopened.moveNext();
    }
    QCOMPARE(texts, (QStringList{"row 1", "changed", "row 3"}));
}

void TestRecordSet::setFieldNeedsAddOrEdit() {
    TempHome home;
    RecordSet rs(sampleDatabase(), Sample::table);
    addRows(rs, {1});
    rs.moveFirst();
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.setField(Sample::key, 2));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, rs.update());
    rs.edit();
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, rs.setField(8, 2));
    rs.cancelUpdate();
    QCOMPARE(rs.field(Sample::key).toInt64(), 1);
}

void TestRecordSet::failedTransactionLeavesTableAsBefore() {
    TempHome home;
    const auto db = sampleDatabase();
    RecordSet rs(db, Sample::table);
    RecordSet other(db, Sample::table);
    addRows(rs, {1, 2, 3});
    other.moveFirst();
    other.move(2);

    try {
        Transaction transaction(*db);
        addRow(rs, 4);
        rs.moveFirst();
        rs.remove();
        rs.moveNext();
        rs.edit();
        rs.setField(Sample::text, QStringLiteral("changed"));
        rs.update();
        rs.addNew();
        rs.setField(Sample::key, 5);
        rs.setField(Sample::small, 40000); // refused by the table: not a 16-bit integer
        rs.update();
        transaction.commit();
        QFAIL("the store of a value out of range succeeded");
    } catch (const DbError& error) {
        QCOMPARE(error.file(), QStringLiteral("sample.db"));
        QVERIFY(!error.reason().isEmpty());
    }

    QVERIFY(!rs.isEditing());
    QCOMPARE(keys(rs), (QList<qint64>{1, 2, 3}));
    rs.moveFirst();
    rs.move(1);
    QCOMPARE(rs.field(Sample::text), Value("row 2"));
    QCOMPARE(other.absolutePosition(), 2);
    QCOMPARE(other.field(Sample::key).toInt64(), 3);

    // The database goes on working.
    Transaction transaction(*db);
    addRow(rs, 4);
    transaction.commit();
    QCOMPARE(keys(other), (QList<qint64>{1, 2, 3, 4}));
}

void TestRecordSet::secondTransactionRefused() {
    TempHome home;
    const auto db = sampleDatabase();
    Transaction first(*db);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, Transaction second(*db));
    first.commit();
    Transaction third(*db); // one after another is fine
}

void TestRecordSet::valueSurvivesStoreAndReload_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<Value>("stored");
    QTest::addColumn<Value>("read");
    QTest::addColumn<QString>("literal"); // what another SQLite tool sees

    const QDate base(1899, 12, 30);
    QTest::newRow("whole") << int(Sample::key) << Value(qint64(1) << 40) << Value(qint64(1) << 40)
                           << "1099511627776";
    QTest::newRow("whole from fraction, half to even")
        << int(Sample::key) << Value(2.5) << Value(qint64(2)) << "2";
    QTest::newRow("16-bit lowest")
        << int(Sample::small) << Value(-32768) << Value(qint64(-32768)) << "-32768";
    QTest::newRow("single bit-exact")
        << int(Sample::single) << Value(0.1f) << Value(0.1f) << "1.00000001490116119384e-01";
    QTest::newRow("single tiny") << int(Sample::single) << Value(1.17549435e-38f)
                                 << Value(1.17549435e-38f) << "1.17549435082228750806e-38";
    QTest::newRow("single from double")
        << int(Sample::single) << Value(0.1) << Value(0.1f) << "1.00000001490116119384e-01";
    QTest::newRow("double") << int(Sample::dbl) << Value(2.675) << Value(2.675) << "2.675";
    QTest::newRow("money ten-thousandths") << int(Sample::money) << Value(Money::fromRaw(-12345678))
                                           << Value(Money::fromRaw(-12345678)) << "-12345678";
    QTest::newRow("money from text")
        << int(Sample::money) << Value("19.99") << Value(Money::fromRaw(199900)) << "199900";
    QTest::newRow("yes") << int(Sample::yes) << Value(true) << Value(true) << "1";
    QTest::newRow("no") << int(Sample::yes) << Value(false) << Value(false) << "0";
    QTest::newRow("base date") << int(Sample::date) << Value(base) << Value(base) << "'1899-12-30'";
    QTest::newRow("date from day number")
        << int(Sample::date) << Value(36526.0) << Value(QDate(2000, 1, 1)) << "'2000-01-01'";
    QTest::newRow("empty date") << int(Sample::date) << Value(QDate()) << Value() << "NULL";
    QTest::newRow("text") << int(Sample::text) << Value(QStringLiteral("Grüße, \"x\" 'y'"))
                          << Value(QStringLiteral("Grüße, \"x\" 'y'")) << "'Grüße, \"x\" ''y'''";
    QTest::newRow("empty text") << int(Sample::text) << Value("") << Value("") << "''";
    QTest::newRow("null text") << int(Sample::text) << Value() << Value() << "NULL";
    QTest::newRow("null money") << int(Sample::money) << Value() << Value() << "NULL";
}

void TestRecordSet::valueSurvivesStoreAndReload() {
    QFETCH(int, column);
    QFETCH(Value, stored);
    QFETCH(Value, read);
    QFETCH(QString, literal);

    TempHome home;
    {
        RecordSet rs(sampleDatabase(), Sample::table);
        rs.addNew();
        rs.setField(column, stored);
        QCOMPARE(rs.field(column), read); // kept as the column's kind before the store
        rs.update();
    }
    QCOMPARE(storedLiteral(QStringLiteral("sample.db"), Sample::columns[column].name), literal);
    RecordSet reopened(QStringLiteral("sample.db"), Sample::table);
    reopened.moveFirst();
    QCOMPARE(reopened.field(column), read);
    if (read.kind() == Value::Kind::Single) {
        const float expected = read.toFloat();
        const float actual = reopened.field(column).toFloat();
        QVERIFY(std::memcmp(&expected, &actual, sizeof expected) == 0);
    }
}

void TestRecordSet::sameFileSharesDatabase() {
    TempHome home;
    const auto created = sampleDatabase();
    QVERIFY(QDir().mkdir(QStringLiteral("sub")));
    const auto again = Database::open(QStringLiteral("sub/../sample.db"));
    QCOMPARE(again.get(), created.get());
    RecordSet a(home.file(QStringLiteral("sample.db")), Sample::table);
    RecordSet b(QStringLiteral("sample.db"), Sample::table);
    QCOMPARE(&a.database(), created.get());
    QCOMPARE(&b.database(), created.get());
    const auto otherFile = sampleDatabase(QStringLiteral("other.db"));
    QVERIFY(otherFile.get() != created.get());
}

void TestRecordSet::unusableFileIsDbError_data() {
    QTest::addColumn<QByteArray>("content"); // written to the file; "missing" writes none
    QTest::newRow("missing") << QByteArray("missing");
    QTest::newRow("empty") << QByteArray();
    QByteArray noise(8192, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    QTest::newRow("random bytes") << noise;
    QTest::newRow("other version") << QByteArray("version");
    QTest::newRow("table missing") << QByteArray("no table");
    QTest::newRow("other columns") << QByteArray("columns");
}

void TestRecordSet::unusableFileIsDbError() {
    QFETCH(QByteArray, content);

    TempHome home;
    const QString path = QStringLiteral("bad.db");
    if (content == "version" || content == "no table" || content == "columns") {
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        const char* sql = content == "version" ? "PRAGMA user_version = 99"
                          : content == "columns"
                              ? "CREATE TABLE \"sample rows\" (key INTEGER, other TEXT);"
                                "PRAGMA user_version = 1"
                              : "CREATE TABLE unrelated (a); PRAGMA user_version = 1";
        sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
        sqlite3_close(db);
    } else if (content != "missing") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    try {
        RecordSet rs(path, Sample::table);
        QFAIL("an unusable file was opened");
    } catch (const DbError& error) {
        QCOMPARE(error.file(), path);
        QVERIFY(error.message().contains(path));
    }
}

void TestRecordSet::lenientConversions_data() {
    QTest::addColumn<Value>("value");
    QTest::addColumn<qint64>("whole");
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("text");

    QTest::newRow("null") << Value() << qint64(0) << 0.0 << false << "";
    QTest::newRow("half rounds to even") << Value(3.5) << qint64(4) << 3.5 << true << "3.5";
    QTest::newRow("money half to even")
        << Value(Money::fromRaw(25000)) << qint64(2) << 2.5 << true << "2.5";
    QTest::newRow("negative money")
        << Value(Money::fromRaw(-15001)) << qint64(-2) << -1.5001 << true << "-1.5001";
    QTest::newRow("base date is 0")
        << Value(baseDate()) << qint64(0) << 0.0 << false << "1899-12-30";
    QTest::newRow("numeric text") << Value(" 12.25") << qint64(12) << 12.25 << true << " 12.25";
    QTest::newRow("other text") << Value("abc") << qint64(0) << 0.0 << false << "abc";
    QTest::newRow("true") << Value(true) << qint64(1) << 1.0 << true << "True";
}

void TestRecordSet::lenientConversions() {
    QFETCH(Value, value);
    QFETCH(qint64, whole);
    QFETCH(double, number);
    QFETCH(bool, yes);
    QFETCH(QString, text);

    QCOMPARE(value.toInt64(), whole);
    QCOMPARE(value.toDouble(), number);
    QCOMPARE(value.toBool(), yes);
    QCOMPARE(value.toText(), text);
}

namespace {

// Five rows with repeated, null and look-alike values; the double column holds each row's
// original position, so a row can be recognised after others are removed.
void addValueRows(RecordSet& rs) {
    using namespace Sample;
    const QDate newYear(2000, 1, 1);
    const Value rows[5][7] = {
        {7, 1, 0.1f, ::Money::fromRaw(199900), true, newYear, "a"},
        {3, {}, 2.5f, {}, false, QDate(), {}},
        {7, 1, 0.1f, ::Money(), false, newYear, "A"},
        {{}, 2, {}, ::Money::fromRaw(199900), true, QDate(1999, 12, 31), ""},
        {7, 2, 2.5f, ::Money::fromRaw(199900), {}, QDate(), "a"},
    };
    const int columns[7] = {key, small, single, money, yes, date, text};
    for (int p = 0; p < 5; ++p) {
        rs.addNew();
        for (int c = 0; c < 7; ++c)
            rs.setField(columns[c], rows[p][c]);
        rs.setField(dbl, double(p));
        rs.update();
    }
}

// The original positions of the rows, in row order.
QList<int> originalPositions(RecordSet& rs) {
    QList<int> result;
    if (rs.recordCount() > 0)
        rs.moveFirst();
    for (; !rs.eof(); rs.moveNext())
        result << int(rs.field(Sample::dbl).toDouble());
    return result;
}

} // namespace

void TestRecordSet::rowsByValue_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<Value>("value");
    QTest::addColumn<QList<int>>("positions");

    using namespace Sample;
    QTest::newRow("whole, several") << int(key) << Value(7) << QList<int>{0, 2, 4};
    QTest::newRow("whole, none") << int(key) << Value(5) << QList<int>{};
    QTest::newRow("whole from a fraction") << int(key) << Value(3.4) << QList<int>{1};
    QTest::newRow("null equals nothing") << int(key) << Value() << QList<int>{};
    QTest::newRow("16-bit") << int(small) << Value(2) << QList<int>{3, 4};
    QTest::newRow("single from double") << int(single) << Value(0.1) << QList<int>{0, 2};
    QTest::newRow("money from text") << int(money) << Value("19.99") << QList<int>{0, 3, 4};
    QTest::newRow("money zero is not null") << int(money) << Value(::Money()) << QList<int>{2};
    QTest::newRow("yes") << int(yes) << Value(true) << QList<int>{0, 3};
    QTest::newRow("no is not null") << int(yes) << Value(false) << QList<int>{1, 2};
    QTest::newRow("date") << int(date) << Value(QDate(2000, 1, 1)) << QList<int>{0, 2};
    QTest::newRow("date from day number") << int(date) << Value(36526.0) << QList<int>{0, 2};
    QTest::newRow("date never stored") << int(date) << Value(QDate(12000, 1, 1)) << QList<int>{};
    QTest::newRow("text, case counts") << int(text) << Value("a") << QList<int>{0, 4};
    QTest::newRow("empty text is not null") << int(text) << Value("") << QList<int>{3};
}

void TestRecordSet::rowsByValue() {
    QFETCH(int, column);
    QFETCH(Value, value);
    QFETCH(QList<int>, positions);

    TempHome home;
    const auto db = sampleDatabase();
    RecordSet rs(db, Sample::table);
    addValueRows(rs);
    const std::vector<int> found = rs.findAll(column, value);
    QCOMPARE(QList<int>(found.begin(), found.end()), positions);

    QList<int> kept{0, 1, 2, 3, 4};
    for (int p : positions)
        kept.removeOne(p);
    QCOMPARE(rs.removeWhere(column, value), int(positions.size()));
    QCOMPARE(rs.recordCount(), kept.size());
    QCOMPARE(originalPositions(rs), kept);
    QVERIFY(rs.findAll(column, value).empty());
    RecordSet reopened(db, Sample::table);
    QCOMPARE(originalPositions(reopened), kept);
}

// Positions map through the in-memory rows correctly when earlier rows are gone and rowids no
// longer count from 1 without gaps.
void TestRecordSet::findAllEqualsWalk() {
    TempHome home;
    RecordSet rs(sampleDatabase(), Sample::table);
    {
        Transaction transaction(rs.database());
        for (int i = 0; i < 400; ++i) {
            rs.addNew();
            if (i % 11 != 0)
                rs.setField(Sample::key, (i * 7) % 13);
            rs.update();
        }
        transaction.commit();
    }
    for (int p = 300; p >= 0; p -= 37) {
        rs.moveFirst();
        rs.move(p);
        rs.remove();
    }
    const auto walk = [&](qint64 v) {
        std::vector<int> walked;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            if (rs.field(Sample::key) == Value(v))
                walked.push_back(rs.absolutePosition());
        }
        return walked;
    };
    const auto twelves = int(walk(12).size());
    QVERIFY(twelves > 0);
    QCOMPARE(rs.removeWhere(Sample::key, 12), twelves);
    for (qint64 v = 0; v < 13; ++v)
        QCOMPARE(rs.findAll(Sample::key, v), walk(v));
}

void TestRecordSet::removeWhereKeepsCurrentRow_data() {
    QTest::addColumn<int>("start");   // the current row's position before
    QTest::addColumn<int>("now");     // its position afterwards; -1 when the row was removed
    QTest::addColumn<qint64>("next"); // key reached by moveNext afterwards; -1 for eof

    // Keys 0 1 5 2 5 5: removing 5 leaves 0 1 2.
    QTest::newRow("before the removed rows") << 1 << 1 << qint64(2);
    QTest::newRow("between removed rows") << 3 << 2 << qint64(-1);
    QTest::newRow("removed, a row follows") << 2 << -1 << qint64(2);
    QTest::newRow("removed, the last") << 5 << -1 << qint64(-1);
}

void TestRecordSet::removeWhereKeepsCurrentRow() {
    QFETCH(int, start);
    QFETCH(int, now);
    QFETCH(qint64, next);

    TempHome home;
    const auto db = sampleDatabase();
    RecordSet writer(db, Sample::table);
    RecordSet reader(db, Sample::table);
    addRows(writer, {0, 1, 5, 2, 5, 5});
    for (RecordSet* rs : {&writer, &reader}) {
        rs->moveFirst();
        rs->move(start);
    }
    reader.edit(); // a change of a removed row is dropped with it

    QCOMPARE(writer.removeWhere(Sample::key, 5), 3);
    for (RecordSet* rs : {&writer, &reader}) {
        QCOMPARE(rs->recordCount(), 3);
        QCOMPARE(rs->absolutePosition(), now);
        if (now >= 0)
            QCOMPARE(rs->field(Sample::key).toInt64(), qint64(start == 1 ? 1 : 2));
        QCOMPARE(rs->isEditing(), rs == &reader && now >= 0);
        rs->cancelUpdate();
        rs->moveNext();
        QCOMPARE(rs->eof(), next < 0);
        if (next >= 0)
            QCOMPARE(rs->field(Sample::key).toInt64(), next);
    }
    writer.moveFirst();
    writer.edit();
    QVERIFY_THROWS_EXCEPTION(std::logic_error, writer.removeWhere(Sample::key, 0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, writer.findAll(8, 0));
}

void TestRecordSet::removeWhereUndoneByRollback() {
    TempHome home;
    const auto db = sampleDatabase();
    RecordSet writer(db, Sample::table);
    RecordSet reader(db, Sample::table);
    addRows(writer, {4, 9, 4, 8});
    reader.moveFirst();
    reader.move(3);
    try {
        Transaction transaction(*db);
        QCOMPARE(writer.removeWhere(Sample::key, 4), 2);
        addRow(writer, 4);
        QCOMPARE(writer.findAll(Sample::key, 4), std::vector<int>{2});
        QCOMPARE(reader.absolutePosition(), 1);
        db->fail(QStringLiteral("stop"));
    } catch (const DbError&) {
    }
    QCOMPARE(writer.findAll(Sample::key, 4), (std::vector<int>{0, 2}));
    QCOMPARE(reader.absolutePosition(), 3);
    QCOMPARE(reader.field(Sample::key).toInt64(), 8);
    QCOMPARE(keys(writer), (QList<qint64>{4, 9, 4, 8}));

    // Committed, the same changes stay.
    Transaction transaction(*db);
    QCOMPARE(writer.removeWhere(Sample::key, 4), 2);
    addRow(writer, 4);
    transaction.commit();
    RecordSet reopened(QStringLiteral("sample.db"), Sample::table);
    QCOMPARE(keys(reopened), (QList<qint64>{9, 8, 4}));
}

void TestRecordSet::bulkOperationsOnEmptyTable() {
    TempHome home;
    RecordSet rs(sampleDatabase(), Sample::table);
    QVERIFY(rs.findAll(Sample::key, 1).empty());
    QCOMPARE(rs.removeWhere(Sample::key, 1), 0);
    addRows(rs, {1, 1});
    rs.moveFirst();
    QCOMPARE(rs.removeWhere(Sample::key, 1), 2);
    QCOMPARE(rs.recordCount(), 0);
    QCOMPARE(rs.absolutePosition(), -1);
    rs.moveNext();
    QVERIFY(rs.eof());
    QVERIFY(rs.findAll(Sample::key, 1).empty());
}

QTEST_GUILESS_MAIN(TestRecordSet)
#include "tst_recordset.moc"
