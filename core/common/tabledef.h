#pragma once

#include <span>

// The tables of a business's databases are described once, here, by their columns in ordinal
// order. The same description creates the table, checks an opened file, and tells the record
// set how each column is stored and read back.

// What a column holds and how it is stored:
//   Whole, Int16  INTEGER (Int16 limited to -32768..32767 by the table)
//   Single        REAL, read back as exactly the float that was stored
//   Double        REAL
//   Money         INTEGER, ten-thousandths
//   YesNo         INTEGER 0 or 1
//   Date          TEXT yyyy-MM-dd (the date value 0 is 1899-12-30), NULL when empty
//   Text          TEXT, NULL when empty where the table allows it
// Every column accepts NULL.
enum class ColumnType { Whole, Int16, Single, Double, Money, YesNo, Date, Text };

struct ColumnDef {
    const char* name;
    ColumnType type;
};

struct TableDef {
    const char* name;
    std::span<const ColumnDef> columns;
    int since = 1; // the layout version that brought the table (schemaVersion below)

    int columnCount() const { return int(columns.size()); }
};

// The version of the tables' layout, kept in each database file (PRAGMA user_version). A file
// with another version is not opened as it stands; one of an earlier version is brought up to
// date first (upgradeTables). The three files of a business carry the same version.
//   1  the first layout
//   2  cust.fdb gains "payments"; parts.fdb and items.fdb are unchanged
inline constexpr int schemaVersion = 2;
