// A customer, an invoice sold from the item list, confirmed and later delivered; then the next
// day's start: closing and loading the business, help and exit.

#include "tour.h"

#include "gui/app/loadpage.h"
#include "gui/app/mdiform1.h"
#include "gui/app/titlepage.h"
#include "core/common/clock.h"
#include "gui/finder/databaseview.h"
#include "gui/finder/getpart.h"
#include "gui/sales/custpage.h"
#include "gui/sales/showinvoices.h"
#include "gui/sales/viewinvoice.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

using tourkit::check;
using tourkit::must;

namespace {

// The day of the sale, fixed at the tour's start, and the day the delivery is asked about.
const QDate saleDay(2025, 3, 3);
const QDate monthLater = saleDay.addDays(30);

struct Customer {
    QString first, last, address, telephone;
    QDate birth;
};

custpage& customerEditor() {
    return must(custpage::loaded(), "custpage");
}

viewinvoice& invoice() {
    return must(viewinvoice::loaded(), "viewinvoice");
}

databaseview& finder() {
    return must(databaseview::loaded(), "databaseview");
}

void addCustomer(Tour& tour, const Customer& c, bool photographed) {
    TourPrompts& prompts = tour.prompts;
    tour.step(QStringLiteral("Add New customer: ") + c.first,
              [] { finder().Command1[0]->click(); });
    tour.step(QStringLiteral("name, address, telephone; a click on DOB"), [c] {
        custpage& page = customerEditor();
        tourkit::type(page.Text1[1], c.first);
        tourkit::type(page.Text1[2], c.last);
        tourkit::type(page.Text1[3], c.address);
        tourkit::type(page.Text1[4], c.telephone);
        tourkit::click(page.Text1[5]);
        check(page.Calendar1->isVisible(), QStringLiteral("the calendar opens"));
        page.Calendar1->setSelectedDate(c.birth);
        page.Calendar1->setFocus();
    });
    if (photographed)
        tour.shot(QStringLiteral("customer-calendar"));
    tour.step(QStringLiteral("Enter takes the date"), [] {
        custpage& page = customerEditor();
        tourkit::pressKey(&must(page.Calendar1->findChild<QTableView*>(), "calendar days"),
                          Qt::Key_Return);
        check(!page.Calendar1->isVisible(), QStringLiteral("the calendar closes"));
    });
    if (photographed) {
        tour.focusOf([] { return static_cast<QWidget*>(custpage::loaded()); });
        tour.shot(QStringLiteral("customer"));
    }
    tour.step(QStringLiteral("&Save the customer"), [&prompts] {
        prompts.answerMessage(QStringLiteral("saved. "));
        customerEditor().Command1[0]->click();
        check(!custpage::loaded(), QStringLiteral("the customer editor closed"));
    });
}

void sellItem(Tour& tour) {
    TourPrompts& prompts = tour.prompts;
    tour.step(QStringLiteral("item list: select the pump, Sell Item"), [] {
        MDIForm1::get().Command1[3]->click();
        tourkit::clickLine(finder().List1[0], 1);
        finder().Command1[1]->click();
        check(finder().List4->isVisible(), QStringLiteral("the customer list pops up"));
    });
    tour.shot(QStringLiteral("sell-item"));
    tour.step(QStringLiteral("pick the customer; the invoice opens"), [&prompts] {
        prompts.answerInput(QStringLiteral("Enter quantity to sell"),
                            QStringLiteral("Selling parts/items"), QStringLiteral("2"),
                            QStringLiteral("sell-quantity"));
        tourkit::clickLine(finder().List4, 0);
    });
    tour.step(QStringLiteral("salesperson; a click on the entry row"), [] {
        viewinvoice& v = invoice();
        tourkit::type(v.Text1[5], QStringLiteral("Mark Lindqvist"));
        tourkit::click(v.Text2[1]);
    });
    tour.step(QStringLiteral("pick spare seal kits"), [&prompts] {
        getpart& p = must(getpart::loaded(), "getpart");
        tourkit::click(p.Text1[2]);
        tourkit::clickLine(p.List2, 2);
        prompts.answerInput(QStringLiteral("Enter int (#)"), QStringLiteral("input qty"),
                            QStringLiteral("4"));
        tourkit::click(p.Text1[4]);
        p.Command1->click();
        check(!getpart::loaded(), QStringLiteral("the picker closed"));
    });
    tour.focusOf([] { return static_cast<QWidget*>(viewinvoice::loaded()); });
    tour.shot(QStringLiteral("invoice"));
    tour.step(QStringLiteral("C&onfirm"), [&prompts] {
        prompts.answerMessage(
            QStringLiteral("confirm set. Please save to record committment and changes"),
            QStringLiteral("confirm-message"));
        invoice().Command1[1]->click();
    });
    tour.shot(QStringLiteral("invoice-confirmed"));
    tour.step(QStringLiteral("&Save the invoice"), [&prompts] {
        prompts.answerMessage(QStringLiteral("saved"));
        invoice().Command1[0]->click();
        check(!viewinvoice::loaded(), QStringLiteral("the invoice editor closed"));
    });
}

void deliver(Tour& tour) {
    TourPrompts& prompts = tour.prompts;
    tour.step(QStringLiteral("customer list: select the customer, View Invoices"), [] {
        MDIForm1::get().Command1[0]->click();
        tourkit::clickLine(finder().List1[0], 0);
        finder().Command1[4]->click();
    });
    tour.focusOf([] { return static_cast<QWidget*>(showinvoices::loaded()); });
    tour.shot(QStringLiteral("invoice-list"));
    tour.step(QStringLiteral("a month later: View/Edit the invoice"), [&prompts] {
        appclock::setToday(monthLater);
        prompts.answerQuestion(
            QStringLiteral("It's pass the delivery date, has the products been delivered?"),
            QStringLiteral("products delivery for customer at date: Mar 17, 2025"), true,
            QStringLiteral("delivery-question"));
        prompts.answerMessage(QStringLiteral("Set to yes. Please remember to save new changes"));
        showinvoices& list = must(showinvoices::loaded(), "showinvoices");
        tourkit::clickLine(list.List1, 0);
        list.Command1[0]->click();
    });
    tour.shot(QStringLiteral("invoice-delivered"));
    tour.step(QStringLiteral("&Save the delivery"), [&prompts] {
        prompts.answerMessage(QStringLiteral("saved"));
        invoice().Command1[0]->click();
        check(!viewinvoice::loaded() && !showinvoices::loaded(),
              QStringLiteral("the invoice and its list closed"));
    });
}

void nextDay(Tour& tour) {
    tour.step(QStringLiteral("File > Close Business"), [] {
        if (databaseview* open = databaseview::loaded())
            open->Command1[3]->click();
        choose("File_close");
    });
    tour.step(QStringLiteral("File > Load Business"), [] { choose("File_load"); });
    tour.step(QStringLiteral("select the business"),
              [] { tourkit::clickLine(must(loadpage::loaded(), "loadpage").List1, 0); });
    tour.focusOf([] { return static_cast<QWidget*>(loadpage::loaded()); });
    tour.shot(QStringLiteral("load-business"));
    tour.step(QStringLiteral("Open"), [] {
        must(loadpage::loaded(), "loadpage").Command1[0]->click();
        check(MDIForm1::get().windowTitle().startsWith(QStringLiteral("VARNEK PRAXO - ")),
              QStringLiteral("the business is open again"));
    });
    tour.step(QStringLiteral("Help"), [] { choose("HelpMenu"); });
    tour.shot(QStringLiteral("help"));
    tour.step(QStringLiteral("Esc presses Ok"),
              [] { tourkit::pressKey(&must(titlepage::loaded(), "titlepage"), Qt::Key_Escape); });
    tour.step(QStringLiteral("File > Exit"), [] { choose("File_exit"); });
}

} // namespace

void addSalesSteps(Tour& tour) {
    tour.step(QStringLiteral("toolbar: customer list"), [] {
        MDIForm1::get().Command1[0]->click();
        check(finder().mode == 1, QStringLiteral("the customer list opens"));
    });
    addCustomer(tour,
                {QStringLiteral("Jonas"), QStringLiteral("Berg"),
                 QStringLiteral("12 Harbour Road, Kiel"), QStringLiteral("0431 555 0172"),
                 QDate(1978, 6, 14)},
                true);
    addCustomer(tour,
                {QStringLiteral("Maria"), QStringLiteral("Santos"),
                 QStringLiteral("4 Mill Lane, Lübeck"), QStringLiteral("0451 555 0190"),
                 QDate(1985, 11, 2)},
                false);
    sellItem(tour);
    deliver(tour);
    addInvoiceOutputSteps(tour);
    nextDay(tour);
}
