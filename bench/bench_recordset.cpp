// Record-set speed against the bare engine, in the same run on the same file:
//  (a) opening a record set over 32,767 "Parts" rows and walking it, reading every column,
//      against one prepared SELECT over the table reading every column (once turning texts
//      into strings and the date into a date, as a reader of the values must; once not);
//  (b) adding 3,000 "parts list" rows through a record set in one transaction, against bare
//      prepared INSERTs in one transaction.
// Each figure is the median of several runs, the two kinds of run alternating.

#include "benchutil.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/items/itemtables.h"

#include <QDate>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr int partRows = 32767;
constexpr int lineRows = 3000;
constexpr int runs = 9;

double sink = 0; // results are folded in here so no read can be optimised away

double milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

void fillParts(Database& db) {
    sqlite3* h = db.handle();
    Transaction transaction(db);
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(
              h, "INSERT INTO \"Parts\" VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13)", -1,
              &insert, nullptr),
          h);
    for (int i = 0; i < partRows; ++i) {
        const QByteArray description = "Part description number " + QByteArray::number(i);
        sqlite3_bind_int64(insert, 1, i);
        sqlite3_bind_text(insert, 2, description.constData(), int(description.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 3, i % 200);
        sqlite3_bind_int64(insert, 4, 12345 + i);
        sqlite3_bind_int64(insert, 5, 23456 + i);
        sqlite3_bind_int64(insert, 6, i % 201);
        sqlite3_bind_int(insert, 7, i % 2);
        sqlite3_bind_int64(insert, 8, i % 1000);
        sqlite3_bind_double(insert, 9, 1.5 + i % 30);
        sqlite3_bind_text(insert, 10, "2001-03-05", 10, SQLITE_STATIC);
        if (i % 3 == 0)
            sqlite3_bind_null(insert, 11);
        else
            sqlite3_bind_text(insert, 11, "Some features of the part", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 12, "PICTURE.BMP", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 13, "Manufacturer Inc.", -1, SQLITE_STATIC);
        check(sqlite3_step(insert), h);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    transaction.commit();
}

void walkRecordSet(const std::shared_ptr<Database>& db) {
    RecordSet rs(db, Parts::table);
    if (rs.recordCount() > 0)
        rs.moveFirst();
    while (!rs.eof()) {
        for (int c = 0; c < Parts::columnCount; ++c) {
            const Value v = rs.field(c);
            sink += v.kind() == Value::Kind::Text ? double(v.toText().size()) : v.toDouble();
        }
        rs.moveNext();
    }
}

// Each column read with the accessor of its type; texts become QStrings and the date a QDate,
// as any reader that uses the values must do.
void walkBare(sqlite3* h) {
    sqlite3_stmt* select = nullptr;
    check(sqlite3_prepare_v2(h, "SELECT * FROM \"Parts\"", -1, &select, nullptr), h);
    while (sqlite3_step(select) == SQLITE_ROW) {
        for (int c = 0; c < Parts::columnCount; ++c) {
            switch (sqlite3_column_type(select, c)) {
            case SQLITE_INTEGER:
                sink += double(sqlite3_column_int64(select, c));
                break;
            case SQLITE_FLOAT:
                sink += sqlite3_column_double(select, c);
                break;
            case SQLITE_TEXT: {
                const QString text =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select, c)),
                                      sqlite3_column_bytes(select, c));
                sink += c == Parts::last_delivery
                            ? double(QDate::fromString(text, Qt::ISODate).day())
                            : double(text.size());
                break;
            }
            default:
                break;
            }
        }
    }
    sqlite3_finalize(select);
}

// The engine's cost alone: texts are only measured, not turned into strings.
void walkRaw(sqlite3* h) {
    sqlite3_stmt* select = nullptr;
    check(sqlite3_prepare_v2(h, "SELECT * FROM \"Parts\"", -1, &select, nullptr), h);
    while (sqlite3_step(select) == SQLITE_ROW) {
        for (int c = 0; c < Parts::columnCount; ++c) {
            switch (sqlite3_column_type(select, c)) {
            case SQLITE_INTEGER:
                sink += double(sqlite3_column_int64(select, c));
                break;
            case SQLITE_FLOAT:
                sink += sqlite3_column_double(select, c);
                break;
            case SQLITE_TEXT:
                sink += double(sqlite3_column_bytes(select, c)) +
                        double(*sqlite3_column_text(select, c));
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(select);
}

void addThroughRecordSet(const std::shared_ptr<Database>& db) {
    RecordSet rs(db, PartsList::table);
    Transaction transaction(*db);
    for (int i = 0; i < lineRows; ++i) {
        rs.addNew();
        rs.setField(PartsList::host_item_no, i / 10);
        rs.setField(PartsList::part_flag, i % 2 == 0);
        rs.setField(PartsList::ip_no, i);
        rs.setField(PartsList::qty, 3);
        rs.setField(PartsList::unit_price, Money::fromRaw(12500 + i));
        rs.setField(PartsList::total_price, Money::fromRaw(37500 + 3 * i));
        rs.setField(PartsList::asm_hours, 1.5f);
        rs.setField(PartsList::eng_hours, 0.25f);
        rs.setField(PartsList::test_hours, 0.75f);
        rs.setField(PartsList::ip_cost, Money::fromRaw(99000 + i));
        rs.setField(PartsList::delivery_days, 4.5f);
        rs.update();
    }
    transaction.commit();
}

void addBare(sqlite3* h) {
    check(sqlite3_exec(h, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), h);
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(
              h, "INSERT INTO \"parts list\" VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11)", -1,
              &insert, nullptr),
          h);
    for (int i = 0; i < lineRows; ++i) {
        sqlite3_bind_int64(insert, 1, i / 10);
        sqlite3_bind_int(insert, 2, i % 2 == 0);
        sqlite3_bind_int64(insert, 3, i);
        sqlite3_bind_int64(insert, 4, 3);
        sqlite3_bind_int64(insert, 5, 12500 + i);
        sqlite3_bind_int64(insert, 6, 37500 + 3 * i);
        sqlite3_bind_double(insert, 7, double(1.5f));
        sqlite3_bind_double(insert, 8, double(0.25f));
        sqlite3_bind_double(insert, 9, double(0.75f));
        sqlite3_bind_int64(insert, 10, 99000 + i);
        sqlite3_bind_double(insert, 11, double(4.5f));
        check(sqlite3_step(insert), h);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(h, "COMMIT", nullptr, nullptr, nullptr), h);
}

void clearLines(sqlite3* h) {
    check(sqlite3_exec(h, "DELETE FROM \"parts list\"", nullptr, nullptr, nullptr), h);
}

} // namespace

int main() {
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    try {
        const auto parts = Database::open(folder.filePath("parts.fdb"), Database::Mode::Create);
        const TableDef* partsTables[] = {&Parts::table};
        createTables(*parts, partsTables);
        fillParts(*parts);

        const auto items = Database::open(folder.filePath("items.fdb"), Database::Mode::Create);
        const TableDef* itemTables[] = {&AssembledItems::table, &PartsList::table};
        createTables(*items, itemTables);

        std::vector<double> walkOurs, walkBareTimes, walkRawTimes, addOurs, addBareTimes;
        walkRecordSet(parts); // warm the page cache for both
        for (int run = 0; run < runs; ++run) {
            walkOurs.push_back(milliseconds([&] { walkRecordSet(parts); }));
            walkBareTimes.push_back(milliseconds([&] { walkBare(parts->handle()); }));
            walkRawTimes.push_back(milliseconds([&] { walkRaw(parts->handle()); }));
            clearLines(items->handle());
            addOurs.push_back(milliseconds([&] { addThroughRecordSet(items); }));
            clearLines(items->handle());
            addBareTimes.push_back(milliseconds([&] { addBare(items->handle()); }));
        }

        // Figure: through the record set; baseline: bare SQLite; medians of 9 runs.
        bench::printHeader();
        bench::printRow("(a) open + walk 32767 \"Parts\" rows, all columns", median(walkOurs),
                        median(walkBareTimes));
        bench::printRow("    the same, bare texts left unconverted", median(walkOurs),
                        median(walkRawTimes));
        bench::printRow("(b) add 3000 \"parts list\" rows, one transaction", median(addOurs),
                        median(addBareTimes));
        std::printf("(checksum %.0f)\n", sink);
    } catch (const DbError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
