#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Lists written for spreadsheets: comma-separated values as RFC 4180 has them (fields holding a
// comma, a quote or a line break in quotes, quotes doubled, lines ended by CR LF), in UTF-8 with
// a byte-order mark so that a spreadsheet reads accented letters right.
namespace csv {

struct Table {
    QStringList headers;            // the column captions, written as the first line
    std::vector<QStringList> rows;  // each row's cells, as many as the headers
};

// One field as written: quoted only when it must be.
QString field(const QString& text);
// The whole file: the byte-order mark, the header line, then one line per row.
QByteArray encode(const Table& table);

// Writes the file whole (a temporary file renamed into place) or not at all. Throws FileError.
void writeFile(const QString& path, const Table& table);

} // namespace csv
