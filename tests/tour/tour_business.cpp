// First start, a new business with its settings, and the classification and vendor codes.

#include "tour.h"

#include "gui/app/mdiform1.h"
#include "gui/app/settingback.h"
#include "gui/app/settings.h"
#include "gui/app/titlepage.h"
#include "gui/catalogue/codepage.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using tourkit::check;
using tourkit::must;

namespace {

void openMenu(const char* name) {
    MDIForm1::get().menuBar()->setActiveAction(menu(name).menuAction());
}

void closeMenus() {
    MDIForm1::get().menuBar()->setActiveAction(nullptr);
    for (const char* name : {"File", "DatabaseMenu"})
        menu(name).hide();
}

void describeCodes(Tour& tour, const char* entry, const QStringList& descriptions,
                   const QString& shotName) {
    tour.step(QStringLiteral("choose %1").arg(QLatin1String(entry)), [entry] { choose(entry); });
    tour.focusOf([] { return static_cast<QWidget*>(Codepage::loaded()); });
    tour.step(QStringLiteral("describe the codes"), [descriptions] {
        Codepage& codes = must(Codepage::loaded(), "Codepage");
        for (int r = 0; r < descriptions.size(); ++r)
            tourkit::type(codes.Text2[size_t(r)], descriptions[r]);
        tourkit::click(codes.Text2[0]); // the chosen row is highlighted
    });
    tour.shot(shotName);
    tour.step(QStringLiteral("&Close writes the codes"), [] {
        must(Codepage::loaded(), "Codepage").Command1->click();
        check(!Codepage::loaded(), QStringLiteral("Codepage closed"));
    });
}

} // namespace

void addBusinessSteps(Tour& tour) {
    TourPrompts& prompts = tour.prompts;

    tour.step(QStringLiteral("first start: open the File menu"), [] {
        check(MDIForm1::get().Label1->text().startsWith(QStringLiteral("Welcome new user")),
              QStringLiteral("first start greets a new user"));
        openMenu("File");
    });
    tour.shot(QStringLiteral("first-start"));
    tour.step(QStringLiteral("close the menu"), closeMenus);

    tour.step(QStringLiteral("File > New Business"), [&prompts] {
        prompts.answerInput(QStringLiteral("Enter name of business (> 4 char): "),
                            QStringLiteral("New Business Name"),
                            QStringLiteral("Brightwater Pumps"), QStringLiteral("business-name"));
        prompts.answerMessage(QStringLiteral("new business added at area 1"),
                              QStringLiteral("business-added"));
        choose("File_new");
    });
    tour.step(QStringLiteral("fill in the settings"), [] {
        settings& window = must(settings::loaded(), "settings");
        check(!window.Command1[1]->isEnabled(), QStringLiteral("first settings: Close is off"));
        const QString values[8] = {QString(),
                                   QStringLiteral("Anna Keller"),
                                   QStringLiteral("Pump assembly and repair"),
                                   QStringLiteral("1.5%"),
                                   QStringLiteral("$38/hr"),
                                   QStringLiteral("$24/hr"),
                                   QStringLiteral("$30/hr"),
                                   QStringLiteral("8%")};
        for (int i = 1; i < 8; ++i)
            tourkit::type(window.Text1[size_t(i)], values[i]);
    });
    tour.focusOf([] { return static_cast<QWidget*>(settings::loaded()); });
    tour.shot(QStringLiteral("settings"));
    tour.step(QStringLiteral("&Save the settings"), [&prompts] {
        prompts.answerMessage(QStringLiteral("settings saved"));
        must(settings::loaded(), "settings").Command1[0]->click();
        check(!settings::loaded() && !settingback::loaded(),
              QStringLiteral("settings and backdrop closed"));
    });
    tour.step(QStringLiteral("the business is open: open the Databases menu"), [] {
        check(MDIForm1::get().windowTitle().startsWith(
                  QStringLiteral("VARNEK PRAXO - Brightwater Pumps")),
              QStringLiteral("caption names the business"));
        openMenu("DatabaseMenu");
    });
    tour.shot(QStringLiteral("business-open"));
    tour.step(QStringLiteral("close the menu"), closeMenus);

    describeCodes(tour, "DatabaseMenu_Class",
                  {QStringLiteral("Motors"), QStringLiteral("Housings and castings"),
                   QStringLiteral("Seals and gaskets"), QStringLiteral("Fasteners"),
                   QStringLiteral("Pump heads"), QStringLiteral("Complete pumps")},
                  QStringLiteral("classification-codes"));
    describeCodes(tour, "DatabaseMenu_Vender",
                  {QStringLiteral("Northwind Motors"), QStringLiteral("Castwell Foundry"),
                   QStringLiteral("SealTech Supply"), QStringLiteral("Boltex Fasteners")},
                  QStringLiteral("vendor-codes"));
}
