#include "core/common/csvwriter.h"

#include "core/common/recordfile.h"

namespace csv {

namespace {
const char bom[] = "\xEF\xBB\xBF";

void appendLine(QString& out, const QStringList& cells) {
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        out += field(cells[i]);
    }
    out += QLatin1String("\r\n");
}
} // namespace

QString field(const QString& text) {
    bool quote = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\n') ||
            c == QLatin1Char('\r')) {
            quote = true;
            break;
        }
    }
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray encode(const Table& table) {
    QString text;
    // A list of 32,767 lines is a few megabytes: reserve once rather than grow line by line.
    qsizetype guess = 64;
    if (!table.rows.empty()) {
        for (const QString& cell : table.rows.front())
            guess += cell.size() + 3;
    }
    text.reserve(guess * qsizetype(table.rows.size() + 1));
    appendLine(text, table.headers);
    for (const QStringList& row : table.rows)
        appendLine(text, row);
    return QByteArray(bom) + text.toUtf8();
}

void writeFile(const QString& path, const Table& table) {
    writeRecordAtomically(path, encode(table));
}

} // namespace csv
