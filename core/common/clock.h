#pragma once

#include <QDate>

#include <optional>

// Today's date for the whole program. Tests fix it to a date of their choosing.
namespace appclock {
QDate today();
// A fixed date to return from today(), or nullopt for the system's date.
void setToday(std::optional<QDate> date);
} // namespace appclock
