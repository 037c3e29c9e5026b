#pragma once

#include "core/business/backuparchive.h"

#include <QDate>
#include <QString>

struct BizRegistry;

// Backups of a business and restores from them. A backup holds consistent copies of the three
// databases (taken with SQLite's online backup from the open connections, never a copy of the
// bytes of an open file), settings.dat, classprt.dat and vendor.dat when present, and the part
// pictures kept in the business folder.
namespace businessbackup {

// "<name>-YYYY-MM-DD.praxo-backup", with characters a file name cannot hold replaced.
QString suggestedFileName(const QString& businessName, const QDate& date);

// Writes a backup of the business in `folder` to the archive and returns its manifest. Throws
// BackupError; the archive is then not there (an older file of that name stays).
BackupManifest backUp(const QString& folder, const QString& businessName,
                      const QString& archivePath, const BackupProgress& progress = {});

// --- Automatic backups, written on Close Business and on Exit
inline constexpr int keptAutomatic = 10;
// backups/<name> under the home folder: each business's automatic backups.
QString automaticFolder(const QString& homeFolder, const QString& businessName);
// Writes an automatic backup unless nothing changed since the newest one, then keeps the
// newest ten. Returns the archive written, or an empty text when nothing changed. Throws
// BackupError.
QString backUpAutomatically(const QString& homeFolder, const QString& folder,
                            const QString& businessName, const BackupProgress& progress = {});
// The automatic backups of a folder, oldest first.
QStringList automaticBackups(const QString& backupFolder);

// --- Restore
struct Restored {
    int slot = -1;
    QString name; // as the registry now holds it
};
// Checks every sum of the archive's manifest and the integrity of each database, then makes a
// new business from it in the lowest free slot, as New Business does, named as the manifest
// says (with " (restored)" when a business of that name exists), and writes the registry with
// it as the open business. Throws BackupError naming what is wrong; nothing is made then.
Restored restore(const QString& homeFolder, BizRegistry& registry, const QString& archivePath,
                 const BackupProgress& progress = {});

// The name a restored business takes beside the registry's businesses (20 characters at most).
QString restoredName(const BizRegistry& registry, const QString& name);

} // namespace businessbackup
