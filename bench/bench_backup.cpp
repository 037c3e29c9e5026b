// Backups of a business at full size (32,767 parts, 2,000 assembled items with 60,000 parts-list
// lines, 5,000 customers, 30,000 invoices with 60,000 invoice lines): a backup of the open
// business against SQLite's VACUUM INTO of its three databases, a restore from that backup
// against a plain copy of the business's files into a new folder, and the data finder's export
// of its 32,767-line parts list against a bare dump of the Parts rows to a text file, each in
// the same run. Targets: backup and restore under 3 s, export under 1 s.

#include "benchbusiness.h"
#include "benchutil.h"
#include "core/business/businessbackup.h"
#include "gui/finder/databaseview.h"
#include "support/scriptedfiles.h"
#include "support/scriptedprompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdlib>

namespace {

constexpr int runs = 5;

void exec(sqlite3* db, const QByteArray& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", error);
        std::exit(1);
    }
}

void execFile(const char* file, const QByteArray& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file, &db) != SQLITE_OK)
        std::exit(1);
    exec(db, "BEGIN");
    exec(db, sql);
    exec(db, "COMMIT");
    sqlite3_close(db);
}

QByteArray counter(int count) {
    return "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           QByteArray::number(count - 1) + ") ";
}

// Run in the business folder.
void makeBusiness() {
    execFile("parts.fdb", counter(32767) +
                              "INSERT INTO Parts SELECT i, 'Part description ' || i, i % 200, "
                              "1000 + i, 2500 + i * 3, i % 50, i % 2, i % 100, 1.5, "
                              "'2024-03-01', 'features of ' || i, NULL, 'Maker ' || (i % 300) "
                              "FROM n");
    execFile("items.fdb",
             counter(2000) + "INSERT INTO \"Assembled Items\" SELECT i, 'Item ' || i, 100000 + i, "
                             "1.5, 2.5, 0, i % 2, 3, i % 20 FROM n;" +
                 counter(60000) + "INSERT INTO \"parts list\" SELECT i / 30, 1, i % 32767, 2, "
                                  "2500, 5000, 0.5, 0.25, 0.25, 5000, 1.5 FROM n");
    execFile("cust.fdb",
             counter(5000) + "INSERT INTO Customers SELECT i, 'First' || i, 'Last' || i, "
                             "'1970-01-01', 0, 'Street ' || i, '555-' || i FROM n;" +
                 counter(30000) + "INSERT INTO sales_invoices SELECT i % 5000, i, '2023-06-01', "
                                  "0, 100000 + i, NULL, NULL, 8.25, 0, 'SAM', 0 FROM n;" +
                 counter(60000) + "INSERT INTO items_per_sale SELECT i / 2, i % 2, i % 5000, "
                                  "2.5, 1 + i % 9, 10000 + i, 'Line ' || i FROM n");
    QFile settings(QStringLiteral("settings.dat"));
    settings.open(QIODevice::WriteOnly);
    settings.write(QByteArray(110, ' '));
}

const char* const databases[] = {"parts.fdb", "items.fdb", "cust.fdb"};

double vacuumInto(const QString& folder, const QString& target) {
    return bench::medianOf(
        runs,
        [&] {
            for (const char* file : databases) {
                sqlite3* db = nullptr;
                sqlite3_open(QFile::encodeName(QDir(folder).filePath(QLatin1String(file))), &db);
                exec(db, "VACUUM INTO '" + QFile::encodeName(QDir(target).filePath(
                                               QLatin1String(file))) + "'");
                sqlite3_close(db);
            }
        },
        [&] {
            QDir(target).removeRecursively();
            QDir().mkpath(target);
        });
}

double plainCopy(const QString& folder, const QString& target) {
    return bench::medianOf(
        runs,
        [&] {
            QDir().mkpath(target);
            for (const QString& name : QDir(folder).entryList(QDir::Files))
                QFile::copy(QDir(folder).filePath(name), QDir(target).filePath(name));
        },
        [&] { QDir(target).removeRecursively(); });
}

double bareDump(const QString& partsFile, const QString& target) {
    return bench::medianOf(runs, [&] {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(partsFile), &db);
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT part_no, manufacturer, description, class_code, "
                               "unit_price FROM Parts", -1, &select, nullptr);
        QByteArray out;
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int c = 0; c < 5; ++c) {
                out += reinterpret_cast<const char*>(sqlite3_column_text(select, c));
                out += c < 4 ? ',' : '\n';
            }
        }
        sqlite3_finalize(select);
        sqlite3_close(db);
        QFile file(target);
        file.open(QIODevice::WriteOnly);
        file.write(out);
    });
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedPrompts prompts;
    ScriptedFiles files;
    QTemporaryDir home;
    bench::openGeneratedBusiness(home.path(), makeBusiness);
    Business& business = bench::business();
    const QString folder = business.folder();
    const QString archive = home.filePath(QStringLiteral("bench.praxo-backup"));

    std::printf("Backups: 32,767 parts, 60,000 parts-list lines, 30,000 invoices with 60,000 "
                "lines (median of %d runs)\n",
                runs);
    bench::printHeader();

    const double backup = bench::medianOf(runs, [&] {
        businessbackup::backUp(folder, business.name(), archive);
    });
    bench::printRow("back up the open business",
                    backup, vacuumInto(folder, home.filePath(QStringLiteral("vacuumed"))));

    QTemporaryDir restoreHome;
    BizRegistry registry = BizRegistry::empty();
    const double restore = bench::medianOf(
        runs, [&] { businessbackup::restore(restoreHome.path(), registry, archive); },
        [&] {
            registry = BizRegistry::empty();
            QDir(QDir(restoreHome.path()).filePath(QStringLiteral("0"))).removeRecursively();
        });
    bench::printRow("restore it as a new business", restore,
                    plainCopy(folder, home.filePath(QStringLiteral("copied"))));

    databaseview* finder = databaseview::showList(business, MDIForm1::get(), 0);
    const QString csv = home.filePath(QStringLiteral("parts.csv"));
    const double exported = bench::medianOf(runs, [&] {
        files.answer(csv);
        finder->ExportList->click();
    });
    bench::printRow("export the 32,767-line parts list", exported,
                    bareDump(QDir(folder).filePath(QStringLiteral("parts.fdb")),
                             home.filePath(QStringLiteral("dump.txt"))));

    delete databaseview::loaded();
    delete MDIForm1::loaded();
    return prompts.done() && files.done() ? 0 : 1;
}
