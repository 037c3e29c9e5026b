// Lists for spreadsheets and backups: the parts list exported to a CSV file, then a backup of
// the business, the file dialogs answered by name.

#include "tour.h"

#include "gui/app/mdiform1.h"
#include "gui/finder/databaseview.h"
#include "support/scriptedfiles.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

#include <optional>

using tourkit::check;
using tourkit::must;

namespace {

// Answers the file dialogs of this chapter only; later chapters show the real ones.
std::optional<ScriptedFiles>& scriptedFiles() {
    static std::optional<ScriptedFiles> scripted;
    return scripted;
}

ScriptedFiles& files() {
    if (!scriptedFiles())
        scriptedFiles().emplace();
    return *scriptedFiles();
}

bool startsWithBom(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(3) == "\xEF\xBB\xBF";
}

} // namespace

void addBackupSteps(Tour& tour) {
    TourPrompts& prompts = tour.prompts;
    tour.step(QStringLiteral("toolbar: parts list, Export..."), [] {
        MDIForm1::get().Command1[1]->click();
        const QString csv = QDir::current().filePath(QStringLiteral("Main parts list.csv"));
        files().answer(csv);
        must(databaseview::loaded(), "databaseview").ExportList->click();
        check(startsWithBom(csv), QStringLiteral("the parts list is written as CSV"));
    });
    tour.step(QStringLiteral("open the File menu"), [] {
        MDIForm1::get().menuBar()->setActiveAction(menu("File").menuAction());
    });
    tour.step(QStringLiteral("screenshot backup-menu"),
              [] { tourkit::shootAs(QStringLiteral("guide-backup-menu")); });
    tour.step(QStringLiteral("File > Back Up Business..."), [&prompts] {
        MDIForm1::get().menuBar()->setActiveAction(nullptr);
        menu("File").hide();
        const QString archive =
            QDir::current().filePath(QStringLiteral("Brightwater Pumps-2025-03-03.praxo-backup"));
        files().answer(archive);
        prompts.answerMessage(QStringLiteral("The business was backed up to ") + archive);
        choose("File_backup");
        check(QFile::exists(archive), QStringLiteral("the backup is written"));
    });
    tour.step(QStringLiteral("close the parts list"), [] {
        must(databaseview::loaded(), "databaseview").Command1[3]->click();
        check(files().done(), QStringLiteral("every file dialog of the backups answered"));
        scriptedFiles().reset();
    });
}
