#include "gui/app/backupcommands.h"

#include "core/business/bizregistry.h"
#include "core/business/business.h"
#include "core/business/businessbackup.h"
#include "core/common/clock.h"
#include "core/common/prompts.h"
#include "gui/widgets/filechooser.h"
#include "gui/widgets/progresswindow.h"

#include <QDir>
#include <QFileInfo>

namespace backupcommands {

namespace {
const QString filter = QStringLiteral("VARNEK PRAXO backups (*.praxo-backup);;All files (*)");
} // namespace

void backUp(QWidget* parent, const Business& business) {
    const QString suggested = QDir(filechooser::documentsFolder())
                                  .filePath(businessbackup::suggestedFileName(
                                      business.name(), appclock::today()));
    QString path =
        filechooser::saveFile(parent, QStringLiteral("Back Up Business"), suggested, filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QLatin1String(backuparchive::suffix);
    try {
        ProgressWindow progress(parent, QStringLiteral("Backing up the business..."));
        businessbackup::backUp(business.folder(), business.name(), path, progress.callback());
    } catch (const BackupError& error) {
        prompts::message(QStringLiteral("The business could not be backed up. %1")
                             .arg(error.message()),
                         QString(), PromptIcon::Critical);
        return;
    }
    prompts::message(QStringLiteral("The business was backed up to %1").arg(path));
}

bool restore(QWidget* parent, const QString& homeFolder, BizRegistry& registry) {
    const QString path = filechooser::openFile(parent, QStringLiteral("Restore Business"),
                                               filechooser::documentsFolder(), filter);
    if (path.isEmpty())
        return false;
    businessbackup::Restored restored;
    try {
        ProgressWindow progress(parent, QStringLiteral("Restoring the business..."));
        restored = businessbackup::restore(homeFolder, registry, path, progress.callback());
    } catch (const BackupError& error) {
        prompts::message(QStringLiteral("Nothing was restored. %1").arg(error.message()),
                         QString(), PromptIcon::Critical);
        return false;
    }
    prompts::message(QStringLiteral("The business \"%1\" was restored into area %2.")
                         .arg(restored.name.trimmed())
                         .arg(restored.slot + 1));
    return true;
}

void automatic(QWidget* parent, const QString& homeFolder, const Business& business) {
    try {
        ProgressWindow progress(parent, QStringLiteral("Backing up the business..."));
        businessbackup::backUpAutomatically(homeFolder, business.folder(), business.name(),
                                            progress.callback());
    } catch (const BackupError& error) {
        prompts::message(QStringLiteral("The automatic backup could not be written. %1")
                             .arg(error.message()),
                         QString(), PromptIcon::Exclamation);
    } catch (const std::exception& error) {
        prompts::message(QStringLiteral("The automatic backup could not be written. %1")
                             .arg(QString::fromUtf8(error.what())),
                         QString(), PromptIcon::Exclamation);
    }
}

} // namespace backupcommands
