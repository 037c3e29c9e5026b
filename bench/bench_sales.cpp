// Invoices over a generated business of 5,000 customers and 30,000 invoices (three lines each,
// and one invoice of 3,000 lines in the middle of the table): the all-customers invoice list,
// opening the big invoice, and confirming and saving it, each against its bare SQLite baseline
// on the same rows in the same run.

#include "core/business/business.h"
#include "core/business/businessfiles.h"
#include "gui/app/mdiform1.h"
#include "benchbusiness.h"
#include "benchutil.h"
#include "support/scriptedprompts.h"
#include "gui/finder/databaseview.h"
#include "gui/sales/showinvoices.h"
#include "gui/sales/viewinvoice.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdlib>

namespace {

constexpr int customers = 5000;
constexpr int invoices = 30000;
constexpr int bigInvoice = 15000; // its row position too
constexpr int bigLines = 3000;
constexpr int runs = 7;

void exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", error);
        std::exit(1);
    }
}

sqlite3* openFile(const char* file) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file, &db) != SQLITE_OK)
        std::exit(1);
    return db;
}

QByteArray number(int n) {
    return QByteArray::number(n);
}

// The lines of invoices [from, to), three each, as one INSERT ... SELECT over a counter.
QByteArray smallLines(int from, int to) {
    return "WITH RECURSIVE n(i) AS (SELECT " + number(from * 3) +
           " UNION ALL SELECT i + 1 FROM n "
           "WHERE i < " +
           number(to * 3 - 1) +
           ") INSERT INTO items_per_sale SELECT i / 3, i % 2, "
           "i % 5000, 2.5, 1 + i % 9, 10000 + (i * 37) % 900000, 'Line ' || i FROM n";
}

void makeBusiness() {
    sqlite3* db = openFile("cust.fdb");
    exec(db, "BEGIN");
    exec(db, "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                 number(customers - 1) +
                 ") INSERT INTO Customers SELECT i, 'First' || i, "
                 "'Last' || i, '1970-01-01', 0, 'Street ' || i, '555-' || i FROM n");
    exec(db, "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                 number(invoices - 1) + ") INSERT INTO sales_invoices SELECT i % " +
                 number(customers) +
                 ", i, '2023-06-01', 0, 100000 + i, NULL, NULL, 8.25, 0, "
                 "'SAM', 0 FROM n");
    exec(db, smallLines(0, bigInvoice));
    exec(db, "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                 number(bigLines - 1) + ") INSERT INTO items_per_sale SELECT " +
                 number(bigInvoice) +
                 ", i % 2, i, 1 + i % 7, 1 + i % 5, 10000 + i * 13, "
                 "'Big line ' || i FROM n");
    exec(db, smallLines(bigInvoice + 1, invoices));
    exec(db, "COMMIT");
    sqlite3_close(db);
}

// Every column of every row the statement gives, read as the record set reads it.
int readAll(sqlite3_stmt* select) {
    int values = 0;
    const int columns = sqlite3_column_count(select);
    while (sqlite3_step(select) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (sqlite3_column_type(select, c) == SQLITE_TEXT)
                values +=
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select, c)))
                        .size();
            else
                values += int(sqlite3_column_double(select, c));
        }
    }
    return values;
}

double bareSelect(const char* const* statements, int count) {
    return bench::medianOf(runs, [&] {
        sqlite3* db = openFile("cust.fdb");
        for (int i = 0; i < count; ++i) {
            sqlite3_stmt* select = nullptr;
            sqlite3_prepare_v2(db, statements[i], -1, &select, nullptr);
            readAll(select);
            sqlite3_finalize(select);
        }
        sqlite3_close(db);
    });
}

// One transaction: the invoice's lines deleted and written anew, its row updated.
void bareRewrite() {
    sqlite3* db = openFile("cust.fdb");
    exec(db, "BEGIN");
    exec(db, "DELETE FROM items_per_sale WHERE invoice_no = " + number(bigInvoice));
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO items_per_sale VALUES (?, ?, ?, ?, ?, ?, ?)", -1, &insert,
                       nullptr);
    for (int i = 0; i < bigLines; ++i) {
        sqlite3_bind_int64(insert, 1, bigInvoice);
        sqlite3_bind_int64(insert, 2, i % 2);
        sqlite3_bind_int64(insert, 3, i);
        sqlite3_bind_double(insert, 4, 1 + i % 7);
        sqlite3_bind_int64(insert, 5, 1 + i % 5);
        sqlite3_bind_int64(insert, 6, 10000 + i * 13);
        const QByteArray text = "Big line " + number(i);
        sqlite3_bind_text(insert, 7, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "UPDATE sales_invoices SET amount_owed = 1, confirmed = 1, confirmed_date = "
             "'2023-06-02', delivery_date = '2023-06-09' WHERE rowid = " +
                 number(bigInvoice + 1));
    exec(db, "COMMIT");
    sqlite3_close(db);
}

// Every run starts from the same file, with the business's connections freshly opened.
void restore(const QString& pristine) {
    bench::reopenBusiness([&] {
        QFile::remove(QStringLiteral("cust.fdb"));
        QFile::copy(pristine, QStringLiteral("cust.fdb"));
    });
    bench::business().openConnections();
}

viewinvoice& openBigInvoice() {
    viewinvoice& editor = viewinvoice::get(bench::business());
    editor.rec = bigInvoice;
    editor.sell = 1;
    editor.load();
    return editor;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedPrompts prompts;
    QTemporaryDir home;
    const QString pristine = home.filePath(QStringLiteral("cust.pristine"));
    bench::openGeneratedBusiness(home.path(), [&] {
        makeBusiness();
        QFile::copy(QStringLiteral("cust.fdb"), pristine);
    });
    const auto settle = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); };

    std::printf("Invoices: %d customers, %d invoices, %d lines in the opened one "
                "(median of %d runs)\n",
                customers, invoices, bigLines, runs);
    bench::printHeader();

    const double list = bench::medianOf(
        runs,
        [] {
            showinvoices& invoiceList = showinvoices::get(bench::business());
            invoiceList.cust = -1;
            invoiceList.cname = QStringLiteral("ALL");
            invoiceList.load();
        },
        [&] {
            delete showinvoices::loaded();
            restore(pristine);
        });
    delete showinvoices::loaded();
    const char* const listRows[] = {"SELECT * FROM Customers", "SELECT * FROM sales_invoices"};
    bench::printRow("invoice list, all customers (load)", list, bareSelect(listRows, 2));

    const double open = bench::medianOf(
        runs, [] { openBigInvoice(); },
        [&] {
            delete viewinvoice::loaded();
            restore(pristine);
        });
    const QByteArray lineRows =
        "SELECT * FROM items_per_sale WHERE invoice_no = " + number(bigInvoice);
    const QByteArray invoiceRow =
        "SELECT * FROM sales_invoices WHERE rowid = " + number(bigInvoice + 1);
    const char* const openRows[] = {invoiceRow.constData(), lineRows.constData()};
    bench::printRow("open an invoice of 3,000 lines (load)", open, bareSelect(openRows, 2));

    viewinvoice* editor = nullptr;
    const double save = bench::medianOf(
        runs,
        [&] {
            editor->Command1[1]->click();
            editor->Command1[0]->click();
        },
        [&] {
            delete viewinvoice::loaded();
            settle();
            restore(pristine);
            editor = &openBigInvoice();
            prompts.expectMessage(
                QStringLiteral("confirm set. Please save to record committment and changes"));
            prompts.expectMessage(QStringLiteral("saved"));
        });
    settle();
    const double rewrite = bench::medianOf(runs, bareRewrite, [&] {
        bench::reopenBusiness([&] {
            QFile::remove(QStringLiteral("cust.fdb"));
            QFile::copy(pristine, QStringLiteral("cust.fdb"));
        });
    });
    bench::printRow("confirm and save it (one transaction)", save, rewrite);

    if (!prompts.done())
        std::fprintf(stderr, "%s\n", qPrintable(prompts.report()));
    delete databaseview::loaded();
    delete MDIForm1::loaded();
    return prompts.done() ? 0 : 1;
}
