#include "core/business/appstate.h"

#include <QDir>

QString AppState::businessFolder() const {
    const int slot = biz_registry.cur_biz;
    if (slot < 0 || slot >= BizRegistry::slotCount)
        return homePath;
    return QDir(homePath).filePath(biz_registry.areaFolderName(slot));
}

QString AppState::registryPath() const {
    return QDir(homePath).filePath(QLatin1String(BizRegistry::fileName));
}

AppState& appState() {
    static AppState state;
    return state;
}
