#pragma once

#include <QString>

class Business;
class QWidget;
struct BizRegistry;

// The File menu's backup entries and the automatic backups of the main window, each with its
// file dialog, progress window and messages.
namespace backupcommands {

// "Back Up Business...": the archive is chosen with a file dialog, suggested as
// "<name>-YYYY-MM-DD.praxo-backup" in the documents folder.
void backUp(QWidget* parent, const Business& business);

// "Restore Business...": makes a new business from a chosen archive, recorded in the registry
// as the open one. False when nothing was restored (cancelled or refused, the user told why).
bool restore(QWidget* parent, const QString& homeFolder, BizRegistry& registry);

// The automatic backup on Close Business and on Exit; a failure is told and goes no further.
void automatic(QWidget* parent, const QString& homeFolder, const Business& business);

} // namespace backupcommands
