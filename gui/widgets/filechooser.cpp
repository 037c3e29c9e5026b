#include "gui/widgets/filechooser.h"

#include "core/common/prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
FileChooserResponder* current = nullptr;

QString chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}
} // namespace

namespace filechooser {

QString saveFile(QWidget* parent, const QString& caption, const QString& suggestedPath,
                 const QString& filter) {
    if (current)
        return current->saveFile(caption, suggestedPath, filter);
    // Qt's own dialog, the same on every desktop; the question about an existing file is ours,
    // so that it reads like the program's others.
    QFileDialog dialog(parent, caption);
    dialog.setObjectName(QStringLiteral("SaveFileDialog"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    const QFileInfo start(suggestedPath);
    dialog.setDefaultSuffix(start.completeSuffix());
    dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
    const QString path = chosen(dialog);
    if (!path.isEmpty() && QFileInfo::exists(path) &&
        !prompts::question(QStringLiteral("%1 exists already. Do you want to replace it?")
                               .arg(QFileInfo(path).fileName()),
                           caption))
        return QString();
    return path;
}

QString openFile(QWidget* parent, const QString& caption, const QString& folder,
                 const QString& filter) {
    if (current)
        return current->openFile(caption, folder, filter);
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setObjectName(QStringLiteral("OpenFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosen(dialog);
}

QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void setResponder(FileChooserResponder* responder) {
    current = responder;
}

} // namespace filechooser
