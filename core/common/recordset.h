#pragma once

#include "core/common/database.h"
#include "core/common/tabledef.h"
#include "core/common/value.h"

#include <QString>

#include <memory>
#include <span>
#include <vector>

// The rows of one table in a stable order, with one current row, and the operations that read and
// change them. Row order is the order of the rows' rowids: a new row takes the last position, and
// removing a row moves the later ones up by one. Positions count from 0.
//
// After moveNext passes the last row, eof() is true; movePrevious before the first row makes
// bof() true. Moving on from eof (or back from bof), and reading a field with no current row,
// throw std::logic_error. Engine failures throw DbError.
//
// Changing rows: addNew() or edit(), setField() for the columns, then update(). A new row's
// columns not set are stored as null. Moving to another row before update() drops the change.
// After update() of a new row the current row is the one that was current before addNew() (the
// new row is at position recordCount() - 1). After remove() there is no current row until the
// next move; moveNext() then reaches the row that followed the removed one.
//
// Bulk operations, for tables that hold the rows of many owners (an invoice's lines, an item's
// parts): each is one statement for the engine instead of a walk through every row.
//
//   for (int p : rs.findAll(Col::owner_no, number)) {   // the owner's rows, in row order
//       rs.moveFirst();
//       rs.move(p);
//       ... rs.field(...) ...
//   }
//   rs.removeWhere(Col::owner_no, number);             // inside the save's Transaction
//
// The value is compared as the column holds it (converted to the column's kind first, as
// setField does), so findAll gives the positions a walk comparing field(column) == value would
// give, and removeWhere removes exactly those rows. A null value, or one the column cannot hold,
// equals no row. (The engine compares the stored value: a single written by another tool as a
// double that is no float reads as a float but matches nothing.) Both work inside a Transaction;
// after a rollback they see the rows as they were. Where the file has an index on the column the
// engine uses it; without one it scans the table, still far cheaper than a record-set walk.
class RecordSet {
public:
    RecordSet(std::shared_ptr<Database> db, const TableDef& table);
    // Opens (or shares) the database at the path; relative paths resolve in the current folder.
    RecordSet(const QString& path, const TableDef& table);
    ~RecordSet();
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;

    const TableDef& table() const { return *table_; }
    Database& database() const { return *db_; }

    int recordCount() const;
    // Positioned on the first row when the table has rows (eof when it has none).
    void moveFirst();
    void moveNext();
    void movePrevious();
    // The row n places after the current one (before it when n is negative).
    void move(int n);
    bool eof() const;
    bool bof() const;
    // The current row's position, or -1 when there is no current row.
    int absolutePosition() const;

    // Column n of the current row; while adding or editing, the value set so far.
    Value field(int n) const;
    // Only while adding or editing; the value is kept as the column's kind.
    void setField(int n, const Value& value);

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    bool isEditing() const;
    // Removes the current row.
    void remove();

    // The positions, ascending, of the rows whose column `column` equals `value`. Changes no
    // position: the current row stays current.
    std::vector<int> findAll(int column, const Value& value) const;
    // Removes every row whose column `column` equals `value` and returns how many went. Later
    // rows move up by the number removed before them. A current row that stays keeps being
    // current (at its new position); when the current row is among those removed, there is no
    // current row until the next move, and moveNext() reaches the first remaining row that
    // followed it, as after remove(). Other record sets on the table follow, as for remove().
    // Not while a row is being added or edited (std::logic_error).
    int removeWhere(int column, const Value& value);

    // Reads the table's rows again; the current row stays current when it still exists.
    void requery();

private:
    friend class Database;
    enum class Mode { None, Adding, Editing };

    void reload() const;
    void refreshIfStale() const;
    bool hasCurrentRow() const;
    qint64 currentRowid() const;
    void goTo(qint64 position);
    void checkColumn(int n) const;
    void positionReader(qint64 rowid) const;
    Value readColumn(int n) const;
    void bindBuffer(Statement& statement) const;
    void prepareWrites();
    // The statement for column n, prepared on first use.
    Statement& columnStatement(std::vector<Statement>& statements, int n, const char* sql) const;
    // Drops the rows (ascending rowids) from the in-memory list in one pass; the position follows
    // as described for removeWhere. False when a rowid was not in the list.
    bool forgetRows(std::span<const qint64> gone);

    // Called by the database for changes made through other record sets of the same table.
    void releaseReader() const;
    void appendedElsewhere(qint64 rowid);
    void removedElsewhere(std::span<const qint64> rowids);
    void markStale();

    std::shared_ptr<Database> db_;
    const TableDef* table_;
    mutable std::vector<qint64> rowids_;
    mutable qint64 pos_ = -1;      // -1: before the first row; rowids_.size(): after the last
    mutable bool removed_ = false; // the row at pos_ was removed; pos_ holds the next one
    mutable bool stale_ = false;   // a rollback happened: rows must be read again
    mutable Mode mode_ = Mode::None;
    std::vector<Value> buffer_;

    // The reading statement stays on the last row it read, so a walk only steps it.
    mutable Statement reader_;
    mutable bool readerOnRow_ = false;
    mutable qint64 readerRowid_ = 0;
    Statement inserter_;
    Statement updater_;
    Statement remover_;
    mutable std::vector<Statement> finders_;  // by column: rowids of the rows holding a value
    mutable std::vector<Statement> removers_; // by column: delete the rows holding a value
};
