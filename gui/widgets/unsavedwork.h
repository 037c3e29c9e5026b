#pragma once

#include <QString>

// The question an editor asks before it closes over changes that were not saved.
namespace unsavedwork {

inline const QString question = QStringLiteral("Discard your changes?");

// True when the window may close: nothing was changed, or the user answers Yes to
// "Discard your changes?". No closes nothing: the user goes back to the window.
bool mayClose(bool changed);

} // namespace unsavedwork
