#include "savepaths.h"

#include "core/business/bizregistry.h"
#include "core/business/bizsettings.h"
#include "core/business/bizworkspace.h"
#include "core/business/businessfiles.h"
#include "core/business/codetable.h"
#include "core/catalogue/partrules.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordfile.h"
#include "core/common/recordset.h"
#include "core/items/itemlines.h"
#include "core/items/itemtables.h"
#include "core/sales/invoicelines.h"
#include "core/sales/invoicerules.h"
#include "core/sales/salestables.h"

#include <QDir>
#include <QSet>
#include <QStringList>

#include <sqlite3.h>

namespace robustness {
namespace {

// The item whose lines are saved, and one beside it whose lines must never change; the same
// for invoices. The saved item's row is the second of "Assembled Items", the saved invoice's
// the second of "sales_invoices".
constexpr qint64 savedHost = 7;
constexpr qint64 otherHost = 5;
constexpr int savedArea = 1;
constexpr qint64 savedInvoice = 7;
constexpr qint64 otherInvoice = 8;
constexpr int savedInvoiceRow = 1;
constexpr int otherLines = 10;
// The part edited is the 21st of 40.
constexpr int partCount = 40;
constexpr int savedPartRow = 20;

// Line k of a version: its number and quantity.
qint64 lineNumber(int version, int k) {
    return version == 0 ? k + 1 : 5001 + k;
}
qint64 lineQty(int version) {
    return version == 0 ? 1 : 2;
}
int lineCount(int version, int lines) {
    return version == 0 ? lines : lines - 1;
}
Money itemTotal(int version) {
    return Money::fromRaw(version == 0 ? 10'000'000 : 20'000'000);
}
Money invoiceOwed(int version) {
    return Money::fromRaw(version == 0 ? 1'230'000 : 4'560'000);
}

QString fileOf(SavePath path) {
    switch (path) {
    case SavePath::Item:
        return QStringLiteral("items.fdb");
    case SavePath::Invoice:
        return QStringLiteral("cust.fdb");
    case SavePath::Part:
        return QStringLiteral("parts.fdb");
    case SavePath::Settings:
        return QLatin1String(BizSettings::fileName);
    case SavePath::CodeTable:
        return QLatin1String(CodeTable::classFileName);
    case SavePath::Registry:
        return QLatin1String(BizRegistry::fileName);
    }
    return {};
}

// --- The record files

BizSettings settingsVersion(int version) {
    BizSettings s;
    s.company = version == 0 ? QStringLiteral("Old Works") : QStringLiteral("New Works Ltd");
    s.ceo_name = version == 0 ? QStringLiteral("Ann") : QStringLiteral("Bob");
    s.biz_type = QStringLiteral("Tools");
    s.markup_rate = version == 0 ? 1.5f : 2.5f;
    s.eng_rate = version == 0 ? 20 : 40;
    s.asm_rate = 10;
    s.test_rate = 30;
    s.sales_tax = version == 0 ? 8.25f : 7.0f;
    return s;
}

CodeTable codeTableVersion(int version) {
    CodeTable table;
    for (int code = 1; code <= CodeTable::count; ++code)
        table.setEntry(code,
                       QStringLiteral("%1 class %2").arg(version == 0 ? "Old" : "New").arg(code));
    return table;
}

BizRegistry registryVersion(const QString& folder, int version) {
    BizRegistry registry = BizRegistry::empty();
    registry.setHomeFolder(folder);
    const int used = version == 0 ? 3 : 6;
    for (int slot = 0; slot < used; ++slot)
        registry.occupy(
            slot, QStringLiteral("%1 business %2").arg(version == 0 ? "Old" : "New").arg(slot));
    registry.biz_count = qint16(used);
    registry.cur_biz = qint16(used - 1);
    registry.biz_state = 1;
    return registry;
}

QByteArray recordVersion(SavePath path, const QString& folder, int version) {
    switch (path) {
    case SavePath::Settings:
        return settingsVersion(version).encode();
    case SavePath::CodeTable:
        return codeTableVersion(version).encode();
    case SavePath::Registry:
        return registryVersion(folder, version).encode();
    default:
        return {};
    }
}

int recordSize(SavePath path) {
    switch (path) {
    case SavePath::Settings:
        return BizSettings::fileSize;
    case SavePath::CodeTable:
        return CodeTable::fileSize;
    default:
        return BizRegistry::fileSize;
    }
}

Verdict recordVerdict(SavePath path, const QString& folder, const QByteArray& found) {
    for (int version = 0; version < 2; ++version) {
        if (found == recordVersion(path, folder, version))
            return {version, {}};
    }
    return {-1, QStringLiteral("%1 holds neither version").arg(fileOf(path))};
}

Verdict inspectRecord(SavePath path, const QString& folder) {
    const RecordRead read = readRecord(QDir(folder).filePath(fileOf(path)), recordSize(path));
    if (read.status == RecordStatus::Missing)
        return {-1, QStringLiteral("%1 is missing").arg(fileOf(path))};
    if (read.status == RecordStatus::Damaged)
        return {-1,
                QStringLiteral("%1 is damaged (%2 bytes)").arg(fileOf(path)).arg(read.actualSize)};
    return recordVerdict(path, folder, read.bytes);
}

// --- The databases, read with a connection of our own

QByteArray column(const TableDef& table, int c) {
    return quotedName(table.columns[std::size_t(c)].name);
}

class Reader {
public:
    explicit Reader(const QString& file) {
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db_, SQLITE_OPEN_READWRITE,
                            nullptr) != SQLITE_OK)
            problem_ = QStringLiteral("%1 does not open: %2").arg(file, error());
        else
            sqlite3_busy_timeout(db_, 5000);
    }
    ~Reader() { sqlite3_close(db_); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    const QString& problem() const { return problem_; }

    // The rows as text, columns joined by "," and rows by ";"; empty with problem() set when
    // the query fails.
    QString rows(const QByteArray& sql) {
        if (!problem_.isEmpty())
            return {};
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
            problem_ = QStringLiteral("%1 fails: %2").arg(QString::fromUtf8(sql), error());
            return {};
        }
        QStringList out;
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QStringList cells;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                cells << QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
            out << cells.join(QLatin1Char(','));
        }
        if (rc != SQLITE_DONE)
            problem_ = QStringLiteral("%1 fails: %2").arg(QString::fromUtf8(sql), error());
        sqlite3_finalize(stmt);
        return out.join(QLatin1Char(';'));
    }

private:
    QString error() const { return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString(); }
    sqlite3* db_ = nullptr;
    QString problem_;
};

// The numbers and quantities of a version's lines as the reader lists them.
QString linesText(int version, int lines) {
    QStringList out;
    for (int k = 0; k < lineCount(version, lines); ++k)
        out << QStringLiteral("%1,%2").arg(lineNumber(version, k)).arg(lineQty(version));
    return out.join(QLatin1Char(';'));
}
QString otherLinesText() {
    QStringList out;
    for (int k = 0; k < otherLines; ++k)
        out << QString::number(100 + k);
    return out.join(QLatin1Char(';'));
}

// Version of a table's rows: which expected text they equal.
Verdict matching(const QString& found, const QString& what, const QString& old,
                 const QString& now) {
    if (found == old)
        return {0, {}};
    if (found == now)
        return {1, {}};
    return {-1, QStringLiteral("%1 holds neither version (%2...)").arg(what, found.left(120))};
}

// Both verdicts must agree: the lines and the row saved with them.
Verdict together(const Verdict& a, const Verdict& b) {
    if (!a.whole())
        return a;
    if (!b.whole())
        return b;
    if (a.version != b.version)
        return {-1, QStringLiteral("lines of version %1 saved with a row of version %2")
                        .arg(a.version)
                        .arg(b.version)};
    return a;
}

Verdict inspectDatabase(SavePath path, const QString& folder, int lines) {
    Reader db(QDir(folder).filePath(fileOf(path)));
    const QString integrity = db.rows("PRAGMA integrity_check");
    if (!db.problem().isEmpty())
        return {-1, db.problem()};
    if (integrity != QLatin1String("ok"))
        return {-1, QStringLiteral("integrity check: %1").arg(integrity.left(200))};

    switch (path) {
    case SavePath::Item: {
        using namespace PartsList;
        const TableDef& t = PartsList::table;
        const QByteArray from = " FROM " + quotedName(t.name) + " WHERE " + column(t, host_item_no);
        const QString saved = db.rows("SELECT " + column(t, ip_no) + ", " + column(t, qty) + from +
                                      " = 7 ORDER BY rowid");
        const QString other = db.rows("SELECT " + column(t, ip_no) + from + " = 5 ORDER BY rowid");
        const TableDef& a = AssembledItems::table;
        const QString rows = db.rows("SELECT " + column(a, AssembledItems::item_no) + ", " +
                                     column(a, AssembledItems::total_costs) + " FROM " +
                                     quotedName(a.name) + " ORDER BY rowid");
        if (!db.problem().isEmpty())
            return {-1, db.problem()};
        if (other != otherLinesText())
            return {-1, QStringLiteral("the other item's lines changed")};
        const auto row = [](int v) { return QStringLiteral("5,0;7,%1").arg(itemTotal(v).raw()); };
        return together(
            matching(saved, "the item's lines", linesText(0, lines), linesText(1, lines)),
            matching(rows, "\"Assembled Items\"", row(0), row(1)));
    }
    case SavePath::Invoice: {
        using namespace ItemsPerSale;
        const TableDef& t = ItemsPerSale::table;
        const QByteArray from = " FROM " + quotedName(t.name) + " WHERE " + column(t, invoice_no);
        const QString saved = db.rows("SELECT " + column(t, ip_no) + ", " + column(t, qty) + from +
                                      " = 7 ORDER BY rowid");
        const QString other = db.rows("SELECT " + column(t, ip_no) + from + " = 8 ORDER BY rowid");
        const TableDef& s = SalesInvoices::table;
        const QString rows = db.rows("SELECT " + column(s, SalesInvoices::invoice_no) + ", " +
                                     column(s, SalesInvoices::amount_owed) + " FROM " +
                                     quotedName(s.name) + " ORDER BY rowid");
        if (!db.problem().isEmpty())
            return {-1, db.problem()};
        if (other != otherLinesText())
            return {-1, QStringLiteral("the other invoice's lines changed")};
        const auto row = [](int v) { return QStringLiteral("8,0;7,%1").arg(invoiceOwed(v).raw()); };
        return together(
            matching(saved, "the invoice's lines", linesText(0, lines), linesText(1, lines)),
            matching(rows, "\"sales_invoices\"", row(0), row(1)));
    }
    default: {
        using namespace Parts;
        const TableDef& t = Parts::table;
        const QString rows =
            db.rows("SELECT " + column(t, part_no) + ", " + column(t, description) + ", " +
                    column(t, unit_price) + ", " + column(t, stock_qty) + " FROM " +
                    quotedName(t.name) + " ORDER BY rowid");
        if (!db.problem().isEmpty())
            return {-1, db.problem()};
        const auto expected = [](int v) {
            QStringList out;
            for (int k = 0; k < partCount; ++k) {
                if (k == savedPartRow)
                    out << (v == 0 ? QStringLiteral("21,Old bolt,15000,10")
                                   : QStringLiteral("21,New bolt,25000,20"));
                else
                    out << QStringLiteral("%1,Part %1,5000,1").arg(k + 1);
            }
            return out.join(QLatin1Char(';'));
        };
        return matching(rows, "\"Parts\"", expected(0), expected(1));
    }
    }
}

} // namespace

QString pathName(SavePath path) {
    switch (path) {
    case SavePath::Item:
        return QStringLiteral("item");
    case SavePath::Invoice:
        return QStringLiteral("invoice");
    case SavePath::Part:
        return QStringLiteral("part");
    case SavePath::Settings:
        return QStringLiteral("settings");
    case SavePath::CodeTable:
        return QStringLiteral("codetable");
    case SavePath::Registry:
        return QStringLiteral("registry");
    }
    return {};
}

std::optional<SavePath> pathNamed(const QString& name) {
    for (SavePath path : allPaths) {
        if (pathName(path) == name)
            return path;
    }
    return std::nullopt;
}

bool isDatabasePath(SavePath path) {
    return path == SavePath::Item || path == SavePath::Invoice || path == SavePath::Part;
}

// --- Saver

struct Saver::State {
    SavePath path;
    QString folder;
    int lines;
    // Item and invoice: both versions built once, as the editor holds them.
    std::array<ItemLines, 2> itemLines;
    std::array<InvoiceLines, 2> invoiceLines;
    std::unique_ptr<RecordSet> parts, partsList, items, itemsPerSale, invoices;

    QString file(const QString& name) const { return QDir(folder).filePath(name); }
};

Saver::Saver(SavePath path, const QString& folder, int lines) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.path = path;
    s.folder = folder;
    s.lines = lines;
    switch (path) {
    case SavePath::Item: {
        BizSettings rates = settingsVersion(0);
        for (int v = 0; v < 2; ++v) {
            for (int k = 0; k < lineCount(v, lines); ++k) {
                PickedChoice c;
                c.isPart = true;
                c.entry = QStringLiteral("%1     Part %2")
                              .arg(lineNumber(v, k), 4, 10, QLatin1Char('0'))
                              .arg(lineNumber(v, k));
                c.unitCost = v == 0 ? QStringLiteral("$2.00") : QStringLiteral("$3.00");
                c.qty = QString::number(lineQty(v));
                c.asmHours = QStringLiteral("0.50 Hr");
                c.engHours = QStringLiteral("0.25 Hr");
                c.testHours = QStringLiteral("0.00");
                c.deliveryDays = float(k % 7);
                s.itemLines[std::size_t(v)].place(
                    k, c, [] { return false; }, rates, 1.5f);
            }
        }
        s.parts = std::make_unique<RecordSet>(s.file("parts.fdb"), Parts::table);
        s.partsList = std::make_unique<RecordSet>(s.file("items.fdb"), PartsList::table);
        s.items = std::make_unique<RecordSet>(s.file("items.fdb"), AssembledItems::table);
        break;
    }
    case SavePath::Invoice:
        for (int v = 0; v < 2; ++v) {
            for (int k = 0; k < lineCount(v, lines); ++k) {
                InvoiceLines::Choice c;
                c.isPart = k % 3 != 0;
                c.entry = QStringLiteral("%1     Thing %2")
                              .arg(lineNumber(v, k), 4, 10, QLatin1Char('0'))
                              .arg(lineNumber(v, k));
                c.unitPrice = v == 0 ? QStringLiteral("$2.50") : QStringLiteral("$3.75");
                c.qty = QString::number(lineQty(v));
                c.deliveryDays = float(k % 5);
                s.invoiceLines[std::size_t(v)].place(k, c);
            }
        }
        s.itemsPerSale = std::make_unique<RecordSet>(s.file("cust.fdb"), ItemsPerSale::table);
        s.invoices = std::make_unique<RecordSet>(s.file("cust.fdb"), SalesInvoices::table);
        break;
    case SavePath::Part:
        s.parts = std::make_unique<RecordSet>(s.file("parts.fdb"), Parts::table);
        break;
    default:
        break;
    }
}

Saver::~Saver() = default;

void Saver::save(int version) {
    State& s = *state_;
    switch (s.path) {
    case SavePath::Item: {
        itemcosting::SavedItem item;
        item.total_costs = itemTotal(version);
        item.total_labour = version == 0 ? 1.5f : 2.5f;
        item.markup = version == 0 ? 1.5f : 2.0f;
        item.max_delivery = Money::fromRaw(60000);
        item.item_class = 3;
        s.itemLines[std::size_t(version)].save(*s.partsList, *s.items, savedArea, savedHost, item);
        break;
    }
    case SavePath::Invoice: {
        invoicerules::SavedInvoice invoice;
        invoice.cust_no = 3;
        invoice.invoice_no = savedInvoice;
        invoice.update_date = QDate(2024, 3, 5);
        invoice.amount_owed = invoiceOwed(version);
        invoice.tax_percent = 8.25f;
        invoice.salesperson = version == 0 ? QStringLiteral("OLD") : QStringLiteral("NEW");
        s.invoiceLines[std::size_t(version)].save(*s.itemsPerSale, *s.invoices, invoice, false,
                                                  savedInvoiceRow);
        break;
    }
    case SavePath::Part: {
        // As the part editor saves an existing part: its fields converted, then one update.
        const partrules::Fields fields{
            QStringLiteral("0021"),
            version == 0 ? QStringLiteral("Old bolt") : QStringLiteral("New bolt"),
            QStringLiteral("001"),
            QStringLiteral("$1.00"),
            version == 0 ? QStringLiteral("$1.50") : QStringLiteral("$2.50"),
            QStringLiteral("002"),
            QStringLiteral("Yes"),
            version == 0 ? QStringLiteral("10") : QStringLiteral("20"),
            QStringLiteral("3 days"),
            partrules::noDate,
            QString(),
            QStringLiteral("Maker")};
        const partrules::SaveColumns columns = partrules::saveColumns(fields, QString(), false);
        if (columns.refusal)
            throw std::logic_error("the part's fields are refused");
        RecordSet& rs = *s.parts;
        rs.moveFirst();
        rs.move(savedPartRow);
        rs.edit();
        try {
            for (const auto& [c, value] : columns.columns)
                rs.setField(c, value);
            rs.update();
        } catch (const DbError&) {
            if (rs.isEditing())
                rs.cancelUpdate();
            throw;
        }
        break;
    }
    case SavePath::Settings:
    case SavePath::CodeTable:
        writeRecordAtomically(s.file(fileOf(s.path)), recordVersion(s.path, s.folder, version));
        break;
    case SavePath::Registry:
        writeRegistry(s.folder, registryVersion(s.folder, version));
        break;
    }
}

Verdict Saver::programView() {
    State& s = *state_;
    switch (s.path) {
    case SavePath::Item: {
        ItemLines lines;
        lines.load(*s.partsList, *s.parts, *s.items, savedHost);
        s.items->moveFirst();
        s.items->move(savedArea);
        const Money total = s.items->field(AssembledItems::total_costs).toMoney();
        for (int v = 0; v < 2; ++v) {
            if (lines.count() == lineCount(v, s.lines) &&
                lines.line(lines.count() - 1)[ItemCell::qty] ==
                    s.itemLines[std::size_t(v)].line(lines.count() - 1)[ItemCell::qty] &&
                total == itemTotal(v))
                return {v, {}};
        }
        return {-1, QStringLiteral("the builder reads %1 lines and total %2")
                        .arg(lines.count())
                        .arg(total.decimalText())};
    }
    case SavePath::Invoice: {
        InvoiceLines lines;
        lines.load(*s.itemsPerSale, savedInvoice);
        s.invoices->moveFirst();
        s.invoices->move(savedInvoiceRow);
        const Money owed = s.invoices->field(SalesInvoices::amount_owed).toMoney();
        for (int v = 0; v < 2; ++v) {
            if (lines.count() == lineCount(v, s.lines) &&
                lines.line(lines.count() - 1)[SaleCell::ip_code] ==
                    s.invoiceLines[std::size_t(v)].line(lines.count() - 1)[SaleCell::ip_code] &&
                owed == invoiceOwed(v))
                return {v, {}};
        }
        return {-1, QStringLiteral("the editor reads %1 lines owing %2")
                        .arg(lines.count())
                        .arg(owed.decimalText())};
    }
    case SavePath::Part: {
        RecordSet& rs = *s.parts;
        if (rs.recordCount() != partCount)
            return {-1, QStringLiteral("the catalogue shows %1 parts").arg(rs.recordCount())};
        rs.moveFirst();
        rs.move(savedPartRow);
        const QString description = rs.field(Parts::description).toText();
        if (description == QLatin1String("Old bolt"))
            return {0, {}};
        if (description == QLatin1String("New bolt"))
            return {1, {}};
        return {-1, QStringLiteral("the part editor shows \"%1\"").arg(description)};
    }
    default:
        return inspectRecord(s.path, s.folder);
    }
}

// --- Preparing and inspecting

void prepare(SavePath path, const QString& folder, int lines) {
    const QDir dir(folder);
    if (isDatabasePath(path)) {
        businessfiles::createBusinessDatabases(folder, folder);
        if (path == SavePath::Item) {
            RecordSet items(dir.filePath("items.fdb"), AssembledItems::table);
            for (qint64 number : {otherHost, savedHost}) {
                items.addNew();
                items.setField(AssembledItems::item_no, number);
                items.setField(AssembledItems::item_desc, QStringLiteral("Item %1").arg(number));
                items.setField(AssembledItems::total_costs, Money());
                items.update();
            }
            RecordSet list(dir.filePath("items.fdb"), PartsList::table);
            for (int k = 0; k < otherLines; ++k) {
                list.addNew();
                list.setField(PartsList::host_item_no, otherHost);
                list.setField(PartsList::part_flag, true);
                list.setField(PartsList::ip_no, qint64(100 + k));
                list.setField(PartsList::qty, qint64(1));
                list.update();
            }
        } else if (path == SavePath::Invoice) {
            RecordSet invoices(dir.filePath("cust.fdb"), SalesInvoices::table);
            for (qint64 number : {otherInvoice, savedInvoice}) {
                invoices.addNew();
                invoices.setField(SalesInvoices::cust_no, qint64(number == savedInvoice ? 3 : 4));
                invoices.setField(SalesInvoices::invoice_no, number);
                invoices.setField(SalesInvoices::amount_owed, Money());
                invoices.update();
            }
            RecordSet list(dir.filePath("cust.fdb"), ItemsPerSale::table);
            for (int k = 0; k < otherLines; ++k) {
                list.addNew();
                list.setField(ItemsPerSale::invoice_no, otherInvoice);
                list.setField(ItemsPerSale::part_flag, true);
                list.setField(ItemsPerSale::ip_no, qint64(100 + k));
                list.setField(ItemsPerSale::qty, qint64(1));
                list.update();
            }
        } else {
            RecordSet parts(dir.filePath("parts.fdb"), Parts::table);
            for (int k = 0; k < partCount; ++k) {
                parts.addNew();
                parts.setField(Parts::part_no, qint64(k + 1));
                parts.setField(Parts::description, QStringLiteral("Part %1").arg(k + 1));
                parts.setField(Parts::unit_price, Money::fromRaw(5000));
                parts.setField(Parts::stock_qty, qint64(1));
                parts.update();
            }
        }
    }
    Saver(path, folder, lines).save(0);
}

Verdict inspect(SavePath path, const QString& folder, int lines) {
    return isDatabasePath(path) ? inspectDatabase(path, folder, lines)
                                : inspectRecord(path, folder);
}

Verdict openAsProgram(SavePath path, const QString& folder, int lines) {
    if (!isDatabasePath(path))
        return inspectRecord(path, folder);
    try {
        const QString file = QDir(folder).filePath(fileOf(path));
        if (path == SavePath::Part) {
            RecordSet parts(file, Parts::table);
            parts.moveFirst();
            parts.move(savedPartRow);
            const QString description = parts.field(Parts::description).toText();
            if (parts.recordCount() == partCount && description.endsWith(QLatin1String(" bolt")))
                return {description.startsWith(QLatin1String("Old")) ? 0 : 1, {}};
            return {-1, QStringLiteral("the program reads part \"%1\"").arg(description)};
        }
        const bool item = path == SavePath::Item;
        RecordSet rows(file, item ? PartsList::table : ItemsPerSale::table);
        const int key = item ? int(PartsList::host_item_no) : int(ItemsPerSale::invoice_no);
        const int qtyColumn = item ? int(PartsList::qty) : int(ItemsPerSale::qty);
        const qint64 saved = item ? savedHost : savedInvoice;
        int count = 0;
        QSet<qint64> qtys;
        for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
            if (rows.field(key).toInt64() == saved) {
                ++count;
                qtys.insert(rows.field(qtyColumn).toInt64());
            }
        }
        for (int version = 0; version < 2; ++version) {
            if (count == lineCount(version, lines) && qtys == QSet<qint64>{lineQty(version)})
                return {version, {}};
        }
        return {-1, QStringLiteral("the program reads %1 lines").arg(count)};
    } catch (const DbError& error) {
        return {-1, error.message()};
    }
}

int leftoverFiles(const QString& folder) {
    return int(QDir(folder)
                   .entryList({QStringLiteral("*-journal"), QStringLiteral(".*.tmp")},
                              QDir::Files | QDir::Hidden)
                   .size());
}

} // namespace robustness
