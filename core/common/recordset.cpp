#include "core/common/recordset.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

// The value as a column of the type holds it, so that what is read while editing equals what
// will be read back after the store.
Value asColumnValue(ColumnType type, const Value& value) {
    if (value.isNull())
        return value;
    switch (type) {
    case ColumnType::Whole:
    case ColumnType::Int16:
        return value.toInt64();
    case ColumnType::Single:
        return value.toFloat();
    case ColumnType::Double:
        return value.toDouble();
    case ColumnType::Money:
        return value.toMoney();
    case ColumnType::YesNo:
        return value.toBool();
    case ColumnType::Date:
        return value.toDate();
    case ColumnType::Text:
        break;
    }
    return value.toText();
}

// "yyyy-MM-dd" as stored; an invalid date when the text is anything else.
QDate parseDate(const unsigned char* text, int bytes) {
    if (bytes != 10 || text[4] != '-' || text[7] != '-')
        return {};
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return {};
            parts[p] = parts[p] * 10 + (text[i] - '0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]);
}

bool storableDate(const QDate& date) {
    return date.year() >= 1 && date.year() <= 9999;
}

QByteArray columnList(const TableDef& table) {
    QByteArray list;
    for (const ColumnDef& column : table.columns)
        list += (list.isEmpty() ? "" : ", ") + quotedName(column.name);
    return list;
}

// Binds the value, already of the column's kind, as the column stores it.
void bindValue(const Database& db, sqlite3_stmt* stmt, int i, ColumnType type, const Value& value) {
    if (value.isNull()) {
        sqlite3_bind_null(stmt, i);
        return;
    }
    switch (type) {
    case ColumnType::Whole:
    case ColumnType::Int16:
        sqlite3_bind_int64(stmt, i, value.toInt64());
        return;
    case ColumnType::Single:
        sqlite3_bind_double(stmt, i, double(value.toFloat()));
        return;
    case ColumnType::Double:
        sqlite3_bind_double(stmt, i, value.toDouble());
        return;
    case ColumnType::Money:
        sqlite3_bind_int64(stmt, i, value.toMoney().raw());
        return;
    case ColumnType::YesNo:
        sqlite3_bind_int(stmt, i, value.toBool() ? 1 : 0);
        return;
    case ColumnType::Date: {
        const QDate date = value.toDate();
        if (!storableDate(date))
            db.fail(QStringLiteral("the date %1 cannot be stored").arg(date.toString()));
        char text[16];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year(), date.month(), date.day());
        sqlite3_bind_text(stmt, i, text, 10, SQLITE_TRANSIENT);
        return;
    }
    case ColumnType::Text:
        break;
    }
    const QByteArray text = value.toText().toUtf8();
    sqlite3_bind_text(stmt, i, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

// Whether some stored row can hold the value (already of the column's kind): a null equals
// nothing, and a date outside the stored form is never stored.
bool canMatch(ColumnType type, const Value& value) {
    return !value.isNull() && (type != ColumnType::Date || storableDate(value.toDate()));
}

std::logic_error noCurrentRow() {
    return std::logic_error("there is no current row");
}

} // namespace

RecordSet::RecordSet(std::shared_ptr<Database> db, const TableDef& table)
    : db_(std::move(db)), table_(&table) {
    checkTable(*db_, table);
    const QByteArray name = quotedName(table.name);
    reader_ = Statement(*db_, "SELECT rowid, " + columnList(table) + " FROM " + name +
                                  " WHERE rowid >= ?1 ORDER BY rowid");
    requery();
    pos_ = 0;
    db_->attach(this);
}

RecordSet::RecordSet(const QString& path, const TableDef& table)
    : RecordSet(Database::open(path), table) {}

RecordSet::~RecordSet() {
    db_->detach(this);
}

// --- Positions

void RecordSet::requery() {
    reload();
}

// Reading the rows again changes no row, only what this object knows of them.
void RecordSet::reload() const {
    releaseReader();
    const auto size = qint64(rowids_.size());
    const bool atEnd = pos_ >= size;
    const bool atStart = pos_ < 0;
    const qint64 anchor = (pos_ >= 0 && pos_ < size) ? rowids_[pos_] : 0;

    Statement rows(*db_, "SELECT rowid FROM " + quotedName(table_->name) + " ORDER BY rowid");
    std::vector<qint64> loaded;
    while (rows.step())
        loaded.push_back(sqlite3_column_int64(rows.get(), 0));
    rowids_ = std::move(loaded);

    if (atEnd)
        pos_ = qint64(rowids_.size());
    else if (atStart)
        pos_ = -1;
    else
        pos_ = std::lower_bound(rowids_.begin(), rowids_.end(), anchor) - rowids_.begin();
    mode_ = Mode::None;
    stale_ = false;
}

void RecordSet::refreshIfStale() const {
    if (stale_)
        reload();
}

int RecordSet::recordCount() const {
    refreshIfStale();
    return int(rowids_.size());
}

bool RecordSet::hasCurrentRow() const {
    return !removed_ && pos_ >= 0 && pos_ < qint64(rowids_.size());
}

qint64 RecordSet::currentRowid() const {
    if (!hasCurrentRow())
        throw noCurrentRow();
    return rowids_[std::size_t(pos_)];
}

void RecordSet::goTo(qint64 position) {
    mode_ = Mode::None;
    removed_ = false;
    pos_ = std::clamp<qint64>(position, -1, qint64(rowids_.size()));
    if (pos_ < 0 || pos_ >= qint64(rowids_.size()))
        releaseReader(); // off the rows: the file is not held by an unfinished read
}

void RecordSet::moveFirst() {
    refreshIfStale();
    goTo(0);
}

void RecordSet::moveNext() {
    refreshIfStale();
    if (removed_) {
        goTo(pos_); // the row after the removed one already holds its position
        return;
    }
    if (pos_ >= qint64(rowids_.size()))
        throw std::logic_error("moveNext: already past the last row");
    goTo(pos_ + 1);
}

void RecordSet::movePrevious() {
    refreshIfStale();
    if (!removed_ && pos_ < 0)
        throw std::logic_error("movePrevious: already before the first row");
    goTo(pos_ - 1);
}

void RecordSet::move(int n) {
    refreshIfStale();
    if (removed_ && n != 0) {
        goTo(n > 0 ? pos_ + n - 1 : pos_ + n);
        return;
    }
    if (!hasCurrentRow())
        throw noCurrentRow();
    goTo(pos_ + n);
}

bool RecordSet::eof() const {
    refreshIfStale();
    return !removed_ && (rowids_.empty() || pos_ >= qint64(rowids_.size()));
}

bool RecordSet::bof() const {
    refreshIfStale();
    return !removed_ && (rowids_.empty() || pos_ < 0);
}

int RecordSet::absolutePosition() const {
    refreshIfStale();
    return hasCurrentRow() ? int(pos_) : -1;
}

// --- Reading

void RecordSet::checkColumn(int n) const {
    if (n < 0 || n >= table_->columnCount())
        throw std::out_of_range("no column " + std::to_string(n) + " in table " + table_->name);
}

void RecordSet::positionReader(qint64 rowid) const {
    if (readerOnRow_ && readerRowid_ == rowid)
        return;
    // A walk: the reader is on the row before, so one step reaches this one.
    const bool next = readerOnRow_ && pos_ > 0 && rowids_[std::size_t(pos_ - 1)] == readerRowid_;
    readerOnRow_ = false;
    sqlite3_stmt* stmt = reader_.get();
    if (next && reader_.step() && sqlite3_column_int64(stmt, 0) == rowid) {
        readerOnRow_ = true;
        readerRowid_ = rowid;
        return;
    }
    reader_.reset();
    sqlite3_bind_int64(stmt, 1, rowid);
    if (!reader_.step() || sqlite3_column_int64(stmt, 0) != rowid) {
        reader_.reset();
        db_->fail(QStringLiteral("a row of \"%1\" has gone; the file was changed elsewhere")
                      .arg(QLatin1String(table_->name)));
    }
    readerOnRow_ = true;
    readerRowid_ = rowid;
}

Value RecordSet::readColumn(int n) const {
    sqlite3_stmt* stmt = reader_.get();
    const int i = n + 1; // column 0 of the reader is the rowid
    if (sqlite3_column_type(stmt, i) == SQLITE_NULL)
        return {};
    switch (table_->columns[std::size_t(n)].type) {
    case ColumnType::Whole:
    case ColumnType::Int16:
        return qint64(sqlite3_column_int64(stmt, i));
    case ColumnType::Single:
        return float(sqlite3_column_double(stmt, i));
    case ColumnType::Double:
        return sqlite3_column_double(stmt, i);
    case ColumnType::Money:
        return Money::fromRaw(sqlite3_column_int64(stmt, i));
    case ColumnType::YesNo:
        return sqlite3_column_int64(stmt, i) != 0;
    case ColumnType::Date:
        return parseDate(sqlite3_column_text(stmt, i), sqlite3_column_bytes(stmt, i));
    case ColumnType::Text:
        break;
    }
    return textColumn(stmt, i);
}

Value RecordSet::field(int n) const {
    refreshIfStale();
    checkColumn(n);
    if (mode_ != Mode::None)
        return buffer_[std::size_t(n)];
    positionReader(currentRowid());
    return readColumn(n);
}

// --- Changing

void RecordSet::setField(int n, const Value& value) {
    refreshIfStale();
    checkColumn(n);
    if (mode_ == Mode::None)
        throw std::logic_error("setField: the row is neither being added nor edited");
    buffer_[std::size_t(n)] = asColumnValue(table_->columns[std::size_t(n)].type, value);
}

void RecordSet::addNew() {
    refreshIfStale();
    buffer_.assign(table_->columns.size(), Value());
    mode_ = Mode::Adding;
}

void RecordSet::edit() {
    refreshIfStale();
    positionReader(currentRowid());
    std::vector<Value> values;
    values.reserve(table_->columns.size());
    for (int n = 0; n < table_->columnCount(); ++n)
        values.push_back(readColumn(n));
    buffer_ = std::move(values);
    mode_ = Mode::Editing;
}

bool RecordSet::isEditing() const {
    refreshIfStale();
    return mode_ != Mode::None;
}

void RecordSet::cancelUpdate() {
    mode_ = Mode::None;
}

void RecordSet::prepareWrites() {
    if (inserter_)
        return;
    const QByteArray name = quotedName(table_->name);
    QByteArray marks;
    QByteArray assignments;
    for (int n = 1; n <= table_->columnCount(); ++n) {
        const QByteArray mark = '?' + QByteArray::number(n);
        marks += (n > 1 ? ", " : "") + mark;
        assignments += (n > 1 ? ", " : "") + quotedName(table_->columns[std::size_t(n - 1)].name) +
                       " = " + mark;
    }
    const QByteArray last = '?' + QByteArray::number(table_->columnCount() + 1);
    inserter_ = Statement(*db_, "INSERT INTO " + name + " (" + columnList(*table_) + ") VALUES (" +
                                    marks + ")");
    updater_ = Statement(*db_, "UPDATE " + name + " SET " + assignments + " WHERE rowid = " + last);
    remover_ = Statement(*db_, "DELETE FROM " + name + " WHERE rowid = ?1");
}

void RecordSet::bindBuffer(Statement& statement) const {
    for (int n = 0; n < table_->columnCount(); ++n)
        bindValue(*db_, statement.get(), n + 1, table_->columns[std::size_t(n)].type,
                  buffer_[std::size_t(n)]);
}

void RecordSet::update() {
    refreshIfStale();
    if (mode_ == Mode::None)
        throw std::logic_error("update: the row is neither being added nor edited");
    prepareWrites();
    db_->resetReaders();
    if (mode_ == Mode::Editing) {
        const qint64 rowid = currentRowid();
        bindBuffer(updater_);
        sqlite3_bind_int64(updater_.get(), table_->columnCount() + 1, rowid);
        updater_.run();
        if (sqlite3_changes(db_->handle()) != 1)
            db_->fail(QStringLiteral("the row to change has gone; the file was changed elsewhere"));
        mode_ = Mode::None;
        return;
    }

    bindBuffer(inserter_);
    inserter_.run();
    const qint64 rowid = sqlite3_last_insert_rowid(db_->handle());
    const bool atEnd = !removed_ && pos_ >= qint64(rowids_.size());
    mode_ = Mode::None;
    if (!rowids_.empty() && rowid <= rowids_.back()) {
        reload(); // the engine chose a rowid out of order; learn the true order
    } else {
        rowids_.push_back(rowid);
        if (atEnd)
            pos_ = qint64(rowids_.size());
    }
    db_->rowAppended(this, *table_, rowid);
}

void RecordSet::remove() {
    refreshIfStale();
    if (mode_ != Mode::None)
        throw std::logic_error("remove: finish or cancel the change of the row first");
    const qint64 rowid = currentRowid();
    prepareWrites();
    db_->resetReaders();
    sqlite3_bind_int64(remover_.get(), 1, rowid);
    remover_.run();
    forgetRows({&rowid, 1});
    db_->rowsRemoved(this, *table_, {&rowid, 1});
}

// --- Rows by the value of a column

Statement& RecordSet::columnStatement(std::vector<Statement>& statements, int n,
                                      const char* sql) const {
    statements.resize(table_->columns.size());
    Statement& statement = statements[std::size_t(n)];
    if (!statement) {
        QByteArray text(sql);
        text.replace("%table", quotedName(table_->name));
        text.replace("%column", quotedName(table_->columns[std::size_t(n)].name));
        statement = Statement(*db_, text);
    }
    return statement;
}

std::vector<int> RecordSet::findAll(int column, const Value& value) const {
    refreshIfStale();
    checkColumn(column);
    std::vector<int> positions;
    const ColumnType type = table_->columns[std::size_t(column)].type;
    const Value key = asColumnValue(type, value);
    if (!canMatch(type, key))
        return positions;
    Statement& finder = columnStatement(
        finders_, column, "SELECT rowid FROM %table WHERE %column = ?1 ORDER BY rowid");
    bindValue(*db_, finder.get(), 1, type, key);
    // Both lists ascend, so each search starts where the previous one ended.
    auto from = rowids_.cbegin();
    while (finder.step()) {
        const qint64 rowid = sqlite3_column_int64(finder.get(), 0);
        from = std::lower_bound(from, rowids_.cend(), rowid);
        if (from != rowids_.cend() && *from == rowid)
            positions.push_back(int(from - rowids_.cbegin()));
    }
    finder.reset();
    return positions;
}

int RecordSet::removeWhere(int column, const Value& value) {
    refreshIfStale();
    checkColumn(column);
    if (mode_ != Mode::None)
        throw std::logic_error("removeWhere: finish or cancel the change of the row first");
    const ColumnType type = table_->columns[std::size_t(column)].type;
    const Value key = asColumnValue(type, value);
    if (!canMatch(type, key))
        return 0;
    Statement& remover =
        columnStatement(removers_, column, "DELETE FROM %table WHERE %column = ?1 RETURNING rowid");
    bindValue(*db_, remover.get(), 1, type, key);
    db_->resetReaders();
    std::vector<qint64> gone;
    while (remover.step())
        gone.push_back(sqlite3_column_int64(remover.get(), 0));
    remover.reset();
    if (gone.empty())
        return 0;
    std::sort(gone.begin(), gone.end());
    forgetRows(gone); // a rowid this object never knew held no position here
    db_->rowsRemoved(this, *table_, gone);
    return int(gone.size());
}

bool RecordSet::forgetRows(std::span<const qint64> gone) {
    if (gone.empty())
        return true;
    const auto begin = rowids_.begin();
    const auto end = rowids_.end();
    // Each run of kept rowids between two gone ones moves down once.
    auto in = std::lower_bound(begin, end, gone.front());
    auto out = in;
    const auto keep = [&](std::vector<qint64>::iterator upTo) {
        out = out == in ? upTo : std::copy(in, upTo, out);
    };
    bool allFound = true;
    bool currentGone = false;
    qint64 goneBefore = 0;
    for (const qint64 rowid : gone) {
        const auto at = std::lower_bound(in, end, rowid);
        keep(at);
        in = at;
        if (at == end || *at != rowid) {
            allFound = false;
            continue;
        }
        const qint64 index = at - begin;
        if (index < pos_)
            ++goneBefore;
        else if (index == pos_)
            currentGone = true;
        ++in;
    }
    keep(end);
    rowids_.erase(out, end);

    if (pos_ >= 0)
        pos_ -= goneBefore;
    if (currentGone && !removed_) {
        removed_ = true; // there is no current row; pos_ holds the row that followed it
        mode_ = Mode::None;
    }
    return allFound;
}

// --- Changes made through other record sets of the same table

void RecordSet::releaseReader() const {
    reader_.reset();
    readerOnRow_ = false;
}

void RecordSet::appendedElsewhere(qint64 rowid) {
    if (stale_)
        return;
    if (!rowids_.empty() && rowid <= rowids_.back()) {
        stale_ = true;
        return;
    }
    const bool atEnd = !removed_ && pos_ >= qint64(rowids_.size());
    rowids_.push_back(rowid);
    if (atEnd)
        pos_ = qint64(rowids_.size());
}

void RecordSet::removedElsewhere(std::span<const qint64> rowids) {
    if (stale_)
        return;
    if (!forgetRows(rowids))
        stale_ = true; // this object was out of step with the table
}

void RecordSet::markStale() {
    stale_ = true;
    releaseReader();
}
