#include "gui/widgets/listexport.h"

#include "core/common/prompts.h"
#include "core/common/recordfile.h"
#include "gui/widgets/filechooser.h"

#include <QDir>
#include <QKeySequence>
#include <QPushButton>

namespace listexport {

QPushButton* exportButton(QWidget* owner) {
    auto* button = new QPushButton(QStringLiteral("Export..."), owner);
    button->setObjectName(QStringLiteral("ExportList"));
    button->setAutoDefault(false);
    button->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    button->setToolTip(QStringLiteral("Write the list as shown to a CSV file (Ctrl+E)"));
    return button;
}

QString exportTable(QWidget* parent, const QString& suggestedName, const csv::Table& table) {
    const QString path = filechooser::saveFile(
        parent, QStringLiteral("Export List"),
        QDir(filechooser::documentsFolder()).filePath(suggestedName),
        QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty())
        return QString();
    try {
        csv::writeFile(path, table);
    } catch (const FileError& error) {
        prompts::message(QStringLiteral("The list could not be exported: %1").arg(error.message()),
                         QString(), PromptIcon::Critical);
        return QString();
    }
    return path;
}

QString cellText(const QString& shown) {
    return shown.trimmed();
}

} // namespace listexport
