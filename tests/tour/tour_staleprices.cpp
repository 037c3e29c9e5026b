// A part's cost rises after the items were built: the items that carry the old price, its marks
// in the item builder, and the update of the unconfirmed pump head.
#include "tour.h"

#include "gui/app/mdiform1.h"
#include "gui/catalogue/partpage.h"
#include "gui/finder/databaseview.h"
#include "gui/items/changingitem.h"
#include "gui/items/staleitems.h"

#include <QLabel>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>

using tourkit::check;
using tourkit::must;

namespace {

staleitems& list() {
    return must(staleitems::loaded(), "staleitems");
}

changingitem& builder() {
    return must(changingitem::loaded(), "changingitem");
}

QPushButton& updateButton() {
    return must(builder().findChild<QPushButton*>(QStringLiteral("UpdatePrices")),
                "UpdatePrices");
}

} // namespace

void addStalePriceSteps(Tour& tour) {
    TourPrompts& prompts = tour.prompts;
    tour.step(QStringLiteral("parts list: edit the bolt set"), [] {
        MDIForm1::get().Command1[1]->click();
        databaseview& finder = must(databaseview::loaded(), "databaseview");
        tourkit::clickLine(finder.List1[0], 3);
        finder.Command1[1]->click();
    });
    tour.step(QStringLiteral("its cost rises to $2.60; Save"), [&prompts] {
        Partpage& page = must(Partpage::loaded(), "Partpage");
        tourkit::type(page.Text1[3], QStringLiteral("$2.60"));
        prompts.answerMessage(QStringLiteral("saved. "));
        page.Command1[0]->click();
        check(!Partpage::loaded(), QStringLiteral("the part editor closed"));
    });
    tour.step(QStringLiteral("Databases > Out-of-date item prices"), [] {
        choose("DatabaseView_stale");
    });
    tour.step(QStringLiteral("both items listed"), [] {
        check(list().List1->topLevelItemCount() == 2, QStringLiteral("two items listed"));
        tourkit::shootAs(QStringLiteral("stale-list"));
    });
    tour.step(QStringLiteral("a double click opens the pump head"), [] {
        QTreeWidget* lines = list().List1;
        tourkit::doubleClick(lines->viewport(),
                             lines->visualItemRect(lines->topLevelItem(0)).center());
    });
    tour.step(QStringLiteral("its bolt line is marked"), [] {
        auto* label = builder().findChild<QLabel*>(QStringLiteral("StalePrices"));
        check(label && label->isVisible() && updateButton().isEnabled(),
              QStringLiteral("the count and Update prices show"));
        // The pointer rests on the marked price: its tooltip shows.
        QLineEdit* price = builder().Text4[2];
        QMouseEvent move(QEvent::MouseMove, QPointF(8, 8), price->mapToGlobal(QPointF(8, 8)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(price, &move);
        QToolTip::showText(price->mapToGlobal(QPoint(8, price->height())), price->toolTip(), price);
    });
    tour.step(QStringLiteral("the marks with the tooltip"),
              [] { tourkit::shootAs(QStringLiteral("stale-marks")); });
    tour.step(QStringLiteral("Update prices"), [] {
        QToolTip::hideText();
        tourkit::click(&updateButton());
        check(!updateButton().isEnabled(), QStringLiteral("nothing is out of date"));
        tourkit::shootAs(QStringLiteral("stale-updated"));
    });
    tour.step(QStringLiteral("Save Item"), [&prompts] {
        prompts.answerMessage(QStringLiteral("saved"));
        builder().Command1[0]->click();
    });
    tour.step(QStringLiteral("the confirmed pump stays as it was"), [] {
        check(!changingitem::loaded(), QStringLiteral("the item builder closed"));
        check(list().List1->topLevelItemCount() == 1, QStringLiteral("only the pump is left"));
        list().Command1[1]->click();
    });
}
