// Item builder speed against the bare engine, in one run on one generated business of 32,767
// parts, 1,000 items and 60,000 "parts list" rows, of which 3,000 belong to the item opened:
//  - opening the item (the builder's load) against one prepared SELECT of the item's rows;
//  - a change through the picker's hand-over (adder) and a mark-up entry (every line costed
//    again), each against the opening;
//  - "Save Item" up to its "saved" message against a bare delete of the item's rows and 3,000
//    inserts in one transaction, on a copy of the same file.
// Each figure is the median of several runs, in CPU time of the one thread, so that other work on
// a shared machine does not distort it (the disk's own time at a commit is left out of both sides
// of the save). Run on the offscreen platform.

#include "core/business/bizsettings.h"
#include "benchbusiness.h"
#include "benchutil.h"
#include "core/business/businessfiles.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/prompts.h"
#include "core/common/recordfile.h"
#include "core/common/recordset.h"
#include "gui/finder/databaseview.h"
#include "gui/finder/getpart.h"
#include "gui/items/changingitem.h"
#include "core/items/itemtables.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int partRows = 32767;
constexpr int itemRows = 1000;
constexpr int lineRows = 60000;
constexpr int itemLines = 3000;
constexpr qint64 openedItem = 500;
constexpr int runs = 7;

double sink = 0;

void check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    check(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), db);
    return stmt;
}

double cpuNow() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double milliseconds(const std::function<void()>& work) {
    const double start = cpuNow();
    work();
    return cpuNow() - start;
}

// Answers every box; notes when the save's "saved" arrives.
class BenchPrompts : public PromptResponder {
public:
    bool timing = false;
    double savedAt = 0;
    QString markup = QStringLiteral("2");
    void message(const QString& text, const QString&, PromptIcon) override {
        if (text == QLatin1String("saved") && timing)
            savedAt = cpuNow();
        else if (text != QLatin1String("saved"))
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool question(const QString&, const QString&) override { return false; }
    QString input(const QString&, const QString&, std::optional<QPoint>) override { return markup; }
};

void bindLine(sqlite3_stmt* insert, qint64 host, int i) {
    sqlite3_bind_int64(insert, 1, host);
    sqlite3_bind_int(insert, 2, i % 10 != 0);
    sqlite3_bind_int64(insert, 3, i % 10 != 0 ? (i * 7919) % partRows : i % itemRows);
    sqlite3_bind_int64(insert, 4, 1 + i % 20);
    sqlite3_bind_int64(insert, 5, 25000 + i);
    sqlite3_bind_int64(insert, 6, (25000 + i) * (1 + i % 20));
    sqlite3_bind_double(insert, 7, 0.5 + i % 4);
    sqlite3_bind_double(insert, 8, 0.25);
    sqlite3_bind_double(insert, 9, 0.125 * (i % 3));
    sqlite3_bind_int64(insert, 10, 987650 + i);
    sqlite3_bind_double(insert, 11, 1.5 + i % 30);
}

const char* const insertLine =
    "INSERT INTO \"parts list\" VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11)";

void generate(const QString& area) {
    sqlite3* db = nullptr;
    check(sqlite3_open(qPrintable(area + QStringLiteral("/parts.fdb")), &db), db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* part =
        prepare(db, "INSERT INTO \"Parts\" VALUES (?1,?2,0,?3,?4,?5,1,5,?6,NULL,NULL,'','Maker')");
    for (int i = 0; i < partRows; ++i) {
        const QByteArray description = "Part description number " + QByteArray::number(i);
        sqlite3_bind_int64(part, 1, i);
        sqlite3_bind_text(part, 2, description.constData(), int(description.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int64(part, 3, 10000 + i);
        sqlite3_bind_int64(part, 4, 15000 + i);
        sqlite3_bind_int64(part, 5, i % 201);
        sqlite3_bind_double(part, 6, 1.5 + i % 30);
        check(sqlite3_step(part), db);
        sqlite3_reset(part);
    }
    sqlite3_finalize(part);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);

    check(sqlite3_open(qPrintable(area + QStringLiteral("/items.fdb")), &db), db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* item =
        prepare(db, "INSERT INTO \"Assembled Items\" VALUES (?1,?2,?3,1.5,4.5,0,0,?4,?5)");
    for (int i = 0; i < itemRows; ++i) {
        const QByteArray description = "Assembled item number " + QByteArray::number(i);
        sqlite3_bind_int64(item, 1, i);
        sqlite3_bind_text(item, 2, description.constData(), int(description.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_int64(item, 3, 1234500 + i);
        sqlite3_bind_int64(item, 4, 75000);
        sqlite3_bind_int64(item, 5, i % 201);
        check(sqlite3_step(item), db);
        sqlite3_reset(item);
    }
    sqlite3_finalize(item);
    // The opened item's lines stand in the middle of the others'.
    sqlite3_stmt* insert = prepare(db, insertLine);
    const int others = lineRows - itemLines;
    for (int i = 0; i < lineRows; ++i) {
        const bool mine = i >= others / 2 && i < others / 2 + itemLines;
        qint64 host = i % itemRows;
        if (host == openedItem)
            host = openedItem + 1;
        bindLine(insert, mine ? openedItem : host, i);
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);

    BizSettings settings;
    settings.company = QStringLiteral("Bench Works");
    settings.markup_rate = 1.5f;
    settings.asm_rate = 10;
    settings.eng_rate = 20;
    settings.test_rate = 30;
    writeRecordAtomically(area + QStringLiteral("/settings.dat"), settings.encode());
}

// A bare SELECT of the item's rows, reading every column.
double bareSelect(const QString& file) {
    sqlite3* db = nullptr;
    check(sqlite3_open(qPrintable(file), &db), db);
    sqlite3_stmt* select = prepare(db, "SELECT * FROM \"parts list\" WHERE host_item_no = ?1");
    const double ms = milliseconds([&] {
        sqlite3_bind_int64(select, 1, openedItem);
        int rows = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int c = 0; c < 11; ++c)
                sink += sqlite3_column_double(select, c);
            ++rows;
        }
        sqlite3_reset(select);
        if (rows < itemLines)
            std::fprintf(stderr, "only %d rows\n", rows);
    });
    sqlite3_finalize(select);
    sqlite3_close(db);
    return ms;
}

// A bare scan of "Parts", the table the picker lists candidates from, reading the columns it reads.
double bareParts(const QString& file) {
    sqlite3* db = nullptr;
    check(sqlite3_open(qPrintable(file), &db), db);
    sqlite3_stmt* select = prepare(db, "SELECT * FROM \"Parts\"");
    const double ms = milliseconds([&] {
        while (sqlite3_step(select) == SQLITE_ROW) {
            sink += double(sqlite3_column_int64(select, 0) + sqlite3_column_int64(select, 3) +
                           sqlite3_column_int64(select, 5));
            sink += QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(select, 1)))
                        .size();
        }
        sqlite3_reset(select);
    });
    sqlite3_finalize(select);
    sqlite3_close(db);
    return ms;
}

// A bare delete of the item's rows and 3,000 inserts in one transaction, on the copy.
double bareRewrite(const QString& file) {
    sqlite3* db = nullptr;
    check(sqlite3_open(qPrintable(file), &db), db);
    check(sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* remove = prepare(db, "DELETE FROM \"parts list\" WHERE host_item_no = ?1");
    sqlite3_stmt* insert = prepare(db, insertLine);
    const double ms = milliseconds([&] {
        check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db);
        sqlite3_bind_int64(remove, 1, openedItem);
        check(sqlite3_step(remove), db);
        sqlite3_reset(remove);
        for (int i = 0; i < itemLines; ++i) {
            bindLine(insert, openedItem, i);
            check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    });
    sqlite3_finalize(remove);
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return ms;
}

void click(QWidget* widget) {
    const QPoint at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

void report(const char* what, double figure, const char* against, double baseline,
            const char* target) {
    std::printf("%-34s %9.2f ms   %-24s %9.2f ms   ratio %6.3f   (target %s)\n", what, figure,
                against, baseline, figure / baseline, target);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    const QString area = home.filePath(QStringLiteral("0"));
    bench::openGeneratedBusiness(home.path(), [&] { generate(area); });
    const QString copy = area + QStringLiteral("/copy.fdb");

    BenchPrompts answers;
    prompts::setResponder(&answers);

    databaseview& finder = *databaseview::showList(bench::business(), MDIForm1::get(), 3);

    std::vector<double> open, add, markup, save, saveClick, select, rewrite, pick, scan;
    for (int run = 0; run < runs; ++run) {
        // The finder lists by number, so line n is item n.
        finder.selectLine(int(openedItem));
        changingitem& builder = changingitem::get(bench::business());
        builder.area = qint16(openedItem);
        const QString code = finder.cellText(0, int(openedItem)).left(5);
        const QString description = finder.cellText(2, int(openedItem));
        open.push_back(milliseconds([&] { builder.load(code, description); }));
        if (builder.cnt != itemLines) {
            std::fprintf(stderr, "the item opened with %d lines\n", builder.cnt);
            return 1;
        }

        // The picker hands over the part of the last line for line 0: merged into the last.
        const QString last = builder.lines().line(itemLines - 1)[ItemCell::ip_code];
        getpart& picker = getpart::get(bench::business());
        picker.mode = 0;
        picker.caller = &builder;
        pick.push_back(milliseconds([&] { picker.load(); }));
        scan.push_back(bareParts(QStringLiteral("parts.fdb")));
        picker.is_part = last.endsWith(QLatin1Char('P')) ? -1 : 0;
        picker.Text1[2]->setText(last.left(4) + QStringLiteral("     Chosen"));
        picker.Text1[3]->setText(QStringLiteral("$1.25"));
        picker.Text1[4]->setText(QStringLiteral("1"));
        picker.cur_hours = 3;
        add.push_back(milliseconds([&] { builder.adder(0); }));

        answers.markup = run % 2 ? QStringLiteral("2") : QStringLiteral("1.75");
        markup.push_back(milliseconds([&] { click(builder.Text1[5]); }));

        answers.timing = true;
        const double start = cpuNow();
        builder.Command1[0]->click();
        saveClick.push_back(cpuNow() - start);
        save.push_back(answers.savedAt - start);
        answers.timing = false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (changingitem::loaded()) {
            std::fprintf(stderr, "the save failed\n");
            return 1;
        }

        QFile::remove(copy);
        QFile::copy(QStringLiteral("items.fdb"), copy);
        select.push_back(bareSelect(QStringLiteral("items.fdb")));
        rewrite.push_back(bareRewrite(copy));
    }

    std::printf("item of %d lines; %d parts, %d items, %d \"parts list\" rows; median of %d\n",
                itemLines, partRows, itemRows, lineRows, runs);
    const double opening = bench::median(open);
    report("open (load)", opening, "bare SELECT", bench::median(select), "<= 3");
    report("save (to \"saved\")", bench::median(save), "bare delete + insert", bench::median(rewrite), "<= 2");
    report("mark-up entry (3,000 lines)", bench::median(markup), "open (load)", opening, "< 0.1");
    report("adder (merge into a line)", bench::median(add), "open (load)", opening, "-");
    report("picker opening with its candidate list (setlist)", bench::median(pick), "bare scan of Parts",
           bench::median(scan), "<= 3");
    std::printf("save click, with closing and relisting: %.2f ms\n", bench::median(saveClick));
    if (sink == 42)
        std::printf(" ");
    prompts::setResponder(nullptr);
    finder.unload();
    delete MDIForm1::loaded();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
