#include "gui/app/windowplace.h"

#include <QDir>
#include <QMainWindow>
#include <QSettings>

namespace windowplace {
namespace {

const QString geometryKey = QStringLiteral("MainWindow/geometry");
const QString stateKey = QStringLiteral("MainWindow/state");

} // namespace

QString filePath(const QString& homeFolder) {
    return QDir(homeFolder).filePath(QStringLiteral("window.ini"));
}

void show(QMainWindow& window, const QString& homeFolder) {
    const QSettings kept(filePath(homeFolder), QSettings::IniFormat);
    const QByteArray geometry = kept.value(geometryKey).toByteArray();
    if (geometry.isEmpty() || !window.restoreGeometry(geometry)) {
        window.showMaximized();
        return;
    }
    window.restoreState(kept.value(stateKey).toByteArray());
    window.show();
}

void save(const QMainWindow& window, const QString& homeFolder) {
    if (homeFolder.isEmpty())
        return;
    QSettings kept(filePath(homeFolder), QSettings::IniFormat);
    kept.setValue(geometryKey, window.saveGeometry());
    kept.setValue(stateKey, window.saveState());
    kept.sync();
}

} // namespace windowplace
