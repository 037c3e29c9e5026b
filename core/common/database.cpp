#include "core/common/database.h"

#include "core/common/recordset.h"
#include "core/common/tabledef.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <utility>

namespace {

// Every open database by the canonical path of its file.
std::map<QString, std::weak_ptr<Database>>& openDatabases() {
    static std::map<QString, std::weak_ptr<Database>> databases;
    return databases;
}

// The same file gives the same key however it was named (relative, "..", links to the folder).
QString fileKey(const QString& path) {
    const QFileInfo info(path);
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

const char* declaredType(ColumnType type) {
    switch (type) {
    case ColumnType::Single:
    case ColumnType::Double:
        return "REAL";
    case ColumnType::Date:
    case ColumnType::Text:
        return "TEXT";
    case ColumnType::Whole:
    case ColumnType::Int16:
    case ColumnType::Money:
    case ColumnType::YesNo:
        break;
    }
    return "INTEGER";
}

QByteArray columnSql(const ColumnDef& column) {
    const QByteArray name = quotedName(column.name);
    QByteArray sql = name + ' ' + declaredType(column.type);
    if (column.type == ColumnType::Int16)
        sql += " CHECK (" + name + " BETWEEN -32768 AND 32767)";
    else if (column.type == ColumnType::YesNo)
        sql += " CHECK (" + name + " IN (0, 1))";
    return sql;
}

int userVersion(Database& db) {
    Statement version(db, "PRAGMA user_version");
    version.step();
    const int result = sqlite3_column_int(version.get(), 0);
    version.reset();
    return result;
}

void createTable(Database& db, const TableDef& table) {
    QByteArray sql = "CREATE TABLE " + quotedName(table.name) + " (";
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        sql += (i ? ", " : "") + columnSql(table.columns[i]);
    sql += ')';
    db.execute(sql.constData());
}

bool tableExists(Database& db, const TableDef& table) {
    Statement found(db, "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = ?1");
    sqlite3_bind_text(found.get(), 1, table.name, -1, SQLITE_STATIC);
    found.step();
    const bool exists = sqlite3_column_int(found.get(), 0) > 0;
    found.reset();
    return exists;
}

void stampVersion(Database& db) {
    db.execute(
        QByteArray("PRAGMA user_version = " + QByteArray::number(schemaVersion)).constData());
}

} // namespace

DbError::DbError(const QString& file, const QString& reason)
    : std::runtime_error(QStringLiteral("%1: %2").arg(file, reason).toStdString()), file_(file),
      reason_(reason) {}

QString DbError::message() const {
    return QStringLiteral("%1: %2").arg(file_, reason_);
}

QByteArray quotedName(const char* name) {
    QByteArray quoted(name);
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

QByteArray columnList(const TableDef& table, std::initializer_list<int> columns) {
    QByteArray list;
    for (int c : columns)
        list += (list.isEmpty() ? "" : ", ") + quotedName(table.columns[std::size_t(c)].name);
    return list;
}

QString textColumn(sqlite3_stmt* stmt, int i) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt, i));
}

// --- Statement

Statement::Statement(Database& db, const QByteArray& sql) : db_(&db) {
    if (sqlite3_prepare_v3(db.handle(), sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        db.fail();
    }
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString reason = QString::fromUtf8(sqlite3_errmsg(db_->handle()));
    sqlite3_reset(stmt_);
    db_->fail(reason);
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(stmt_);
}

// --- Database

std::shared_ptr<Database> Database::open(const QString& path, Mode mode) {
    const QString key = fileKey(path);
    auto& databases = openDatabases();
    if (auto it = databases.find(key); it != databases.end()) {
        if (auto shared = it->second.lock())
            return shared;
    }

    if (mode != Mode::Create && !QFileInfo(path).isFile())
        throw DbError(path, QStringLiteral("the file does not exist"));
    sqlite3* handle = nullptr;
    // One thread uses a connection, so the engine's per-call locking is only cost.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                      (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags, nullptr) !=
        SQLITE_OK) {
        const QString reason =
            handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QStringLiteral("out of memory");
        sqlite3_close(handle);
        throw DbError(path, reason);
    }
    std::shared_ptr<Database> db(new Database(handle, path, key));
    // Another program's brief lock (a viewer, say) is waited for rather than failed on.
    sqlite3_busy_timeout(handle, 2000);

    // The first read of the file: a damaged or foreign file fails here.
    const int version = userVersion(*db);
    const bool older = mode == Mode::Older && version >= 1 && version < schemaVersion;
    if (mode != Mode::Create && version != schemaVersion && !older) {
        if (version == 0)
            db->fail(QStringLiteral("the file is empty or is not a database of this program"));
        db->fail(QStringLiteral("the file has layout version %1; this program reads version %2")
                     .arg(version)
                     .arg(schemaVersion));
    }
    // The rollback journal keeps each database one self-contained file (a write-ahead log would
    // hold committed rows in a second file beside it); with FULL, every commit is on the disk
    // before it returns. A mode set by another tool is reset.
    db->execute("PRAGMA journal_mode=DELETE");
    db->execute("PRAGMA synchronous=FULL");

    databases[key] = db;
    return db;
}

Database::Database(sqlite3* db, const QString& path, const QString& key)
    : db_(db), path_(path), key_(key) {}

Database::~Database() {
    // Record sets hold the database, so none is left; their statements are finalized.
    sqlite3_close_v2(db_);
    auto& databases = openDatabases();
    if (auto it = databases.find(key_); it != databases.end() && it->second.expired())
        databases.erase(it);
}

void Database::execute(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(error ? error : sqlite3_errmsg(db_));
        sqlite3_free(error);
        fail(reason);
    }
}

void Database::fail() const {
    fail(QString::fromUtf8(sqlite3_errmsg(db_)));
}

void Database::fail(const QString& reason) const {
    throw DbError(path_, reason);
}

void Database::attach(RecordSet* rs) {
    recordSets_.push_back(rs);
}

void Database::detach(RecordSet* rs) {
    std::erase(recordSets_, rs);
}

void Database::resetReaders() {
    for (RecordSet* rs : recordSets_)
        rs->releaseReader();
}

void Database::rowAppended(const RecordSet* writer, const TableDef& table, qint64 rowid) {
    for (RecordSet* rs : recordSets_) {
        if (rs != writer && &rs->table() == &table)
            rs->appendedElsewhere(rowid);
    }
}

void Database::rowsRemoved(const RecordSet* writer, const TableDef& table,
                           std::span<const qint64> rowids) {
    for (RecordSet* rs : recordSets_) {
        if (rs != writer && &rs->table() == &table)
            rs->removedElsewhere(rowids);
    }
}

void Database::rolledBack() {
    for (RecordSet* rs : recordSets_)
        rs->markStale();
}

// --- Transaction

Transaction::Transaction(Database& db) : db_(db) {
    if (db.inTransaction_)
        throw std::logic_error("a transaction is already open on this database");
    db.resetReaders();
    db.execute("BEGIN IMMEDIATE");
    db.inTransaction_ = true;
}

Transaction::~Transaction() {
    if (!open_)
        return;
    // The engine may have rolled back already (some errors do); otherwise undo here.
    if (!sqlite3_get_autocommit(db_.handle())) {
        db_.resetReaders();
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    db_.inTransaction_ = false;
    db_.rolledBack();
}

void Transaction::commit() {
    if (!open_)
        throw std::logic_error("the transaction is already committed");
    db_.execute("COMMIT");
    open_ = false;
    db_.inTransaction_ = false;
}

// --- Tables

void createTables(Database& db, std::span<const TableDef* const> tables) {
    Statement existing(db, "SELECT count(*) FROM sqlite_schema");
    existing.step();
    const bool empty = sqlite3_column_int(existing.get(), 0) == 0;
    existing.reset();
    if (!empty || userVersion(db) != 0)
        db.fail(QStringLiteral("the file is not empty"));

    Transaction transaction(db);
    for (const TableDef* table : tables)
        createTable(db, *table);
    stampVersion(db);
    transaction.commit();
}

int layoutVersion(Database& db) {
    return userVersion(db);
}

bool upgradeTables(Database& db, std::span<const TableDef* const> tables,
                   const std::function<void(Database&, int fromVersion)>& carry) {
    const int from = userVersion(db);
    if (from == schemaVersion)
        return false;
    if (from < 1 || from > schemaVersion)
        db.fail(QStringLiteral("the file has layout version %1 and cannot be brought to version %2")
                    .arg(from)
                    .arg(schemaVersion));
    Transaction transaction(db);
    // A table the earlier layout had must be there still; only newer ones are made.
    for (const TableDef* table : tables) {
        if (table->since > from && !tableExists(db, *table))
            createTable(db, *table);
        else
            checkTable(db, *table);
    }
    if (carry)
        carry(db, from);
    stampVersion(db);
    transaction.commit();
    return true;
}

void checkTable(Database& db, const TableDef& table) {
    Statement info(db, "SELECT name, type FROM pragma_table_info(?1)");
    sqlite3_bind_text(info.get(), 1, table.name, -1, SQLITE_STATIC);
    QStringList found;
    bool sameColumns = true;
    while (info.step()) {
        const auto text = [&](int i) {
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(info.get(), i)));
        };
        const auto index = found.size();
        found << text(0);
        sameColumns = sameColumns && index < table.columnCount() &&
                      found.last() == QLatin1String(table.columns[index].name) &&
                      text(1).compare(QLatin1String(declaredType(table.columns[index].type)),
                                      Qt::CaseInsensitive) == 0;
    }
    info.reset();
    if (found.isEmpty())
        db.fail(QStringLiteral("the table \"%1\" is missing").arg(QLatin1String(table.name)));
    if (!sameColumns || found.size() != table.columnCount())
        db.fail(QStringLiteral("the table \"%1\" does not have the expected columns")
                    .arg(QLatin1String(table.name)));
}
