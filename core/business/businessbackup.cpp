#include "core/business/businessbackup.h"

#include "core/business/bizregistry.h"
#include "core/business/bizsettings.h"
#include "core/business/bizworkspace.h"
#include "core/business/businessfiles.h"
#include "core/business/codetable.h"
#include "core/business/damagedfiles.h"
#include "core/catalogue/partrules.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordfile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <memory>

#ifndef PRAXO_VERSION
#define PRAXO_VERSION "unknown"
#endif

namespace businessbackup {

namespace {

const char* const smallFiles[] = {BizSettings::fileName, CodeTable::classFileName,
                                  CodeTable::vendorFileName};

// A business name as part of a file name: no folder separators or other characters that some
// file systems refuse, no leading point that would hide the file.
QString safeFileName(const QString& name) {
    QString safe = name.trimmed();
    for (QChar& c : safe) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    while (safe.startsWith(QLatin1Char('.')))
        safe.remove(0, 1);
    return safe.isEmpty() ? QStringLiteral("business") : safe;
}

// A database connection of our own, closed when it goes out of scope.
struct Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close_v2(db); }
    QString error() const { return QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"); }
};

void openRaw(Connection& connection, const QString& path, int flags) {
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &connection.db,
                        flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
        throw BackupError(QStringLiteral("%1: %2").arg(path, connection.error()));
}

// A consistent copy of a database, through SQLite's online backup: from the connection the
// open business already has (or a new one), so that only committed rows are copied.
void copyDatabase(const QString& from, const QString& to) {
    std::shared_ptr<Database> source;
    try {
        source = Database::open(from);
    } catch (const DbError& error) {
        throw BackupError(QStringLiteral("The database %1 could not be read: %2")
                              .arg(error.file(), error.reason()));
    }
    // A write in progress on the program's own connection is not part of the business yet; a
    // connection of our own reads only what was committed.
    Connection separate;
    sqlite3* reader = source->handle();
    if (source->inTransaction()) {
        openRaw(separate, from, SQLITE_OPEN_READONLY);
        reader = separate.db;
    }
    Connection target;
    openRaw(target, to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3_backup* backup = sqlite3_backup_init(target.db, "main", reader, "main");
    if (!backup)
        throw BackupError(QStringLiteral("The database %1 could not be copied: %2")
                              .arg(from, target.error()));
    const int stepped = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE)
        throw BackupError(QStringLiteral("The database %1 could not be copied: %2")
                              .arg(from, QString::fromUtf8(sqlite3_errstr(stepped))));
}

QByteArray fileSum(const QString& path, qint64* size) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BackupError(QStringLiteral("%1 could not be read: %2").arg(path, file.errorString()));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    *size = file.size();
    return hash.result().toHex();
}

// The picture names the parts hold, as the copy of parts.fdb has them.
QStringList pictureNames(const QString& partsCopy) {
    Connection parts;
    openRaw(parts, partsCopy, SQLITE_OPEN_READONLY);
    const QByteArray column = quotedName(Parts::table.columns[Parts::picture_file].name);
    const QByteArray sql = "SELECT DISTINCT " + column + " FROM " + quotedName(Parts::table.name) +
                           " WHERE " + column + " IS NOT NULL";
    sqlite3_stmt* select = nullptr;
    if (sqlite3_prepare_v2(parts.db, sql.constData(), -1, &select, nullptr) != SQLITE_OK)
        throw BackupError(QStringLiteral("%1: %2").arg(partsCopy, parts.error()));
    QStringList names;
    while (sqlite3_step(select) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(select, 0));
        const QString name = QString::fromUtf8(text ? text : "").trimmed();
        if (!name.isEmpty() && name != QLatin1String("NULL"))
            names << name;
    }
    sqlite3_finalize(select);
    return names;
}

// The business's files made ready for an archive: the databases copied into a scratch folder,
// the small files and pictures read, every one summed.
struct Staged {
    std::unique_ptr<QTemporaryDir> scratch;
    BackupManifest manifest;
    std::vector<backuparchive::Source> sources;
};

Staged stage(const QString& folder, const QString& businessName, const BackupProgress& progress) {
    Staged staged;
    staged.scratch = std::make_unique<QTemporaryDir>();
    if (!staged.scratch->isValid())
        throw BackupError(QStringLiteral("No scratch folder could be made: %1")
                              .arg(staged.scratch->errorString()));
    const QDir business(folder);
    if (!business.exists())
        throw BackupError(QStringLiteral("The business folder %1 is missing.").arg(folder));
    staged.manifest.business = businessName.trimmed();
    staged.manifest.created = QDateTime::currentDateTimeUtc();
    staged.manifest.program = QStringLiteral(PRAXO_VERSION);
    QSet<QString> taken;
    const auto add = [&](const QString& name, const QString& path, const QByteArray& bytes) {
        BackupManifest::Entry entry{name, 0, {}};
        if (bytes.isNull()) {
            entry.sha256 = fileSum(path, &entry.size);
        } else {
            entry.size = bytes.size();
            entry.sha256 = backuparchive::sha256(bytes);
        }
        staged.manifest.files.push_back(entry);
        staged.sources.push_back({name, path, bytes});
        taken.insert(name.toLower());
    };

    const auto databases = businessfiles::databaseFiles();
    int copied = 0;
    for (const businessfiles::DatabaseFile& file : databases) {
        const QString name = QLatin1String(file.fileName);
        const QString copy = staged.scratch->filePath(name);
        copyDatabase(business.filePath(name), copy);
        add(name, copy, QByteArray());
        if (progress)
            progress(0.3 * ++copied / double(databases.size()));
    }
    for (const char* small : smallFiles) {
        const QString name = QLatin1String(small);
        const QString path = business.filePath(name);
        if (!QFileInfo(path).isFile())
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw BackupError(
                QStringLiteral("%1 could not be read: %2").arg(path, file.errorString()));
        QByteArray bytes = file.readAll();
        add(name, QString(), bytes.isNull() ? QByteArray("") : bytes);
    }
    const QString root = business.canonicalPath() + QLatin1Char('/');
    for (const QString& picture : pictureNames(staged.scratch->filePath(QStringLiteral("parts.fdb")))) {
        const QString found = partrules::findPictureFile(picture, business);
        const QFileInfo info(found);
        // Only pictures kept in the business folder belong to its backup.
        if (found.isEmpty() || !info.isFile() || !info.canonicalFilePath().startsWith(root))
            continue;
        const QString name = info.canonicalFilePath().mid(root.size());
        if (taken.contains(name.toLower()) || !backuparchive::isSafeName(name))
            continue;
        QFile file(info.canonicalFilePath());
        if (!file.open(QIODevice::ReadOnly))
            throw BackupError(QStringLiteral("The picture %1 could not be read: %2")
                                  .arg(info.filePath(), file.errorString()));
        QByteArray bytes = file.readAll();
        add(name, QString(), bytes.isNull() ? QByteArray("") : bytes);
    }
    return staged;
}

void writeStaged(const Staged& staged, const QString& archivePath,
                 const BackupProgress& progress) {
    BackupProgress tail;
    if (progress)
        tail = [&progress](double done) { progress(0.3 + 0.7 * done); };
    backuparchive::write(archivePath, staged.manifest, staged.sources, tail);
}

// The first line of SQLite's integrity check of a database file: "ok" for a sound one.
QString integrityOf(const QString& path) {
    Connection db;
    openRaw(db, path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* check = nullptr;
    if (sqlite3_prepare_v2(db.db, "PRAGMA integrity_check", -1, &check, nullptr) != SQLITE_OK)
        return db.error();
    QString result;
    const int rc = sqlite3_step(check);
    if (rc == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
        result = QString::fromUtf8(text ? text : "");
    } else {
        result = db.error();
    }
    sqlite3_finalize(check);
    return result;
}

} // namespace

QString suggestedFileName(const QString& businessName, const QDate& date) {
    return safeFileName(businessName) + QLatin1Char('-') + date.toString(Qt::ISODate) +
           QLatin1Char('.') + QLatin1String(backuparchive::suffix);
}

BackupManifest backUp(const QString& folder, const QString& businessName,
                      const QString& archivePath, const BackupProgress& progress) {
    const Staged staged = stage(folder, businessName, progress);
    writeStaged(staged, archivePath, progress);
    return staged.manifest;
}

QString automaticFolder(const QString& homeFolder, const QString& businessName) {
    return QDir(homeFolder).filePath(QStringLiteral("backups/") + safeFileName(businessName));
}

QStringList automaticBackups(const QString& backupFolder) {
    const QDir folder(backupFolder);
    const QStringList names = folder.entryList(
        {QStringLiteral("*.") + QLatin1String(backuparchive::suffix)}, QDir::Files, QDir::Name);
    QStringList paths;
    for (const QString& name : names)
        paths << folder.filePath(name);
    return paths;
}

QString backUpAutomatically(const QString& homeFolder, const QString& folder,
                            const QString& businessName, const BackupProgress& progress) {
    const QString target = automaticFolder(homeFolder, businessName);
    if (!QDir().mkpath(target))
        throw BackupError(QStringLiteral("The folder %1 could not be made.").arg(target));
    const Staged staged = stage(folder, businessName, progress);
    const QStringList earlier = automaticBackups(target);
    if (!earlier.isEmpty()) {
        try {
            if (backuparchive::Reader(earlier.last()).manifest().sameFiles(staged.manifest))
                return QString();
        } catch (const BackupError&) {
            // A newest backup that cannot be read is no reason to skip this one.
        }
    }
    // The time in the name orders the backups; a name already taken waits a millisecond.
    QDateTime stamp = QDateTime::currentDateTime();
    QString path;
    do {
        path = QDir(target).filePath(safeFileName(businessName) + QLatin1Char('-') +
                                     stamp.toString(QStringLiteral("yyyy-MM-dd-HHmmss-zzz")) +
                                     QLatin1Char('.') + QLatin1String(backuparchive::suffix));
        stamp = stamp.addMSecs(1);
    } while (QFileInfo::exists(path));
    writeStaged(staged, path, progress);

    QStringList kept = automaticBackups(target);
    while (kept.size() > keptAutomatic)
        QFile::remove(kept.takeFirst());
    return path;
}

QString restoredName(const BizRegistry& registry, const QString& name) {
    const QString stored = fixedfield::storable(name.trimmed());
    if (registry.slotNamed(stored) < 0)
        return stored.left(BizRegistry::nameWidth);
    for (int n = 1; n < 100; ++n) {
        const QString suffix = n == 1 ? QStringLiteral(" (restored)")
                                      : QStringLiteral(" (restored %1)").arg(n);
        const QString candidate =
            stored.left(BizRegistry::nameWidth - suffix.size()).trimmed() + suffix;
        if (registry.slotNamed(candidate) < 0)
            return candidate;
    }
    return stored.left(BizRegistry::nameWidth);
}

Restored restore(const QString& homeFolder, BizRegistry& registry, const QString& archivePath,
                 const BackupProgress& progress) {
    backuparchive::Reader reader(archivePath);
    const BackupManifest& manifest = reader.manifest();
    for (const businessfiles::DatabaseFile& file : businessfiles::databaseFiles()) {
        if (!manifest.find(QLatin1String(file.fileName)))
            throw BackupError(
                QStringLiteral("%1 is not a usable VARNEK PRAXO backup: it holds no %2.")
                    .arg(archivePath, QLatin1String(file.fileName)));
    }
    if (registry.lowestFreeSlot() < 0)
        throw BackupError(QStringLiteral(
            "All ten businesses are in use: delete one before restoring a backup."));

    // The files are checked in a folder of the home folder, which becomes the business's folder
    // by a rename once every check has passed; until then it is removed on any failure.
    QTemporaryDir staging(QDir(homeFolder).filePath(QStringLiteral(".restore-XXXXXX")));
    if (!staging.isValid())
        throw BackupError(QStringLiteral("No folder could be made in %1: %2")
                              .arg(homeFolder, staging.errorString()));
    BackupProgress unpacking;
    if (progress)
        unpacking = [&progress](double done) { progress(0.7 * done); };
    reader.extract(staging.path(), unpacking);

    int checked = 0;
    const auto databases = businessfiles::databaseFiles();
    for (const businessfiles::DatabaseFile& file : databases) {
        const QString name = QLatin1String(file.fileName);
        const QString result = integrityOf(staging.filePath(name));
        if (result != QLatin1String("ok"))
            throw BackupError(QStringLiteral("%1 is not a usable VARNEK PRAXO backup: its %2 "
                                             "fails the database's integrity check (%3).")
                                  .arg(archivePath, name, result));
        if (progress)
            progress(0.7 + 0.25 * ++checked / double(databases.size()));
    }
    const std::vector<damagedfiles::Problem> problems = damagedfiles::check(staging.path());
    if (!problems.empty())
        throw BackupError(QStringLiteral("%1 is not a usable VARNEK PRAXO backup: its %2 cannot "
                                         "be used (%3).")
                              .arg(archivePath, QFileInfo(problems.front().path).fileName(),
                                   problems.front().reason));

    const BizRegistry before = registry;
    Restored restored;
    const QString name = restoredName(registry, manifest.business);
    try {
        restored.slot = adoptBusinessFolder(homeFolder, registry, name, staging.path());
    } catch (const FileError& error) {
        throw BackupError(QStringLiteral("The business could not be restored: %1")
                              .arg(error.message()));
    }
    staging.setAutoRemove(false);
    const QString folder = businessFolder(homeFolder, registry, restored.slot);
    try {
        writeRegistry(homeFolder, registry);
    } catch (const FileError& error) {
        // Without the registry the folder would be a stray: nothing is left of the restore.
        QDir(folder).removeRecursively();
        registry = before;
        throw BackupError(registryErrorText(error.reason()));
    }
    restored.name = registry.biz_name[restored.slot];
    if (progress)
        progress(1.0);
    return restored;
}

} // namespace businessbackup
