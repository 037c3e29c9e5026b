#pragma once

#include "core/common/numberentry.h"

#include <QString>

#include <optional>

// The number fields of the business settings window: how they are read and the form they take.
// Fields 3 (mark-up factor) and 7 (sales tax) carry "%", fields 4 to 6 (labour rates) "/hr".

// A labour rate field ends in "/hr": "12.5" gives "12.5/hr", "$12.5hr" gives "$12.5/hr",
// "$12.5/r" and "$12.5/h" give "$12.5/hr"; an emptied field gives "/hr".
QString repairRateText(const QString& text);
// A percentage field ends in "%".
QString repairPercentText(const QString& text);

// What a number field takes, with or without its unit ("$" before a rate, "/hr" or "hr" after
// it, "%" after a percentage): a mark-up factor from 0 to 10000, rates from 0 to 1000000, a
// sales tax from 0 to 100 %.
numberentry::Wanted settingsWanted(int field);

// The form a number field takes when the user leaves it: its unit added to a number typed
// without it ("45" gives "45/hr", "8.25" gives "8.25%"). A unit already typed is never added
// again; a text that holds no number stays as typed.
QString settingsForm(int field, const QString& text);

// The message that refuses a settings field.
inline const QString settingsRefusal = QStringLiteral("Please fill out settings correctly");

// The number of field 3 to 7, read with or without its unit. Empty, with `refusal` set, when
// the field holds no number (settingsRefusal) or a number out of its range (a message naming
// what is wanted).
std::optional<float> settingsNumber(int field, const QString& text, QString* refusal);
