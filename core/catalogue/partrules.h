#pragma once

#include "core/common/money.h"
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
// how typed text is repaired, and what a save writes.
namespace partrules {

inline constexpr int fieldCount = 12;
using Fields = std::array<QString, fieldCount>;

// What a repaired field becomes when nothing of the typed text can be kept.
inline const QString moneyPlaceholder = QStringLiteral("$0.00");
inline const QString quantityPlaceholder = QStringLiteral("0");
inline const QString deliveryPlaceholder = QStringLiteral("1 days");
// The last delivery date of a part that has none.
inline const QString noDate = QStringLiteral("N/A");

// Input rules, run on every change of the field. Each returns the text unchanged when it
// already obeys the rule, so applying it to its own result changes nothing.
// Money: the text after the first character (the currency sign, not examined; at most 60
// characters) must be a number, else the whole text becomes "$0.00".
QString repairMoney(const QString& text);
// Quantity: the text (at most 60 characters) must be a number, else "0".
QString repairQuantity(const QString& text);
// Delivery time: always a number, a blank, then "days" ("3 day" and "3 dys" give "3 days",
// anything shorter than four characters or not starting with a number gives "1 days").
QString repairDelivery(const QString& text);

// An amount as the editor reads its own money fields for arithmetic: the first character
// dropped, at most 60 characters converted. Empty when that is no amount.
std::optional<Money> shownAmount(const QString& text);
// An amount as a save reads it: a leading "$" or a digit, then an amount that fits. Empty
// otherwise (such a field is refused, never stored as something else).
std::optional<Money> savedAmount(const QString& text);
// The price suggested for a cost: cost times the mark-up factor, as "$0.00". Empty when the
// cost text holds no amount.
std::optional<QString> suggestedPrice(const QString& costText, float markupRate);

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
    Incomplete,   // a required field is empty or does not convert
    NumberTooHigh // a new part's number is beyond the 16-bit record numbers
};

// The columns a save writes, in the order they are set, or why the save is refused.
struct SaveColumns {
    std::optional<Refusal> refusal;
    std::vector<std::pair<int, Value>> columns;
};
// Fields 0 to 9 and 11 are required; field 10 (features) is written only when not empty.
// The picture name is the one the editor remembers.
SaveColumns saveColumns(const Fields& fields, const QString& pictureName, bool newPart);

// True when the name holds a wildcard character ("*", "?", "[").
bool hasWildcard(const QString& name);
// The file a picture name stands for. Stored names are upper-cased while the file system tells
// case apart, so each part of the name is matched against the folder's entries whatever their
// case (an exact match first). Relative names resolve inside the folder only ("." and ".." are
// refused). Empty when the name is empty, holds a wildcard or names no file.
QString findPictureFile(const QString& name, const QDir& folder);

} // namespace partrules
