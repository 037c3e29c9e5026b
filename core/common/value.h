#pragma once

#include "core/common/money.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <variant>

// The value of one field of a row: empty (null), yes/no, whole number, single, double, money,
// date or text. The accessors convert leniently between the kinds, so a reader may ask for the
// kind it needs; a value that cannot be converted reads as 0, false, an invalid date or "".
class Value {
public:
    enum class Kind { Null, YesNo, Whole, Single, Double, Money, Date, Text };

    Value() = default;
    Value(bool v) : data_(v) {}
    Value(int v) : data_(qint64(v)) {}
    Value(qint64 v) : data_(v) {}
    Value(float v) : data_(v) {}
    Value(double v) : data_(v) {}
    Value(Money v) : data_(v) {}
    // An invalid date gives a null value: an empty date field.
    Value(const QDate& v);
    Value(const QString& v) : data_(v) {}
    Value(const char* v) : data_(QString::fromUtf8(v)) {}

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isNull() const { return kind() == Kind::Null; }

    // true is 1, false is 0; a text is true when it reads "true" or "yes" or is a number other
    // than 0; a date stands for its day count from the base date (the date value 0).
    bool toBool() const;
    // Fractions round to the nearest whole number, a half going to the even neighbour.
    qint64 toInt64() const;
    float toFloat() const;
    double toDouble() const;
    Money toMoney() const;
    // A number is a day count from the base date, its fraction dropped.
    QDate toDate() const;
    // Numbers in their shortest decimal form, dates as yyyy-MM-dd, yes/no as "True"/"False".
    QString toText() const;

    // Same kind and same value (no conversion: the whole number 1 differs from the double 1).
    bool operator==(const Value& other) const = default;

private:
    using Data = std::variant<std::monostate, bool, qint64, float, double, Money, QDate, QString>;
    Data data_;
};
