// Two assembled items: a pump head built from parts, and a pump built from parts and the head.

#include "tour.h"

#include "gui/app/mdiform1.h"
#include "gui/finder/databaseview.h"
#include "gui/finder/getpart.h"
#include "gui/items/changingitem.h"
#include "gui/items/newitem.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using tourkit::check;
using tourkit::must;

namespace {

struct Component {
    bool isItem;
    int candidateLine; // line of the picker's candidate list
    QString quantity;
    QString hours[3]; // assembly, engineering, testing
};

changingitem& builder() {
    return must(changingitem::loaded(), "changingitem");
}

getpart& picker() {
    return must(getpart::loaded(), "getpart");
}

void addComponent(Tour& tour, int gridRow, const Component& component, const QString& shotName) {
    TourPrompts& prompts = tour.prompts;
    tour.step(QStringLiteral("click the entry row %1 of the grid").arg(gridRow),
              [gridRow] { tourkit::click(builder().Text2[size_t(gridRow)]); });
    tour.step(QStringLiteral("choose the component, its quantity and hours"), [=, &prompts] {
        getpart& p = picker();
        if (component.isItem)
            p.Option1[1]->click();
        tourkit::click(p.Text1[2]);
        tourkit::clickLine(p.List2, component.candidateLine);
        prompts.answerInput(QStringLiteral("Enter int (#)"), QStringLiteral("input qty"),
                            component.quantity);
        tourkit::click(p.Text1[4]);
        const char* const kinds[3] = {"Assembly", "Engineering", "testing"};
        for (int i = 0; i < 3; ++i)
            prompts.answerInput(QStringLiteral("Enter value (#.##)"),
                                QLatin1String(kinds[i]) + QStringLiteral(" labour hours"),
                                component.hours[i]);
        tourkit::click(p.Text1[5]); // asks the three hours in turn
    });
    if (!shotName.isEmpty()) {
        tour.focusOf([] { return static_cast<QWidget*>(getpart::loaded()); });
        tour.shot(shotName);
    }
    tour.step(QStringLiteral("Add I/P"), [] {
        picker().Command1->click();
        check(!getpart::loaded(), QStringLiteral("the picker closed"));
    });
}

void startItem(Tour& tour, const QString& description, const QString& shotName) {
    tour.step(QStringLiteral("toolbar: new item"), [] { MDIForm1::get().Command1[2]->click(); });
    tour.step(QStringLiteral("describe the item"), [description] {
        tourkit::type(must(newitem::loaded(), "newitem").Text1[1], description);
    });
    if (!shotName.isEmpty()) {
        tour.focusOf([] { return static_cast<QWidget*>(newitem::loaded()); });
        tour.shot(shotName);
    }
    tour.step(QStringLiteral("Continue opens the item builder"),
              [] { must(newitem::loaded(), "newitem").Command1->click(); });
}

void chooseClass(Tour& tour, int classLine) {
    tour.step(QStringLiteral("choose the item class"), [classLine] {
        changingitem& b = builder();
        tourkit::click(b.Text1[7]);
        tourkit::clickLine(b.List1, classLine);
    });
}

void saveItem(Tour& tour) {
    TourPrompts& prompts = tour.prompts;
    tour.step(QStringLiteral("Save Item"), [&prompts] {
        prompts.answerMessage(QStringLiteral("saved"));
        builder().Command1[0]->click();
        check(!changingitem::loaded(), QStringLiteral("the item builder closed"));
    });
}

} // namespace

void addItemSteps(Tour& tour) {
    startItem(tour, QStringLiteral("Pump head PH-40"), QStringLiteral("new-item"));
    addComponent(tour, 0,
                 {false,
                  1,
                  QStringLiteral("1"),
                  {QStringLiteral("0.5"), QStringLiteral("0.25"), QStringLiteral("0")}},
                 QStringLiteral("picker"));
    addComponent(tour, 1,
                 {false,
                  2,
                  QStringLiteral("2"),
                  {QStringLiteral("0.25"), QStringLiteral("0"), QStringLiteral("0")}},
                 QString());
    addComponent(tour, 2,
                 {false,
                  3,
                  QStringLiteral("1"),
                  {QStringLiteral("0.25"), QStringLiteral("0"), QStringLiteral("0.25")}},
                 QString());
    chooseClass(tour, 5);
    tour.focusOf([] { return static_cast<QWidget*>(changingitem::loaded()); });
    tour.shot(QStringLiteral("item-builder"));
    saveItem(tour);

    startItem(tour, QStringLiteral("Centrifugal pump CP-75"), QString());
    addComponent(tour, 0,
                 {false,
                  0,
                  QStringLiteral("1"),
                  {QStringLiteral("0.75"), QStringLiteral("0.5"), QStringLiteral("0.5")}},
                 QString());
    addComponent(tour, 1,
                 {true,
                  0,
                  QStringLiteral("1"),
                  {QStringLiteral("0.5"), QStringLiteral("0"), QStringLiteral("0.25")}},
                 QStringLiteral("picker-item"));
    addComponent(tour, 2,
                 {false,
                  3,
                  QStringLiteral("2"),
                  {QStringLiteral("0.25"), QStringLiteral("0"), QStringLiteral("0")}},
                 QString());
    tour.step(QStringLiteral("enter the mark-up"), [&tour] {
        tour.prompts.answerInput(QStringLiteral("Enter mark up rate "),
                                 QStringLiteral("mark up rate"), QStringLiteral("1.6"),
                                 QStringLiteral("markup"));
        tourkit::click(builder().Text1[5]);
    });
    chooseClass(tour, 6);
    tour.step(QStringLiteral("Confirm item"), [] {
        builder().Command1[1]->click();
        check(builder().isConfirmed(), QStringLiteral("the item is confirmed"));
    });
    tour.shot(QStringLiteral("item-confirmed"));
    tour.step(QStringLiteral("the main window for the README"),
              [] { tourkit::shootAs(QStringLiteral("main")); });
    saveItem(tour);

    tour.step(QStringLiteral("toolbar: assembled items"), [] {
        MDIForm1::get().Command1[3]->click();
        databaseview& finder = must(databaseview::loaded(), "databaseview");
        check(finder.lineCount() == 2, QStringLiteral("two items listed"));
        tourkit::clickLine(finder.List1[0], 1);
    });
    tour.shot(QStringLiteral("item-list"));
}
