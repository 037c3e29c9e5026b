#pragma once

#include "core/common/money.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

class CodeTable;
class RecordSet;

// The rules of the part and item picker, kept apart from its window.
namespace picker {

// Where the listed kind (parts or assembled items) keeps what the picker reads.
struct ListedTable {
    int connection; // data connection of the data finder
    int codeColumn; // classification code
    int costColumn; // unit cost, compared with the highest cost
    int deliveryColumn;
    int pictureColumn; // -1 when the kind has no picture
};
// is_part -1 lists parts, 0 assembled items.
const ListedTable& listedTable(qint16 isPart);

// The choice field with nothing chosen: 13 blanks.
QString noChoice();

// "ALL PARTS" or "ALL ITEMS", "000     MISC", then each code 001 to 200 with its description.
QStringList typeListLines(const QString& allLine, const CodeTable& codes);

// The highest cost shown in its field ("$0.00"), read exactly; 0 when unreadable.
Money highestCost(const QString& fieldText);

// The candidates of a table in row order, each "0000", five blanks, description: the rows whose
// code passes the filter (one starting with "ALL", or with the code as "000") and whose cost is
// at most the highest cost. The record set's current row is kept.
QStringList candidates(RecordSet& rows, const ListedTable& table, const QString& filter,
                       Money highest);

// The picker's number questions. An empty answer (or Cancel) leaves its field as it is; any
// other answer is read with or without its unit, or refused with `refusal` set, and the field
// keeps its value.
bool isEmptyAnswer(const QString& answer);
// "Enter value (#.##)", "highest amount": an amount from $0 to $100,000,000,000,000, exactly
// as typed to the cent.
std::optional<Money> highestAmountAnswer(const QString& answer, QString* refusal);
// "Enter int (#)", "input qty": a whole quantity from 1 to 999,999,999.
std::optional<qint64> quantityAnswer(const QString& answer, QString* refusal);
// "Enter value (#.##)", "<kind> labour hours", field 5, 6 or 7: hours from 0 to 100,000, as far
// as their two decimals survive in single precision.
std::optional<float> hoursAnswer(int field, const QString& answer, QString* refusal);

// The number of the chosen candidate: the whole-number value of the first four characters.
qint64 chosenNumber(const QString& choice);
// True when the choice's number is written in four digits at most, so that it survives the
// four-character code of an item or invoice line.
bool numberFitsCode(const QString& choice);
QString numberTooLargeMessage();

// The whole-number value of a quantity text.
qint64 wholeQuantity(const QString& qtyText);
// "Add I/P" takes a choice and a quantity of at least 1.
bool acceptable(const QString& qtyText, const QString& choice);

// Finds the first row, from the first one, whose number (column 0) is `number`, and leaves the
// record set there. The walk ends with the table: -1, and the current row kept, when no row
// bears the number.
int findRow(RecordSet& rows, qint64 number);

// Whether an existing line of the caller starts with assembled items listed: the item builder
// marks parts "P" and everything else is an item; the invoice editor's lines say "I" for items.
bool lineListsItems(qint16 mode, const QString& kind);

// The path of the picture a part names, when the name is a bare file name of a file in the
// folder (letter case aside, since names are stored upper-cased); empty otherwise.
QString pictureFile(const QString& name, const QDir& folder);

} // namespace picker
