#include "core/common/value.h"

#include "core/common/textnum.h"

#include <cmath>
#include <limits>

namespace {

template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

qint64 roundedToInt64(double v) {
    if (std::isnan(v))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it saturates.
    constexpr double limit = 9223372036854775808.0;
    if (v >= limit)
        return std::numeric_limits<qint64>::max();
    if (v < -limit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(std::nearbyint(v)); // default rounding: half to even
}

double dayNumber(const QDate& date) {
    return double(baseDate().daysTo(date));
}

double textNumber(const QString& text) {
    return ::toDouble(text).value_or(0.0);
}

// The exact amount without trailing zeros: 12.5, not 12.5000.
QString moneyText(Money v) {
    QString text = v.decimalText();
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

Value::Value(const QDate& v) {
    if (v.isValid())
        data_ = v;
}

bool Value::toBool() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return false; },
                          [](bool v) { return v; },
                          [](qint64 v) { return v != 0; },
                          [](float v) { return v != 0.0f; },
                          [](double v) { return v != 0.0; },
                          [](Money v) { return v.raw() != 0; },
                          [](const QDate& v) { return dayNumber(v) != 0.0; },
                          [](const QString& v) {
                              const QString t = v.trimmed();
                              if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                                  t.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
                                  return true;
                              return textNumber(t) != 0.0;
                          },
                      },
                      data_);
}

qint64 Value::toInt64() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return qint64(0); },
                          [](bool v) { return qint64(v ? 1 : 0); },
                          [](qint64 v) { return v; },
                          [](float v) { return roundedToInt64(double(v)); },
                          [](double v) { return roundedToInt64(v); },
                          [](Money v) {
                              // Exact: whole units, then the remainder decides the rounding.
                              qint64 units = v.raw() / 10000;
                              const qint64 rest = v.raw() % 10000;
                              const qint64 twice = 2 * (rest < 0 ? -rest : rest);
                              const qint64 step = rest < 0 ? -1 : 1;
                              if (twice > 10000 || (twice == 10000 && units % 2 != 0))
                                  units += step;
                              return units;
                          },
                          [](const QDate& v) { return qint64(baseDate().daysTo(v)); },
                          [](const QString& v) { return roundedToInt64(textNumber(v)); },
                      },
                      data_);
}

double Value::toDouble() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return 0.0; },
                          [](bool v) { return v ? 1.0 : 0.0; },
                          [](qint64 v) { return double(v); },
                          [](float v) { return double(v); },
                          [](double v) { return v; },
                          [](Money v) { return v.toDouble(); },
                          [](const QDate& v) { return dayNumber(v); },
                          [](const QString& v) { return textNumber(v); },
                      },
                      data_);
}

float Value::toFloat() const {
    if (const auto* text = std::get_if<QString>(&data_))
        return toSingle(*text).value_or(0.0f);
    if (const auto* single = std::get_if<float>(&data_))
        return *single;
    return float(toDouble());
}

Money Value::toMoney() const {
    return std::visit(
        Overloaded{
            [](std::monostate) { return Money(); },
            [](bool v) { return Money::fromRaw(v ? 10000 : 0); },
            [](qint64 v) { return Money::fromDouble(double(v)).value_or(Money()); },
            [](float v) { return Money::fromDouble(double(v)).value_or(Money()); },
            [](double v) { return Money::fromDouble(v).value_or(Money()); },
            [](Money v) { return v; },
            [](const QDate& v) { return Money::fromRaw(qint64(baseDate().daysTo(v)) * 10000); },
            [](const QString& v) { return ::toMoney(v).value_or(Money()); },
        },
        data_);
}

QDate Value::toDate() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return QDate(); },
                          [](const QDate& v) { return v; },
                          [](const QString& v) { return ::toDate(v).value_or(QDate()); },
                          [this](const auto&) {
                              const double days = std::floor(toDouble());
                              // QDate covers far more than this; beyond it there is no date.
                              if (std::abs(days) > 1e8)
                                  return QDate();
                              return baseDate().addDays(qint64(days));
                          },
                      },
                      data_);
}

QString Value::toText() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return QString(); },
                          [](bool v) { return QString::fromLatin1(v ? "True" : "False"); },
                          [](qint64 v) { return QString::number(v); },
                          [](float v) { return plainText(v); },
                          [](double v) { return plainText(v); },
                          [](Money v) { return moneyText(v); },
                          [](const QDate& v) { return v.toString(Qt::ISODate); },
                          [](const QString& v) { return v; },
                      },
                      data_);
}
