#pragma once

#include "core/common/money.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>
#include <span>

struct BizSettings;

// The ten cell texts of one component line of an assembled item, as the item builder shows
// them. A cell not in use holds two blanks.
namespace ItemCell {
enum : int {
    ip_code,       // "0012  P": number, two blanks, P for a part or I for an item
    description,   // looked up by number, never stored
    unit_price,    // "$0.00"
    qty,           // "00"
    total_price,   // "$0.00"
    asm_hours,     // "0.00 Hr"
    eng_hours,     // "0.00 Hr"
    test_hours,    // "0.00 Hr"
    ip_cost,       // "$0.00": price plus labour, times the mark-up factor
    delivery_days, // plain number text
    count
};
} // namespace ItemCell
using ItemLine = std::array<QString, ItemCell::count>;

// Amounts, hours and quantities live on screen as text; these rules read them back and write
// them, so that what is stored and summed is exactly what is shown.
namespace itemcosting {

QString blankCell(); // two blanks

// --- Reading rules
// "$12.50": the first character dropped, at most 60 more read as currency.
Money amountOf(const QString& text);
// The same text read in single precision.
float amountSingle(const QString& text);
// "1.50 Hr": the last two characters dropped; a bare "0.00" reads 0.
float hoursOf(const QString& text);
// "04": the whole-number part of the text's numeric value.
qint64 qtyOf(const QString& text);
// The whole text in single precision.
float deliveryOf(const QString& text);
// "1.5000%": the last character dropped.
float markupOf(const QString& text);
// "4.25 hours": the last five characters dropped.
float totalLabourOf(const QString& text);
// "7.50 Days": the last four characters dropped, as currency.
Money maxDeliveryOf(const QString& text);
// "012     name": the whole-number part of the first four characters.
qint64 itemClassOf(const QString& text);
// The whole-number part of the number at the start of the text ("0012 " gives 12).
qint64 wholeNumberOf(const QString& text);

// --- Text forms
QString moneyText(double value);  // "$0.00"
QString hoursText(float hours);   // "0.00 Hr"
QString qtyText(double qty);      // "00"
QString markupText(float factor); // 1.5 gives "1.5000%"
QString codeText(qint64 number, bool isPart);

// The numbers the formulas and totals read from a line's texts, by the rules above. A table of
// lines keeps them beside the texts, so that a new mark-up or the totals need not read 3,000
// lines' texts again.
struct LineFigures {
    float totalPrice = 0; // total_price in single precision
    float asmHours = 0;
    float engHours = 0;
    float testHours = 0;
    float delivery = 0;
    Money cost;  // ip_cost read in single precision, then as currency
    Money hours; // each of the three hours as currency, summed
};
LineFigures figuresOf(const ItemLine& line);
// An hours cell read back: the hours, and what they add to the total hours.
struct HoursFigure {
    float hours = 0;
    Money currency;
};
HoursFigure hoursFigure(const QString& hoursCell);
// What a line cost text adds to "Total Costs".
Money costFigure(const QString& ipCost);

// --- Formulas, in the precision the screen's arithmetic uses
// Engineering, assembly and testing hours each at the rate of their own kind, in single precision.
float labourCost(const LineFigures& line, const BizSettings& rates);
float labourCost(const ItemLine& line, const BizSettings& rates);
// Unit price times the whole quantity, "$0.00".
QString lineTotalPrice(const QString& unitPrice, const QString& qty);
// (total price + labour cost) times the mark-up factor, "$0.00".
QString lineCost(const LineFigures& line, const BizSettings& rates, float markup);
QString lineCost(const ItemLine& line, const BizSettings& rates, float markup);

struct ItemTotals {
    QString partCount;   // lines, not quantities
    QString totalCosts;  // "$0.00"
    QString maxDelivery; // "0.00 Days"
    QString totalLabour; // "0.00 hours": hours, not money
};
ItemTotals itemTotals(std::span<const LineFigures> lines);
ItemTotals itemTotals(std::span<const ItemLine> lines);

// The mark-up box's new text for an answer to the mark-up prompt; empty when the answer
// changes nothing (cancelled, empty, a text that passes the filter but is no number, or a factor
// of a billion or more). Anything the filter rejects counts as 0.
std::optional<QString> markupEntry(const QString& answer);

// --- Tooltips of the grid
enum class Labour { Assembly, Engineering, Testing };
// "Cost of assembly = 1.50 Hr * $10.00 = $15.00"
QString labourTip(Labour kind, const QString& hoursBox, const BizSettings& rates);
// "total cost ((qty * cost) + labour) = $10.00 + (labours = $32.50) * 1.5000% = $63.75"
QString costTip(const ItemLine& line, const BizSettings& rates, const QString& markupBox);

// --- Values stored by "Save Item"
struct SavedLine {
    bool part_flag = false;
    qint64 ip_no = 0;
    qint64 qty = 0;
    Money unit_price;
    Money total_price;
    float asm_hours = 0;
    float eng_hours = 0;
    float test_hours = 0;
    Money ip_cost;
    float delivery_days = 0;
};
SavedLine savedLine(const ItemLine& line);
// The same, taking the hours and delivery time already read into the line's figures.
SavedLine savedLine(const ItemLine& line, const LineFigures& figures);

// The item's own row, from the builder's boxes.
struct ItemBoxes {
    QString totalCosts;  // Text1(2)
    QString totalLabour; // Text1(3)
    QString maxDelivery; // Text1(4)
    QString markup;      // Text1(5)
    QString itemClass;   // Text1(7)
    bool confirmed = false;
};
struct SavedItem {
    Money total_costs;
    float total_labour = 0;
    float markup = 0;
    bool confirmed = false;
    Money max_delivery;
    qint64 item_class = 0;
};
SavedItem savedItem(const ItemBoxes& boxes);

} // namespace itemcosting
