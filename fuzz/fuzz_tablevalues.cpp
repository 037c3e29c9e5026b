// Any values in a business's tables, as another SQLite tool could store them (any type in any
// column: null, huge or negative numbers, text, blobs): every reader of the program lists,
// shows and loads them without breaking. Engine errors may be reported; nothing else may fail.
#include "fuzzcheck.h"

#include "core/business/businessfiles.h"
#include "core/business/codetable.h"
#include "core/catalogue/partrules.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/finder/finderlist.h"
#include "core/finder/pickerrules.h"
#include "core/items/itemlines.h"
#include "core/items/itemtables.h"
#include "core/sales/customerrules.h"
#include "core/sales/invoicelines.h"
#include "core/sales/invoicelistrules.h"
#include "core/sales/invoicerules.h"
#include "core/sales/salestables.h"

#include <QDir>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <limits>
#include <set>
#include <utility>

namespace {

struct Table {
    const TableDef* def;
    const char* file;
};
const Table tables[] = {
    {&Parts::table, "parts.fdb"},          {&Customers::table, "cust.fdb"},
    {&SalesInvoices::table, "cust.fdb"},   {&ItemsPerSale::table, "cust.fdb"},
    {&AssembledItems::table, "items.fdb"}, {&PartsList::table, "items.fdb"},
};

// The business folder, made once; every input starts from empty tables.
const QString& folder() {
    static QTemporaryDir home(QDir(QStringLiteral("/dev/shm")).exists()
                                  ? QStringLiteral("/dev/shm/praxo-fuzz-XXXXXX")
                                  : QDir::tempPath() + QStringLiteral("/praxo-fuzz-XXXXXX"));
    static const QString area = [] {
        const QString path = QDir(home.path()).filePath(QStringLiteral("0"));
        businessfiles::createBusinessDatabases(home.path(), path);
        return path;
    }();
    return area;
}

// Stores the fuzzer's rows with the engine directly, bypassing the program's typed layer.
void storeRows(FuzzInput& input) {
    for (const char* file : {"parts.fdb", "cust.fdb", "items.fdb"}) {
        sqlite3* db = nullptr;
        if (sqlite3_open(QDir(folder()).filePath(QLatin1String(file)).toUtf8().constData(), &db) !=
            SQLITE_OK)
            std::abort();
        sqlite3_exec(db, "PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr);
        for (const Table& t : tables) {
            if (qstrcmp(t.file, file) == 0)
                sqlite3_exec(db, "DELETE FROM " + quotedName(t.def->name), nullptr, nullptr,
                             nullptr);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    for (int row = 0; row < 48; ++row) {
        const auto which = input.take<uint8_t>();
        if (which == 0xFF || input.rest().isEmpty())
            break;
        const Table& t = tables[which % std::size(tables)];
        sqlite3* db = nullptr;
        sqlite3_open(QDir(folder()).filePath(QLatin1String(t.file)).toUtf8().constData(), &db);
        QByteArray marks;
        for (int c = 0; c < t.def->columnCount(); ++c)
            marks += c == 0 ? "?" : ", ?";
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO " + quotedName(t.def->name) + " VALUES (" + marks + ")",
                           -1, &insert, nullptr);
        for (int c = 1; c <= t.def->columnCount(); ++c) {
            const auto kind = input.take<uint8_t>();
            switch (kind % 6) {
            case 0:
                sqlite3_bind_null(insert, c);
                break;
            case 1:
                sqlite3_bind_int64(insert, c, input.take<qint64>());
                break;
            case 2:
                sqlite3_bind_double(insert, c, input.take<double>());
                break;
            case 3: {
                const int length = input.take<uint8_t>() % 40;
                const QByteArray text = input.rest().left(length);
                input.take<std::array<char, 40>>(); // the text's room, whatever its length
                sqlite3_bind_text(insert, c, text.constData(), int(text.size()), SQLITE_TRANSIENT);
                break;
            }
            case 4:
                sqlite3_bind_blob(insert, c, "\0\1\2", 3, SQLITE_STATIC);
                break;
            default: // small numbers, so that rows refer to one another
                sqlite3_bind_int(insert, c, input.take<int8_t>() % 16);
                break;
            }
        }
        sqlite3_step(insert);
        sqlite3_finalize(insert);
        sqlite3_close(db);
    }
}


void readEverything() {
    const QDir dir(folder());
    RecordSet parts(dir.filePath(QStringLiteral("parts.fdb")), Parts::table);
    RecordSet customers(dir.filePath(QStringLiteral("cust.fdb")), Customers::table);
    RecordSet invoices(dir.filePath(QStringLiteral("cust.fdb")), SalesInvoices::table);
    RecordSet sold(dir.filePath(QStringLiteral("cust.fdb")), ItemsPerSale::table);
    RecordSet items(dir.filePath(QStringLiteral("items.fdb")), AssembledItems::table);
    RecordSet lines(dir.filePath(QStringLiteral("items.fdb")), PartsList::table);
    CodeTable classes;
    classes.setEntry(3, QStringLiteral("Cables"));
    const CodeTable vendors;

    // The data finder's three lists, by every column.
    for (int column = 0; column < 5; ++column) {
        for (auto [rows, mode] : {std::pair{&parts, 0}, {&customers, 1}, {&items, 3}}) {
            FinderList::build(*rows, mode, column, classes).search(QStringLiteral("b"), column);
        }
    }
    // The editors' fields and a sale's line, row by row.
    for (parts.moveFirst(); !parts.eof(); parts.moveNext()) {
        partrules::shownFields(parts, vendors, classes);
        InvoiceLines::soldRecord(parts, true);
    }
    for (customers.moveFirst(); !customers.eof(); customers.moveNext())
        customerrules::shownFields(customers);
    std::set<qint64> hosts;
    for (items.moveFirst(); !items.eof(); items.moveNext()) {
        InvoiceLines::soldRecord(items, false);
        hosts.insert(items.field(AssembledItems::item_no).toInt64());
    }
    // The invoice list, for all customers and for each, and each invoice's lines.
    const std::vector<invoicelist::CustomerTag> tags = invoicelist::customerTags(customers);
    invoicelist::listInvoices(invoices, -1, tags);
    std::set<qint64> numbers;
    std::set<qint64> owners;
    for (invoices.moveFirst(); !invoices.eof(); invoices.moveNext()) {
        numbers.insert(invoices.field(SalesInvoices::invoice_no).toInt64());
        owners.insert(invoices.field(SalesInvoices::cust_no).toInt64());
    }
    for (qint64 owner : owners)
        invoicelist::listInvoices(invoices, qint16(owner), tags);
    invoicerules::nextInvoiceNumber(invoices);
    for (qint64 number : numbers) {
        InvoiceLines invoice;
        invoice.load(sold, number);
        invoicerules::invoiceTotal(invoice.inUse(), 8.25f, QStringLiteral("8.250 %"));
        invoicerules::raisedMaxDelivery(0, invoice.inUse());
    }
    // The item builder's lines, and the picker's candidates.
    for (qint64 host : hosts) {
        ItemLines item;
        item.load(lines, parts, items, host);
        item.totals();
    }
    for (qint16 kind : {qint16(-1), qint16(0)}) {
        const picker::ListedTable& listed = picker::listedTable(kind);
        RecordSet& rows = kind == -1 ? parts : items;
        picker::candidates(rows, listed, QStringLiteral("ALL"), Money::fromRaw(10'000'000'000'000));
        picker::candidates(rows, listed, QStringLiteral("003     Cables"),
                           Money::fromRaw(1'000'000));
        picker::findRow(rows, 3);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    storeRows(input);
    try {
        FUZZ_CHECK(businessfiles::checkBusinessDatabases(folder()).empty(), "tables damaged");
        readEverything();
    } catch (const DbError&) {
        // The engine's refusal is reported to the user; that is allowed.
    }
    return 0;
}
