#pragma once

#include "core/common/money.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>

// Conversions between the texts the windows show and the numbers and dates they stand for.
// Amounts, quantities and hours live on screen as text and are read back from that text, so
// every window uses these and nothing else.

// True when the text, blanks around it allowed, is one number: an optional sign, digits with
// at most one decimal point (at least one digit), and an optional exponent. "" is no number.
bool isNumber(const QString& text);

// The value of the number at the start of the text; blanks are skipped, reading stops at the
// first character that cannot continue the number; 0 when there is none ("12ab" gives 12).
double leadingValue(const QString& text);

// Strict conversions of a whole text; empty when the text is no number or does not fit.
std::optional<double> toDouble(const QString& text);
std::optional<float> toSingle(const QString& text);
std::optional<Money> toMoney(const QString& text);
std::optional<qint16> toInt16(const QString& text);

// The nearest 16-bit integer, a half going to the even neighbour (2.5 gives 2, 3.5 gives 4);
// empty when out of range.
std::optional<qint16> toInt16(double value);

// The whole-number part: the largest whole number not above the value (-1.5 gives -2).
double wholePart(double value);

// A date from the forms the program writes: "mm/dd/yyyy", "mmm dd, yyyy" (any case of the
// month), and "yyyy-mm-dd". Blanks around are allowed.
std::optional<QDate> toDate(const QString& text);

// The base date, 30 December 1899: the date value 0.
QDate baseDate();

// The number in its shortest decimal form with a leading blank when it is not negative:
// 1.5 gives " 1.5", -2 gives "-2". A single is written in the shortest form that reads back
// as the same single (0.1f gives " 0.1").
QString numberText(double value);
QString numberText(float value);

// The shortest decimal form without the leading blank (2.5 gives "2.5", 3 gives "3").
QString plainText(double value);
QString plainText(float value);

// Number patterns: "0" is a digit always written, "." starts the decimals, "%" multiplies by
// 100 and is written, every other character is written as it stands. The value is rounded at
// its last written digit, halves away from zero, from its shortest decimal text.
QString format(double value, const QString& pattern);
QString format(float value, const QString& pattern);
QString format(Money value, const QString& pattern);
QString format(qint64 value, const QString& pattern);
QString format(int value, const QString& pattern);
// An amount as the windows show it: format with "$0.00".
QString amountText(Money amount);
// A count of cents as format writes it with "$0.00" ("-$1.05"), for the thousands of line
// costs a mark-up entry writes at once.
QString centsMoneyText(qint64 cents);

// Date patterns "mm/dd/yyyy", "mmm dd, yyyy", "MMM DD, YYYY", "dd/mm/yyyy" (and the same with
// other literal characters, such as trailing blanks), with English month abbreviations.
QString formatDate(const QDate& date, const QString& pattern);
