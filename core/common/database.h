#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct TableDef;
class RecordSet;

// Any failure of the database engine, or a file that is not a usable database of this program.
// Carries the engine's text and the file, so the user can be told both.
class DbError : public std::runtime_error {
public:
    DbError(const QString& file, const QString& reason);
    const QString& file() const { return file_; }
    const QString& reason() const { return reason_; }
    // "<file>: <reason>", for the user.
    QString message() const;

private:
    QString file_;
    QString reason_;
};

class Database;

// One prepared statement; values are always bound, never pasted into the text.
class Statement {
public:
    Statement() = default;
    Statement(Database& db, const QByteArray& sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    explicit operator bool() const { return stmt_ != nullptr; }
    // True when a row is ready, false when done. On failure the statement is reset and DbError
    // thrown.
    bool step();
    // Runs a statement that returns no rows and makes it ready to run again.
    void run();
    void reset();

private:
    Database* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

// One open database file, shared by every record set on it: opening the same file again, while
// it is open, gives the same object. Writes are durable when they return (synchronous FULL with
// the rollback journal, so each file stands alone and can be copied whenever no write runs).
class Database {
public:
    enum class Mode {
        Existing, // the file must exist and hold this program's tables, of this layout version
        Create,   // opens or creates a file for createTables
        Older,    // as Existing, or of an earlier layout version, to be given to upgradeTables
    };
    static std::shared_ptr<Database> open(const QString& path, Mode mode = Mode::Existing);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    sqlite3* handle() const { return db_; }
    bool inTransaction() const { return inTransaction_; }
    // Runs SQL without values (pragmas, transaction control).
    void execute(const char* sql);
    // Throws DbError with the engine's latest error text.
    [[noreturn]] void fail() const;
    [[noreturn]] void fail(const QString& reason) const;

private:
    friend class RecordSet;
    friend class Transaction;

    Database(sqlite3* db, const QString& path, const QString& key);
    void attach(RecordSet* rs);
    void detach(RecordSet* rs);
    // Readers let go of their rows before anything is written.
    void resetReaders();
    void rowAppended(const RecordSet* writer, const TableDef& table, qint64 rowid);
    // The rowids ascend.
    void rowsRemoved(const RecordSet* writer, const TableDef& table,
                     std::span<const qint64> rowids);
    void rolledBack();

    sqlite3* db_;
    QString path_;
    QString key_;
    bool inTransaction_ = false;
    std::vector<RecordSet*> recordSets_;
};

// A transaction on one database: rolled back when the object goes away uncommitted (a thrown
// error), after which every record set on the database shows the rows as they were. One at a
// time per database: opening a second one throws std::logic_error.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& db_;
    bool open_ = true;
};

// Creates the tables in an empty database and stamps the layout version, in one transaction.
void createTables(Database& db, std::span<const TableDef* const> tables);
// Throws DbError naming the file when a table is missing or its columns are not the expected
// ones in the expected order.
void checkTable(Database& db, const TableDef& table);

// The layout version the file carries (PRAGMA user_version).
int layoutVersion(Database& db);
// Brings a file of an earlier layout version (opened with Mode::Older) up to date in one
// transaction: every table of the list newer than the file's version that is missing is
// created, the others are checked (a table of the file's own layout that is missing fails), then
// `carry` moves what the earlier layout kept elsewhere, and the version is stamped. False when
// the file was up to date already. On a DbError nothing has changed.
bool upgradeTables(Database& db, std::span<const TableDef* const> tables,
                   const std::function<void(Database&, int fromVersion)>& carry = {});

// A table or column name quoted for SQL.
QByteArray quotedName(const char* name);
// The quoted names of the table's columns given, in that order: "a", "b".
QByteArray columnList(const TableDef& table, std::initializer_list<int> columns);
// Column i of the statement's current row as text; empty for NULL.
QString textColumn(sqlite3_stmt* stmt, int i);
