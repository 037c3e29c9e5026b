#include "gui/widgets/savefiledialog.h"

#include "core/common/prompts.h"

#include <QFileDialog>
#include <QFileInfo>

namespace savefiledialog {

std::optional<QString> choose(QWidget* parent, const QString& caption, const QString& suggested,
                              const QString& filter, const QString& suffix) {
    QFileDialog dialog(parent, caption);
    dialog.setObjectName(QStringLiteral("SaveFileDialog"));
    // The question about an existing file is ours, so that it reads like the program's others.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    const QFileInfo start(suggested);
    dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    if (QFileInfo::exists(path) &&
        !prompts::question(QStringLiteral("%1 exists already. Do you want to replace it?")
                               .arg(QFileInfo(path).fileName()),
                           caption))
        return std::nullopt;
    return path;
}

} // namespace savefiledialog
