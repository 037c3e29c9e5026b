#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A number the user typed into a field or an input box, judged before it changes anything: it
// is read as the number it shows, with or without its unit, or refused with a message that
// names what is wanted. Bad entry never becomes 0.
namespace numberentry {

struct Wanted {
    QString what;          // what the number is, for the message: "the quantity"
    double low = 0;        // the range the number may take, both ends included
    double high = 0;
    bool whole = false;    // only whole numbers
    QString prefix;        // a unit the user may type before the number: "$"
    QStringList suffixes;  // units the user may type after it: "%", "/hr", "days"
};

// The text without the blanks around it and without its units (the prefix, then one of the
// suffixes, whatever their case); what remains is the number text.
QString withoutUnits(const QString& text, const Wanted& wanted);

// The number of the text, or nothing with `refusal` set to refusalText() when the text, without
// its units, is empty, no number, not whole where a whole number is wanted, or out of range.
// Callers that give an empty answer a meaning of its own test for it first.
std::optional<double> read(const QString& text, const Wanted& wanted, QString* refusal = nullptr);

// "Please enter the quantity as a whole number from 1 to 999999999." or "Please enter the
// mark-up rate as a number from 0 to 10000."
QString refusalText(const Wanted& wanted);

} // namespace numberentry
