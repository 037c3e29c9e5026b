#pragma once

#include "core/common/database.h"

#include <QString>
#include <QStringList>

#include <span>
#include <vector>

struct TableDef;

// The three databases of a business and the blank templates they are copied from.
namespace businessfiles {

struct DatabaseFile {
    const char* templateName; // in the home folder, e.g. "parts.blk"
    const char* fileName;     // in the business's area folder, e.g. "parts.fdb"
    std::span<const TableDef* const> tables;
    // What an upgrade from an earlier layout version moves into the new tables, if anything.
    void (*carry)(Database& db, int fromVersion) = nullptr;
};

// parts, items, customers and sales: the order in which a new business's files are made.
std::span<const DatabaseFile> databaseFiles();

// Writes every template missing from the home folder from the built-in tables, each under a
// temporary name renamed into place when complete, and brings a template of an earlier layout
// version up to date. Returns the names written. Throws FileError or DbError when one cannot be
// written.
QStringList ensureTemplates(const QString& homeFolder);

// Makes the area folder if needed and copies parts.blk, item.blk and cust.blk into it as
// parts.fdb, items.fdb and cust.fdb (missing templates are written first; a damaged template is
// reported, not copied). Each copy replaces any file of that name at once and whole. No business
// may be open meanwhile. Throws FileError or DbError naming the file at fault.
void createBusinessDatabases(const QString& homeFolder, const QString& areaFolder);

// Opens the file and checks that it holds the tables, column by column; DbError otherwise.
void checkDatabaseFile(const QString& path, std::span<const TableDef* const> tables);

// Brings a database (or template) of an earlier layout version up to date, in one transaction;
// false when it was up to date. Throws DbError when it is no database of this program, of a
// later version, or cannot be written.
bool upgradeDatabaseFile(const QString& path, const DatabaseFile& file);

// Brings the three databases of an area folder up to date. Returns one error for each file that
// is of an earlier version and could not be upgraded; a file that is missing, damaged or of a
// later version is left to checkBusinessDatabases.
std::vector<DbError> upgradeBusinessDatabases(const QString& areaFolder);

// Checks the three databases of an area folder: one error for each file that is missing,
// damaged or not of this program; empty when all three are usable.
std::vector<DbError> checkBusinessDatabases(const QString& areaFolder);

} // namespace businessfiles
