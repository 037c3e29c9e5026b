#pragma once

#include "core/common/money.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class CodeTable;
class RecordSet;

// One line of the data finder: the five cells as shown (the sort column in its sort form), the
// row position of its record and, in the parts list, its hover hint.
struct FinderLine {
    std::array<QString, 5> cells;
    int position = 0;
    QString hint;
};

// The refusal shown when the next record number would pass 32767.
inline const QString numbersUsedUp =
    QStringLiteral("No more records can be added: record numbers cannot pass 32767.");

// Right-aligns an amount for sorting: blanks so that amounts end in the same text column.
// Never more than 11 blanks, and none when the amount's text is longer than 12 characters.
QString padAmount(Money amount);

// The lines of one list (mode 0 parts, 1 customers, 3 assembled items), built by one walk of
// the table and ordered by the sort column's text, ignoring case; equal texts keep table order.
class FinderList {
public:
    static FinderList build(RecordSet& records, int mode, int sortColumn,
                            const CodeTable& classCodes);

    const std::vector<FinderLine>& lines() const { return lines_; }
    // One more than the largest record number (column 0), 0 for an empty table; may pass 32767.
    int nextNumber() const { return nextNumber_; }

    // The line a search for the text in a column stops on: the first whose text, upper-cased,
    // is not less than the upper-cased search text by character codes, or the last line; -1 for
    // an empty list.
    int search(const QString& text, int column) const;

private:
    std::vector<FinderLine> lines_;
    int nextNumber_ = 0;
    mutable int upperColumn_ = -1;
    mutable std::vector<QString> upper_; // the searched column upper-cased, made once
};
