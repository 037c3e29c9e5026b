#pragma once

#include "core/common/money.h"
#include "core/common/numberentry.h"
#include "core/common/value.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class CodeTable;
class RecordSet;

// The rules of the part editor that need no window: what its fields show for a row of "Parts",
// how typed numbers are read and put in their form, and what a save writes.
namespace partrules {

inline constexpr int fieldCount = 12;
using Fields = std::array<QString, fieldCount>;

// The pattern of the money fields, and the quantity a new part starts with.
inline const QString moneyPattern = QStringLiteral("$0.00");
inline const QString newQuantity = QStringLiteral("0");
// The last delivery date of a part that has none.
inline const QString noDate = QStringLiteral("N/A");

// The fields that take a typed number: unit cost, unit price, stock quantity, delivery time.
inline constexpr int costField = 3;
inline constexpr int priceField = 4;
inline constexpr int quantityField = 7;
inline constexpr int deliveryField = 8;
bool isNumberField(int field);

// What a number field takes, with or without its unit ("$", "days"): amounts from 0 to
// 100000000000, a whole stock quantity from 0 to 999999999, from 0 to 9999 days.
numberentry::Wanted wanted(int field);

// A number field's form, applied when the field is left or read: "249.90" gives "$249.90",
// "5" and "5 day" give "5 days", "3 dy" gives "3 days". A text that is no valid entry, or is
// already in its form, comes back as it stands, so that nothing typed is ever replaced.
QString formed(int field, const QString& text);

// While the user deletes inside a delivery time, the letters of "days" come back: deleting
// the s or the a of "3 days" gives "3 days" again. Only letters are added, never a typed
// character dropped; any other text comes back as it stands.
QString restoredDays(const QString& text);

// The amount of a money field, exact to the ten-thousandth; empty with `refusal` set when the
// text is no amount in range.
std::optional<Money> amount(int field, const QString& text, QString* refusal = nullptr);

// The price suggested for a cost: cost times the mark-up factor, rounded once to the cent, as
// "$0.00".
QString suggestedPrice(Money cost, float markupRate);

// Code lines: "001     " and the 30-character description of the code.
QString codeLine(int code, const CodeTable& table);
// A part's vendor and classification as shown; code 0 (or below) is the catch-all.
QString vendorText(qint64 code, const CodeTable& vendors);
QString classText(qint64 code, const CodeTable& classes);
// The pick lists: the 200 vendor lines; "000      MISC" and the 200 classification lines.
QStringList vendorLines(const CodeTable& vendors);
QStringList classLines(const CodeTable& classes);

// The delivery time and last delivery date as shown.
QString deliveryText(double days);
QString lastDeliveryText(const QDate& date);

// The twelve fields for the current row of the parts record set, in field order (field 11
// shows the manufacturer, column 12).
Fields shownFields(const RecordSet& parts, const CodeTable& vendors, const CodeTable& classes);

enum class Refusal {
    Incomplete,    // a required field is empty or does not convert
    NumberTooHigh, // a new part's number is beyond the 16-bit record numbers
    BadNumber      // a number field holds no valid entry: `field` and `reason` tell which
};

// The columns a save writes, in the order they are set, or why the save is refused.
struct SaveColumns {
    std::optional<Refusal> refusal;
    int field = -1;
    QString reason; // "Please enter the unit price as a number from 0 to 100000000000."
    std::vector<std::pair<int, Value>> columns;
};
// Fields 0 to 9 and 11 are required; field 10 (features) is written only when not empty.
// The number fields are read with or without their units; one that holds no valid entry
// refuses the save (BadNumber), never stored as something else. The picture name is the one
// the editor remembers.
SaveColumns saveColumns(const Fields& fields, const QString& pictureName, bool newPart);

// True when the name holds a wildcard character ("*", "?", "[").
bool hasWildcard(const QString& name);
// The file a picture name stands for. Stored names are upper-cased while the file system tells
// case apart, so each part of the name is matched against the folder's entries whatever their
// case (an exact match first). Relative names resolve inside the folder only ("." and ".." are
// refused). Empty when the name is empty, holds a wildcard or names no file.
QString findPictureFile(const QString& name, const QDir& folder);

} // namespace partrules
