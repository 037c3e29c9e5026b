#include "gui/widgets/filechooser.h"

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
    QFileDialog dialog(parent, caption, suggestedPath, filter);
    dialog.setObjectName(QStringLiteral("FileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QFileInfo(suggestedPath).completeSuffix());
    return chosen(dialog);
}

QString openFile(QWidget* parent, const QString& caption, const QString& folder,
                 const QString& filter) {
    if (current)
        return current->openFile(caption, folder, filter);
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setObjectName(QStringLiteral("FileDialog"));
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
