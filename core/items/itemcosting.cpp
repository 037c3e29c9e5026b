#include "core/items/itemcosting.h"

#include "core/business/bizsettings.h"
#include "core/common/decimaltext.h"
#include "core/common/numberentry.h"
#include "core/common/textnum.h"

#include <limits>
#include <utility>
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

// Amounts and factors in ten-thousandths, as the tables keep money, so that a line's products
// and sums have the scales (and so the range) they always had. A single is read as Money reads
// it (a half to the even neighbour); past Money it is a whole number.
ExactAmount tenThousandthsOf(float value) {
    if (value == 0) // most lines leave most kinds of hours at nought
        return ExactAmount(Money());
    if (const std::optional<Money> money = decimal::moneyOf(decimal::shortOf(value)))
        return ExactAmount(*money);
    return ExactAmount::ofSingle(value, 4).widened(4);
}

// "$12.50", exactly, however large.
ExactAmount exactAmountOf(const QString& text) {
    const QString amount = text.mid(1, 60);
    if (const std::optional<Money> money = toMoney(amount))
        return ExactAmount(*money);
    const std::optional<decimal::Decimal> d = decimal::parseStrict(amount);
    return d ? ExactAmount::of(*d, 4).widened(4) : ExactAmount::invalid();
}

// Each kind of hours at the rate of its own kind.
ExactAmount labourOf(const LineFigures& line, const CostFactors& factors) {
    return tenThousandthsOf(line.engHours) * factors.exactRates[0] +
           tenThousandthsOf(line.asmHours) * factors.exactRates[1] +
           tenThousandthsOf(line.testHours) * factors.exactRates[2];
}

double labourValue(const LineFigures& line, const CostFactors& factors) {
    return double(line.engHours) * double(factors.rates[0]) +
           double(line.asmHours) * double(factors.rates[1]) +
           double(line.testHours) * double(factors.rates[2]);
}

numberentry::Wanted markupWanted() {
    return {QStringLiteral("the mark-up rate"), 0, highestMarkup, false, {}, {QStringLiteral("%")}};
}

// To the cent, halves away from zero, "$0.00".
QString centsText(const ExactAmount& amount) {
    const ExactAmount cents = amount.rounded(2).widened(2);
    if (cents.isValid() && cents.count() >= std::numeric_limits<qint64>::min() &&
        cents.count() <= std::numeric_limits<qint64>::max())
        return centsMoneyText(qint64(cents.count()));
    return cents.text(QStringLiteral("$0.00"));
}
} // namespace

QString blankCell() {
    return QStringLiteral("  ");
}

Money amountOf(const QString& text) {
    return currencyOf(text.mid(1, 60));
}

std::optional<WideAmount> wideAmountOf(const QString& text) {
    const ExactAmount amount = exactAmountOf(text);
    return amount.isValid() ? std::optional(amount.count()) : std::nullopt;
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

// Plain digits, which nearly every code holds, are read here: an item opening with 3,000 lines
// asks for each of them.
qint64 codeNumber(const QString& code) {
    if (code.size() >= 4) {
        qint64 number = 0;
        int i = 0;
        for (; i < 4 && code[i] >= u'0' && code[i] <= u'9'; ++i)
            number = number * 10 + (code[i].unicode() - u'0');
        if (i == 4)
            return number;
    }
    return wholeNumberOf(code.left(4));
}

qint64 codeNumberOf(qint64 storedNumber) {
    if (storedNumber >= 0 && storedNumber <= 9999)
        return storedNumber;
    return codeNumber(format(storedNumber, QStringLiteral("0000")));
}

bool isPartCode(const QString& code) {
    return code.endsWith(QLatin1Char('P'));
}

QString moneyText(double value) {
    return format(value, QStringLiteral("$0.00"));
}

QString moneyText(WideAmount amount) {
    return centsText(ExactAmount(amount, 4));
}

QString hoursText(float hours) {
    return format(hours, QStringLiteral("0.00 Hr"));
}

QString qtyText(double qty) {
    return format(qty, QStringLiteral("00"));
}

QString markupText(float factor) {
    // The box shows the factor itself: 1.5 multiplies by 1.5, not by 1.015.
    return format(factor, QStringLiteral("0.0000")) + QLatin1Char('%');
}

QString codeText(qint64 number, bool isPart) {
    return format(number, QStringLiteral("0000")) + QLatin1String(isPart ? "  P" : "  I");
}

LineFigures figuresOf(const ItemLine& line) {
    LineFigures figures;
    setTotalPrice(figures, line[ItemCell::total_price]);
    const HoursFigure assembly = hoursFigure(line[ItemCell::asm_hours]);
    const HoursFigure engineering = hoursFigure(line[ItemCell::eng_hours]);
    const HoursFigure testing = hoursFigure(line[ItemCell::test_hours]);
    figures.asmHours = assembly.hours;
    figures.engHours = engineering.hours;
    figures.testHours = testing.hours;
    figures.hours = assembly.currency + engineering.currency + testing.currency;
    figures.delivery = deliveryOf(line[ItemCell::delivery_days]);
    setCost(figures, line[ItemCell::ip_cost]);
    return figures;
}

HoursFigure hoursFigure(const QString& hoursCell) {
    HoursFigure figure;
    figure.hours = hoursOf(hoursCell);
    figure.currency = currencyOf(figure.hours);
    return figure;
}

void setTotalPrice(LineFigures& figures, const QString& totalPrice) {
    figures.totalPrice = exactAmountOf(totalPrice);
    figures.totalPriceValue = figures.totalPrice.isValid()
                                  ? figures.totalPrice.value()
                                  : toDouble(totalPrice.mid(1, 60)).value_or(0);
}

void setCost(LineFigures& figures, const QString& ipCost) {
    figures.cost = exactAmountOf(ipCost);
    figures.costValue =
        figures.cost.isValid() ? figures.cost.value() : toDouble(ipCost.mid(1, 60)).value_or(0);
}

QString labourText(const LineFigures& line, const BizSettings& rates) {
    const CostFactors factors(rates, 0);
    const ExactAmount labour = labourOf(line, factors);
    return labour.isValid() ? centsText(labour) : moneyText(labourValue(line, factors));
}

QString labourText(const ItemLine& line, const BizSettings& rates) {
    return labourText(figuresOf(line), rates);
}

QString lineTotalPrice(const QString& unitPrice, const QString& qty) {
    const qint64 count = qtyOf(qty);
    const ExactAmount total = exactAmountOf(unitPrice) * ExactAmount::whole(count);
    if (total.belowLimit())
        return centsText(total);
    return moneyText(toDouble(unitPrice.mid(1, 60)).value_or(0) * double(count));
}

CostFactors::CostFactors(const BizSettings& settings, float factor)
    : rates{settings.eng_rate, settings.asm_rate, settings.test_rate}, markup(factor),
      exactMarkup(tenThousandthsOf(factor)) {
    for (std::size_t kind = 0; kind < 3; ++kind)
        exactRates[kind] = tenThousandthsOf(rates[kind]);
}

namespace {

ExactAmount exactLineCost(const LineFigures& line, const CostFactors& factors) {
    return ((line.totalPrice + labourOf(line, factors)) * factors.exactMarkup).rounded(2);
}

// A cost past what 128 bits hold, only to be shown.
QString roughLineCost(const LineFigures& line, const CostFactors& factors) {
    return moneyText((line.totalPriceValue + labourValue(line, factors)) * double(factors.markup));
}

} // namespace

QString lineCost(const LineFigures& line, const CostFactors& factors) {
    const ExactAmount cost = exactLineCost(line, factors);
    return cost.belowLimit() ? centsText(cost) : roughLineCost(line, factors);
}

QString recost(LineFigures& line, const CostFactors& factors) {
    const ExactAmount cost = exactLineCost(line, factors);
    if (!cost.belowLimit()) {
        QString text = roughLineCost(line, factors);
        setCost(line, text);
        return text;
    }
    line.cost = cost;
    line.costValue = cost.value();
    return centsText(cost);
}

QString lineCost(const LineFigures& line, const BizSettings& rates, float markup) {
    return lineCost(line, CostFactors(rates, markup));
}

QString lineCost(const ItemLine& line, const BizSettings& rates, float markup) {
    return lineCost(figuresOf(line), rates, markup);
}

ItemTotals itemTotals(std::span<const LineFigures> lines) {
    ExactAmount costs;
    double costsValue = 0;
    float delivery = 0;
    Money hours;
    for (const LineFigures& line : lines) {
        costs = costs + line.cost;
        costsValue += line.costValue;
        if (line.delivery > delivery)
            delivery = line.delivery;
        hours += line.hours;
    }
    ItemTotals totals;
    totals.partCount = QString::number(lines.size());
    totals.totalCosts = costs.isValid() ? centsText(costs) : moneyText(costsValue);
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

std::optional<QString> markupEntry(const QString& answer, QString* refusal) {
    if (refusal)
        refusal->clear();
    if (answer.trimmed().isEmpty())
        return std::nullopt;
    const std::optional<double> factor = numberentry::read(answer, markupWanted(), refusal);
    if (!factor)
        return std::nullopt;
    return markupText(float(*factor));
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
    const float hours = hoursOf(hoursBox);
    const ExactAmount cost = tenThousandthsOf(hours) * tenThousandthsOf(rate);
    return QStringLiteral("Cost of %1 = ").arg(QLatin1String(name)) + hoursBox +
           QLatin1String(" * ") + format(rate, QStringLiteral("$0.00")) + QLatin1String(" = ") +
           (cost.isValid() ? centsText(cost) : moneyText(double(hours) * double(rate)));
}

QString costTip(const ItemLine& line, const BizSettings& rates, const QString& markupBox) {
    return QLatin1String("total cost ((qty * cost) + labour) = ") + line[ItemCell::total_price] +
           QLatin1String(" + (labours = ") + labourText(line, rates) + QLatin1String(") * ") +
           markupBox + QLatin1String(" = ") + line[ItemCell::ip_cost];
}

SavedLine savedLine(const ItemLine& line) {
    return savedLine(line, figuresOf(line));
}

SavedLine savedLine(const ItemLine& line, const LineFigures& figures) {
    const QString& code = line[ItemCell::ip_code];
    SavedLine saved;
    saved.part_flag = isPartCode(code);
    saved.ip_no = codeNumber(code);
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

QString saveRefusal(std::span<const ItemLine> lines, const QString& totalCosts) {
    const auto storable = [](const QString& amount) {
        return toMoney(amount.mid(1, 60)).has_value();
    };
    if (!storable(totalCosts))
        return QStringLiteral("The total costs are too large to be saved.");
    for (std::size_t k = 0; k < lines.size(); ++k) {
        for (int cell : {ItemCell::unit_price, ItemCell::total_price, ItemCell::ip_cost}) {
            if (!storable(lines[k][std::size_t(cell)]))
                return QStringLiteral("The costs of line %1 are too large to be saved.").arg(k + 1);
        }
    }
    return QString();
}

} // namespace itemcosting
