#include "core/items/itemcosting.h"

#include "core/business/bizsettings.h"
#include "core/common/numfilter.h"
#include "core/common/textnum.h"

#include <vector>

namespace itemcosting {

namespace {
// A text the builder wrote itself always converts; anything else (a blank cell) reads 0.
float singleOf(const QString& text) {
    return toSingle(text).value_or(0.0f);
}
Money currencyOf(const QString& text) {
    return toMoney(text).value_or(Money());
}
// Currency from a single, as the totals add them.
Money currencyOf(float value) {
    return Money::fromDouble(double(value)).value_or(Money());
}
} // namespace

QString blankCell() {
    return QStringLiteral("  ");
}

Money amountOf(const QString& text) {
    return currencyOf(text.mid(1, 60));
}

float amountSingle(const QString& text) {
    return singleOf(text.mid(1, 60));
}

float hoursOf(const QString& text) {
    return singleOf(text.left(text.size() - 2));
}

qint64 qtyOf(const QString& text) {
    return qint64(wholePart(leadingValue(text)));
}

float deliveryOf(const QString& text) {
    return singleOf(text);
}

float markupOf(const QString& text) {
    return singleOf(text.left(text.size() - 1));
}

float totalLabourOf(const QString& text) {
    return singleOf(text.left(text.size() - 5));
}

Money maxDeliveryOf(const QString& text) {
    return currencyOf(text.left(text.size() - 4));
}

qint64 itemClassOf(const QString& text) {
    return wholeNumberOf(text.left(4));
}

qint64 wholeNumberOf(const QString& text) {
    return qint64(wholePart(leadingValue(text)));
}

QString moneyText(double value) {
    return format(value, QStringLiteral("$0.00"));
}

QString hoursText(float hours) {
    return format(hours, QStringLiteral("0.00 Hr"));
}

QString qtyText(double qty) {
    return format(qty, QStringLiteral("00"));
}

QString markupText(float factor) {
    // The pattern multiplies by 100 again, so the box shows the factor itself.
    return format(factor / 100.0f, QStringLiteral("0.0000%"));
}

QString codeText(qint64 number, bool isPart) {
    return format(number, QStringLiteral("0000")) + QLatin1String(isPart ? "  P" : "  I");
}

LineFigures figuresOf(const ItemLine& line) {
    LineFigures figures;
    figures.totalPrice = amountSingle(line[ItemCell::total_price]);
    const HoursFigure assembly = hoursFigure(line[ItemCell::asm_hours]);
    const HoursFigure engineering = hoursFigure(line[ItemCell::eng_hours]);
    const HoursFigure testing = hoursFigure(line[ItemCell::test_hours]);
    figures.asmHours = assembly.hours;
    figures.engHours = engineering.hours;
    figures.testHours = testing.hours;
    figures.hours = assembly.currency + engineering.currency + testing.currency;
    figures.delivery = deliveryOf(line[ItemCell::delivery_days]);
    figures.cost = costFigure(line[ItemCell::ip_cost]);
    return figures;
}

HoursFigure hoursFigure(const QString& hoursCell) {
    HoursFigure figure;
    figure.hours = hoursOf(hoursCell);
    figure.currency = currencyOf(figure.hours);
    return figure;
}

Money costFigure(const QString& ipCost) {
    return currencyOf(amountSingle(ipCost));
}

float labourCost(const LineFigures& line, const BizSettings& rates) {
    float cost = line.engHours * rates.eng_rate;
    cost += line.asmHours * rates.asm_rate;
    cost += line.testHours * rates.test_rate;
    return cost;
}

float labourCost(const ItemLine& line, const BizSettings& rates) {
    return labourCost(figuresOf(line), rates);
}

QString lineTotalPrice(const QString& unitPrice, const QString& qty) {
    return moneyText(amountOf(unitPrice).toDouble() * double(qtyOf(qty)));
}

QString lineCost(const LineFigures& line, const BizSettings& rates, float markup) {
    const float price = line.totalPrice + labourCost(line, rates);
    return format(price * markup, QStringLiteral("$0.00"));
}

QString lineCost(const ItemLine& line, const BizSettings& rates, float markup) {
    return lineCost(figuresOf(line), rates, markup);
}

ItemTotals itemTotals(std::span<const LineFigures> lines) {
    Money costs;
    float delivery = 0;
    Money hours;
    for (const LineFigures& line : lines) {
        costs += line.cost;
        if (line.delivery > delivery)
            delivery = line.delivery;
        hours += line.hours;
    }
    ItemTotals totals;
    totals.partCount = QString::number(lines.size());
    totals.totalCosts = format(costs, QStringLiteral("$0.00"));
    totals.maxDelivery = format(delivery, QStringLiteral("0.00 Days"));
    totals.totalLabour = format(hours, QStringLiteral("0.00 hours"));
    return totals;
}

ItemTotals itemTotals(std::span<const ItemLine> lines) {
    std::vector<LineFigures> figures;
    figures.reserve(lines.size());
    for (const ItemLine& line : lines)
        figures.push_back(figuresOf(line));
    return itemTotals(figures);
}

std::optional<QString> markupEntry(const QString& answer) {
    const QString filtered = numfilter(answer);
    if (filtered.isEmpty())
        return std::nullopt;
    const std::optional<float> factor = toSingle(filtered);
    // A factor from a billion on is a slip of the keyboard; the costs it gives could not be
    // stored as amounts.
    if (!factor || *factor >= 1e9f)
        return std::nullopt;
    return markupText(*factor);
}

QString labourTip(Labour kind, const QString& hoursBox, const BizSettings& rates) {
    const char* name = "assembly";
    float rate = rates.asm_rate;
    if (kind == Labour::Engineering) {
        name = "engineering";
        rate = rates.eng_rate;
    } else if (kind == Labour::Testing) {
        name = "testing";
        rate = rates.test_rate;
    }
    return QStringLiteral("Cost of %1 = ").arg(QLatin1String(name)) + hoursBox +
           QLatin1String(" * ") + format(rate, QStringLiteral("$0.00")) + QLatin1String(" = ") +
           format(hoursOf(hoursBox) * rate, QStringLiteral("$0.00"));
}

QString costTip(const ItemLine& line, const BizSettings& rates, const QString& markupBox) {
    return QLatin1String("total cost ((qty * cost) + labour) = ") + line[ItemCell::total_price] +
           QLatin1String(" + (labours = ") +
           format(labourCost(line, rates), QStringLiteral("$0.00")) + QLatin1String(") * ") +
           markupBox + QLatin1String(" = ") + line[ItemCell::ip_cost];
}

SavedLine savedLine(const ItemLine& line) {
    return savedLine(line, figuresOf(line));
}

SavedLine savedLine(const ItemLine& line, const LineFigures& figures) {
    const QString& code = line[ItemCell::ip_code];
    SavedLine saved;
    saved.part_flag = code.endsWith(QLatin1Char('P'));
    saved.ip_no = wholeNumberOf(code.left(4));
    saved.qty = qtyOf(line[ItemCell::qty]);
    saved.unit_price = amountOf(line[ItemCell::unit_price]);
    saved.total_price = amountOf(line[ItemCell::total_price]);
    saved.asm_hours = figures.asmHours;
    saved.eng_hours = figures.engHours;
    saved.test_hours = figures.testHours;
    saved.ip_cost = amountOf(line[ItemCell::ip_cost]);
    saved.delivery_days = figures.delivery;
    return saved;
}

SavedItem savedItem(const ItemBoxes& boxes) {
    SavedItem saved;
    saved.total_costs = amountOf(boxes.totalCosts);
    saved.total_labour = totalLabourOf(boxes.totalLabour);
    saved.markup = markupOf(boxes.markup);
    saved.confirmed = boxes.confirmed;
    saved.max_delivery = maxDeliveryOf(boxes.maxDelivery);
    saved.item_class = itemClassOf(boxes.itemClass);
    return saved;
}

} // namespace itemcosting
