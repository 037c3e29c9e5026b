// The data finder over a generated business of 32,767 parts, customers and items: the fill of
// each list, a header click on the price column and a search keystroke, against a bare SELECT *
// of the same table plus a sort of the same texts, all in one run.

#include "core/business/business.h"
#include "core/business/businessfiles.h"
#include "gui/app/mdiform1.h"
#include "benchbusiness.h"
#include "benchutil.h"
#include "core/common/database.h"
#include "support/scriptedprompts.h"
#include "gui/finder/databaseview.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdlib>

namespace {

constexpr int rows = 32767;
constexpr int runs = 7;

void exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", error);
        std::exit(1);
    }
}

// Fills a table with generated rows through one INSERT ... SELECT over a counter.
void generate(const char* file, const char* insert) {
    sqlite3* db = nullptr;
    sqlite3_open(file, &db);
    exec(db, "BEGIN");
    exec(db, insert);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

void makeBusiness() {
    const QByteArray count = QByteArray::number(rows);
    generate("parts.fdb",
             "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " + count +
                 " - 1) INSERT INTO \"Parts\" SELECT (i * 7919) % " + count +
                 ", 'Part number ' || i, i % 200, 10000 + i * 13, 15000 + (i * 37) % 9000000, "
                 "i % 201, i % 2, i % 1000, 1.5, '1899-12-30', NULL, '', 'Maker ' || (i % 97) "
                 "FROM n");
    generate("cust.fdb",
             "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " + count +
                 " - 1) INSERT INTO \"Customers\" SELECT i, 'First' || (i % 311), 'Last' || "
                 "(i * 17 % 5003), '1970-01-01', (i * 53) % 1000000, 'Street ' || i, "
                 "'555-' || i FROM n");
    generate("items.fdb",
             "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " + count +
                 " - 1) INSERT INTO \"Assembled Items\" SELECT i, 'Item ' || i, (i * 91) % "
                 "50000000, 1.5, 2.25, 0, i % 2, (i % 40) * 2500, i % 201 FROM n");
}

// The baseline: every row read as texts by a bare statement, then the texts sorted.
double bareSelectAndSort(const char* file, const char* table, int sortColumn) {
    return bench::medianOf(runs, [&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(file, &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* select = nullptr;
        const QByteArray sql = QByteArray("SELECT * FROM \"") + table + "\"";
        sqlite3_prepare_v2(db, sql.constData(), -1, &select, nullptr);
        std::vector<QString> texts;
        texts.reserve(rows);
        const int columns = sqlite3_column_count(select);
        while (sqlite3_step(select) == SQLITE_ROW) {
            QString cells[16];
            for (int c = 0; c < columns && c < 16; ++c)
                cells[c] = QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(select, c)));
            texts.push_back(cells[sortColumn].toUpper());
        }
        sqlite3_finalize(select);
        sqlite3_close(db);
        std::stable_sort(texts.begin(), texts.end());
    });
}

void press(QWidget* widget) {
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedPrompts prompts;
    QTemporaryDir home;
    bench::openGeneratedBusiness(home.path(), makeBusiness);

    std::printf("Data finder over %d rows per table (median of %d runs)\n", rows, runs);
    bench::printHeader();
    struct List {
        qint16 mode;
        const char* name;
        const char* file;
        const char* table;
    };
    const List lists[] = {{0, "parts", "parts.fdb", "Parts"},
                          {1, "customers", "cust.fdb", "Customers"},
                          {3, "assembled items", "items.fdb", "Assembled Items"}};
    double partsFill = 0;
    for (const List& list : lists) {
        databaseview* finder =
            databaseview::showList(bench::business(), MDIForm1::get(), list.mode);
        const double fill = bench::medianOf(runs, [&] { finder->setform(); });
        const double baseline = bareSelectAndSort(list.file, list.table, 1);
        const QByteArray what = QByteArray("fill of the ") + list.name + " list (setform)";
        bench::printRow(what.constData(), fill, baseline);
        if (list.mode == 0)
            partsFill = fill;
    }

    databaseview* finder = databaseview::showList(bench::business(), MDIForm1::get(), 0);
    const double click = bench::medianOf(runs, [&] { press(finder->Label1[4]); },
                                         [&] { press(finder->Label1[0]); });
    bench::printRow("header click on the price column (parts)", click,
                    bareSelectAndSort("parts.fdb", "Parts", 4));

    // The search panel on the description column; the typed text sorts near the end.
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(2, 2), QPointF(2, 2),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(finder->Label1[2], &doubleClick);
    // Typing and deleting the last letter of a text that sorts near the end of the list, so
    // that every keystroke walks most of it.
    const QString word = QStringLiteral("PART NUMBER 9999");
    int typed = 0;
    const double keystroke = bench::medianOf(
        runs * 3, [&] { finder->Text1->setText(word.left(word.size() - (++typed % 2))); });
    bench::printRow("search keystroke (parts), against the parts fill", keystroke, partsFill);

    delete databaseview::loaded();
    delete MDIForm1::loaded();
    return 0;
}
