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

QString readRegistryAtStartup(AppState& state) {
    const QString path = state.registryPath();
    const RecordRead read = readRecord(path, BizRegistry::fileSize);
    if (read.status == RecordStatus::Missing)
        return QString();
    if (read.status == RecordStatus::Ok) {
        if (auto registry = BizRegistry::decode(read.bytes)) {
            state.biz_registry = *registry;
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

void writeRegistry(const AppState& state) {
    writeRecordAtomically(state.registryPath(), state.biz_registry.encode());
}

int createBusiness(AppState& state, const QString& name) {
    BizRegistry& registry = state.biz_registry;
    const int slot = registry.lowestFreeSlot();
    if (slot < 0)
        throw FileError(state.registryPath(), QStringLiteral("all ten businesses are in use"));

    const QDir home(state.homePath);
    const QString folder = BizRegistry::areaNameFor(slot).trimmed();
    if (home.exists(folder)) {
        // A deleted business left its folder behind: keep its data, never mix it in.
        const QString aside = asideName(home, folder);
        if (!QDir(state.homePath).rename(folder, aside))
            throw FileError(home.filePath(folder),
                            QStringLiteral("the old folder could not be moved aside"));
    }
    if (!home.mkdir(folder))
        throw FileError(home.filePath(folder), QStringLiteral("the folder could not be created"));
    try {
        businessfiles::createBusinessDatabases(state.homePath, home.filePath(folder));
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

QString registryErrorText(const QString& reason) {
    return QStringLiteral("The business registry could not be saved: %1").arg(reason);
}
