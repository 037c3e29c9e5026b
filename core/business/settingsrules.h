#pragma once

#include <QString>

#include <optional>

// The input rules and readings of the business settings window.

// A labour rate field always ends in "/hr": "12.5" gives "12.5/hr", "$12.5hr" gives "$12.5/hr",
// "$12.5/r" and "$12.5/h" give "$12.5/hr"; an emptied field gives "/hr".
QString repairRateText(const QString& text);
// A percentage field always ends in "%".
QString repairPercentText(const QString& text);

// The number of a rate field: a leading "$" and the final "/hr" dropped, through the numeric
// filter. Empty when what is left is no number, a billion or more, or a number so small that it
// would be shown in exponent form (then the save is refused).
std::optional<float> rateValue(const QString& text);
// The number of a percentage field: the final "%" dropped, through the numeric filter; empty
// as for a rate field.
std::optional<float> percentValue(const QString& text);
