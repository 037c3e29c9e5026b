#pragma once

#include <QString>

class QMainWindow;

// Where and how large the main window was left, kept per home folder in an INI file there, so
// that each home folder's program comes back as its user left it.
namespace windowplace {

// The INI file of a home folder.
QString filePath(const QString& homeFolder);

// Shows the window as it was left in this home folder; maximized on the first start there.
void show(QMainWindow& window, const QString& homeFolder);

// Keeps the window's place, size and state for the next start. A home folder that cannot be
// written keeps the old place; that never stops the program.
void save(const QMainWindow& window, const QString& homeFolder);

} // namespace windowplace
