// The parts catalogue: the parts list and the part editor.

#include "tour.h"

#include "gui/app/mdiform1.h"
#include "gui/catalogue/partpage.h"
#include "gui/finder/databaseview.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

using tourkit::check;
using tourkit::must;

namespace {

struct Part {
    QString description;
    int vendorLine; // line of the vendor list: vendor code - 1
    QString cost;
    int classLine; // line of the classification list: 0 is MISC, n is code n
    bool generalStock;
    QString quantity;
    QString delivery;
    QString features;
    QString manufacturer;
};

// A drawing of the motor, saved as the part's picture file in the business folder.
void drawMotorPicture(const QString& fileName) {
    QImage picture(320, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(0, 30);
    p.setPen(QPen(QColor(60, 70, 80), 2));
    p.setBrush(QColor(96, 120, 150));
    p.drawRoundedRect(QRectF(70, 70, 170, 100), 14, 14); // body
    p.setPen(QPen(QColor(70, 90, 115), 3));
    for (int x = 95; x <= 215; x += 20)
        p.drawLine(x, 78, x, 162); // cooling fins
    p.setPen(QPen(QColor(60, 70, 80), 2));
    p.setBrush(QColor(150, 160, 170));
    p.drawRect(QRectF(240, 100, 20, 40)); // end shield
    p.drawRect(QRectF(260, 112, 40, 16)); // shaft
    p.drawRect(QRectF(125, 45, 60, 25));  // terminal box
    p.setBrush(QColor(70, 80, 90));
    p.drawRect(QRectF(80, 170, 40, 14)); // feet
    p.drawRect(QRectF(190, 170, 40, 14));
    p.setBrush(QColor(230, 140, 40));
    p.drawEllipse(QRectF(40, 100, 30, 40)); // fan cover
    p.end();
    picture.save(fileName);
}

Partpage& editor() {
    return must(Partpage::loaded(), "Partpage");
}

void addPart(Tour& tour, const Part& part, bool photographed) {
    TourPrompts& prompts = tour.prompts;
    tour.step(QStringLiteral("Add New Part: ") + part.description,
              [] { must(databaseview::loaded(), "databaseview").Command1[0]->click(); });
    tour.step(QStringLiteral("description, then a click on the vendor code"), [part] {
        Partpage& page = editor();
        tourkit::type(page.Text1[1], part.description);
        tourkit::click(page.Text1[2]);
        check(page.List1->isVisible(), QStringLiteral("the vendor list opens"));
    });
    if (photographed)
        tour.shot(QStringLiteral("part-vendor-list"));
    tour.step(QStringLiteral("pick the vendor, cost, price, class, stock"), [part, &prompts] {
        Partpage& page = editor();
        tourkit::clickLine(page.List1, part.vendorLine);
        tourkit::type(page.Text1[3], part.cost);
        tourkit::doubleClick(page.Text1[4]); // the price suggested from the mark-up
        tourkit::click(page.Text1[5]);
        tourkit::clickLine(page.List2, part.classLine);
        prompts.answerQuestion(QStringLiteral("Is the part general stock"),
                               QStringLiteral("General stock info."), part.generalStock);
        tourkit::click(page.Text1[6]);
        if (part.generalStock)
            tourkit::type(page.Text1[7], part.quantity);
        tourkit::type(page.Text1[8], part.delivery);
        tourkit::type(page.Text1[10], part.features);
        tourkit::type(page.Text1[11], part.manufacturer);
    });
    if (photographed) {
        tour.step(QStringLiteral("a click on the picture box: the part's picture"), [&prompts] {
            drawMotorPicture(MDIForm1::get().session()->filePath(QStringLiteral("MOTOR.PNG")));
            prompts.answerInput(QStringLiteral("Please enter filename"),
                                QStringLiteral("part picture "), QStringLiteral("motor.png"));
            tourkit::click(editor().Picture1);
        });
        tour.focusOf([] { return static_cast<QWidget*>(Partpage::loaded()); });
        tour.shot(QStringLiteral("part-editor"));
    }
    tour.step(QStringLiteral("Save the part"), [&prompts] {
        prompts.answerMessage(QStringLiteral("saved. "));
        editor().Command1[0]->click();
        check(!Partpage::loaded(), QStringLiteral("the part editor closed"));
    });
}

} // namespace

void addCatalogueSteps(Tour& tour) {
    tour.step(QStringLiteral("toolbar: parts list"), [] {
        MDIForm1::get().Command1[1]->click();
        check(databaseview::loaded() && databaseview::loaded()->mode == 0,
              QStringLiteral("the parts list opens"));
    });
    addPart(tour,
            {QStringLiteral("Motor 0.75 kW, 230 V"), 0, QStringLiteral("$85.00"), 1, true,
             QStringLiteral("12"), QStringLiteral("5 days"), QStringLiteral("2800 rpm, IP55"),
             QStringLiteral("Northwind")},
            true);
    addPart(tour,
            {QStringLiteral("Pump housing, cast iron"), 1, QStringLiteral("$42.00"), 2, false,
             QString(), QStringLiteral("14 days"), QString(), QStringLiteral("Castwell")},
            false);
    addPart(tour,
            {QStringLiteral("Shaft seal kit"), 2, QStringLiteral("$6.50"), 3, true,
             QStringLiteral("40"), QStringLiteral("3 days"), QStringLiteral("Carbon/ceramic"),
             QStringLiteral("SealTech")},
            false);
    addPart(tour,
            {QStringLiteral("Bolt set M8 x 25"), 3, QStringLiteral("$2.20"), 4, true,
             QStringLiteral("150"), QStringLiteral("2 days"), QString(), QStringLiteral("Boltex")},
            false);
    tour.step(QStringLiteral("select the motor in the parts list"), [] {
        databaseview& finder = must(databaseview::loaded(), "databaseview");
        check(finder.lineCount() == 4, QStringLiteral("four parts listed"));
        tourkit::clickLine(finder.List1[0], 0);
    });
    tour.focusOf([] { return static_cast<QWidget*>(databaseview::loaded()); });
    tour.shot(QStringLiteral("parts-list"));
}
