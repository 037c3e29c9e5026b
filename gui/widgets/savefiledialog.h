#pragma once

#include <QString>

#include <optional>

class QWidget;

// Asks where to save a file: Qt's own file dialog (objectName "SaveFileDialog", the same on
// every desktop, and driven in tests like any other window), opened on `suggested`, adding
// `suffix` to a name typed without it. A file that exists is replaced only when the user says
// so. Empty when the user cancels.
namespace savefiledialog {

std::optional<QString> choose(QWidget* parent, const QString& caption, const QString& suggested,
                              const QString& filter, const QString& suffix);

} // namespace savefiledialog
