#include "core/business/bizworkspace.h"

#include "core/business/businessfiles.h"
#include "core/common/recordfile.h"

#include <QDir>
#include <QFile>

namespace {
// A name for an old folder that is kept aside: "3.deleted-1", "3.deleted-2", ...
QString asideName(const QDir& home, const QString& folder) {
    for (int k = 1;; ++k) {
        const QString name = QStringLiteral("%1.deleted-%2").arg(folder).arg(k);
        if (!home.exists(name))
            return name;
    }
}
} // namespace

QString registryPath(const QString& homeFolder) {
    return QDir(homeFolder).filePath(QLatin1String(BizRegistry::fileName));
}

QString businessFolder(const QString& homeFolder, const BizRegistry& registry, int slot) {
    return QDir(homeFolder).filePath(registry.areaFolderName(slot));
}

QString readRegistryAtStartup(const QString& homeFolder, BizRegistry& registry) {
    const QString path = registryPath(homeFolder);
    const RecordRead read = readRecord(path, BizRegistry::fileSize);
    if (read.status == RecordStatus::Missing)
        return QString();
    if (read.status == RecordStatus::Ok) {
        if (auto stored = BizRegistry::decode(read.bytes)) {
            registry = *stored;
            return QString();
        }
    }
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    QFile::rename(path, aside);
    return QStringLiteral("The business registry %1 is damaged (%2 bytes instead of %3). It was "
                          "kept as %4, and the program starts with no businesses.")
        .arg(path)
        .arg(read.actualSize)
        .arg(BizRegistry::fileSize)
        .arg(aside);
}

void writeRegistry(const QString& homeFolder, const BizRegistry& registry) {
    writeRecordAtomically(registryPath(homeFolder), registry.encode());
}

int createBusiness(const QString& homeFolder, BizRegistry& registry, const QString& name) {
    const int slot = registry.lowestFreeSlot();
    if (slot < 0)
        throw FileError(registryPath(homeFolder), QStringLiteral("all ten businesses are in use"));

    const QDir home(homeFolder);
    const QString folder = BizRegistry::areaNameFor(slot).trimmed();
    if (home.exists(folder)) {
        // A deleted business left its folder behind: keep its data, never mix it in.
        const QString aside = asideName(home, folder);
        if (!QDir(homeFolder).rename(folder, aside))
            throw FileError(home.filePath(folder),
                            QStringLiteral("the old folder could not be moved aside"));
    }
    if (!home.mkdir(folder))
        throw FileError(home.filePath(folder), QStringLiteral("the folder could not be created"));
    try {
        businessfiles::createBusinessDatabases(homeFolder, home.filePath(folder));
    } catch (...) {
        QDir(home.filePath(folder)).removeRecursively();
        throw;
    }

    registry.occupy(slot, name);
    registry.biz_count = qint16(registry.biz_count + 1);
    registry.cur_biz = qint16(slot);
    registry.biz_state = 1;
    return slot;
}

int adoptBusinessFolder(const QString& homeFolder, BizRegistry& registry, const QString& name,
                        const QString& preparedFolder) {
    const int slot = registry.lowestFreeSlot();
    if (slot < 0)
        throw FileError(registryPath(homeFolder), QStringLiteral("all ten businesses are in use"));
    QDir home(homeFolder);
    const QString folder = BizRegistry::areaNameFor(slot).trimmed();
    if (home.exists(folder)) {
        const QString aside = asideName(home, folder);
        if (!home.rename(folder, aside))
            throw FileError(home.filePath(folder),
                            QStringLiteral("the old folder could not be moved aside"));
    }
    if (!home.rename(preparedFolder, folder))
        throw FileError(home.filePath(folder), QStringLiteral("the folder could not be created"));

    registry.occupy(slot, name);
    registry.biz_count = qint16(registry.biz_count + 1);
    registry.cur_biz = qint16(slot);
    registry.biz_state = 1;
    return slot;
}

QString registryErrorText(const QString& reason) {
    return QStringLiteral("The business registry could not be saved: %1").arg(reason);
}
