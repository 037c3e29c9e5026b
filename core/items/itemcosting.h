#pragma once

#include "core/common/exactamount.h"
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

// An amount in ten-thousandths, in 128 bits: a price times a quantity, plus labour, times the
// mark-up stays exact to the cent far beyond what Money (and so the tables) can hold, so that
// what is shown is the true amount and a save can tell that it does not fit.
using WideAmount = ExactAmount::Count;

QString blankCell(); // two blanks

// --- Reading rules
// "$12.50": the first character dropped, at most 60 more read as currency; 0 when they are no
// amount Money can hold.
Money amountOf(const QString& text);
// The same, exactly and beyond Money; nothing when the text is no number or lies beyond 10^33.
std::optional<WideAmount> wideAmountOf(const QString& text);
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
// A line's code "0012  P": the number of its component (the first four characters) and
// whether it is a part (the last character).
qint64 codeNumber(const QString& code);
bool isPartCode(const QString& code);
// The number a line's code names for a stored component number, as read back from the code
// text: the first four characters of "0000".
qint64 codeNumberOf(qint64 storedNumber);

// --- Text forms
QString moneyText(double value);      // "$0.00"
QString moneyText(WideAmount amount); // "$0.00", to the cent, halves away from zero
QString hoursText(float hours);       // "0.00 Hr"
QString qtyText(double qty);          // "00"
QString markupText(float factor);     // 1.5 gives "1.5000%"
QString codeText(qint64 number, bool isPart);

// The numbers the formulas and totals read from a line's texts, by the rules above. A table of
// lines keeps them beside the texts, so that a new mark-up or the totals need not read 3,000
// lines' texts again. An amount beyond 10^33, which no keyboard slip reaches, is known only
// as a double, to be shown; such a line can never be saved.
struct LineFigures {
    ExactAmount totalPrice;     // total_price, exactly, in ten-thousandths
    double totalPriceValue = 0; // the same, to be shown when it is beyond 128 bits
    float asmHours = 0;
    float engHours = 0;
    float testHours = 0;
    float delivery = 0;
    ExactAmount cost; // ip_cost, exactly
    double costValue = 0;
    Money hours; // each of the three hours as currency, summed
};
LineFigures figuresOf(const ItemLine& line);
// An hours cell read back: the hours, and what they add to the total hours.
struct HoursFigure {
    float hours = 0;
    Money currency;
};
HoursFigure hoursFigure(const QString& hoursCell);
// An amount cell read back into a line's figures.
void setTotalPrice(LineFigures& figures, const QString& totalPrice);
void setCost(LineFigures& figures, const QString& ipCost);

// --- Formulas. Money is computed exactly from the hours, rates and mark-up factor as the
// singles they are, each taken at the decimal value it shows, and rounded once to the cent.
// Engineering, assembly and testing hours each at the rate of their own kind, "$0.00".
QString labourText(const LineFigures& line, const BizSettings& rates);
QString labourText(const ItemLine& line, const BizSettings& rates);
// Unit price times the whole quantity, "$0.00".
QString lineTotalPrice(const QString& unitPrice, const QString& qty);
// (total price + labour cost) times the mark-up factor, "$0.00".
QString lineCost(const LineFigures& line, const BizSettings& rates, float markup);
QString lineCost(const ItemLine& line, const BizSettings& rates, float markup);
// The labour rates and the mark-up factor as the line costs take them, read once for the
// costs of many lines.
struct CostFactors {
    CostFactors(const BizSettings& settings, float factor);
    std::array<float, 3> rates;            // engineering, assembly, testing
    std::array<ExactAmount, 3> exactRates; // in ten-thousandths
    float markup;
    ExactAmount exactMarkup;
};
QString lineCost(const LineFigures& line, const CostFactors& factors);
// The line's cost computed again: its "$0.00" text, with the figures' cost set as reading that
// text back would set it (without reading it back, for the many lines of a mark-up entry).
QString recost(LineFigures& line, const CostFactors& factors);

struct ItemTotals {
    QString partCount;   // lines, not quantities
    QString totalCosts;  // "$0.00"
    QString maxDelivery; // "0.00 Days"
    QString totalLabour; // "0.00 hours": hours, not money
};
ItemTotals itemTotals(std::span<const LineFigures> lines);
ItemTotals itemTotals(std::span<const ItemLine> lines);

// The mark-up factor the mark-up prompt takes, with or without "%": from 0 to 10000, as the
// settings window takes the business's mark-up.
inline constexpr double highestMarkup = 10000;
// The mark-up box's new text for an answer to the mark-up prompt. Nothing, and `refusal`
// empty, for an empty or cancelled answer, which changes nothing; nothing with `refusal` set
// for an answer that is no number or out of range.
std::optional<QString> markupEntry(const QString& answer, QString* refusal);

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

// Why the lines and the "Total Costs" box cannot be saved: an amount the tables' money type
// cannot hold, which would be stored as 0. Empty when they can.
QString saveRefusal(std::span<const ItemLine> lines, const QString& totalCosts);

} // namespace itemcosting
