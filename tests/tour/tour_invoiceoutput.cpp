// An invoice sent and paid: a draft with a wrong line removed, its print preview and PDF, then
// two payments on the confirmed invoice and the balance in the invoice list. Its screenshots
// carry names of their own (guide-invoice-...), so that the numbered ones stay as they are.

#include "tour.h"

#include "core/common/textnum.h"
#include "core/items/itemcosting.h"
#include "core/sales/payments.h"
#include "gui/app/mdiform1.h"
#include "gui/finder/databaseview.h"
#include "gui/finder/getpart.h"
#include "gui/sales/showinvoices.h"
#include "gui/sales/viewinvoice.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using tourkit::check;
using tourkit::must;

namespace {

viewinvoice& invoice() {
    return must(viewinvoice::loaded(), "viewinvoice");
}

showinvoices& invoiceList() {
    return must(showinvoices::loaded(), "showinvoices");
}

void openInvoiceList() {
    MDIForm1::get().Command1[0]->click();
    databaseview& finder = must(databaseview::loaded(), "databaseview");
    tourkit::clickLine(finder.List1[0], 0);
    finder.Command1[4]->click();
}

// A line added from the picker: a candidate and a quantity.
void pickLine(Tour& tour, int row, int candidate, const QString& qty) {
    tour.step(QStringLiteral("a click on the entry row"),
              [row] { tourkit::click(invoice().Text2[row]); });
    tour.step(QStringLiteral("pick a part or item"), [&prompts = tour.prompts, candidate, qty] {
        getpart& p = must(getpart::loaded(), "getpart");
        tourkit::click(p.Text1[2]);
        tourkit::clickLine(p.List2, candidate);
        prompts.answerInput(QStringLiteral("Enter int (#)"), QStringLiteral("input qty"), qty);
        tourkit::click(p.Text1[4]);
        p.Command1->click();
        check(!getpart::loaded(), QStringLiteral("the picker closed"));
    });
}

QString money(Money amount) {
    return format(amount, QStringLiteral("$0.00"));
}

Money balanceShown() {
    return payments::balanceDue(itemcosting::amountOf(invoice().Text1[6]->text()),
                                itemcosting::amountOf(invoice().Text1[7]->text()));
}

void payment(Tour& tour, const QString& amount, const QString& shot) {
    tour.step(QStringLiteral("Record payment... ") + amount, [&prompts = tour.prompts, amount,
                                                              shot] {
        const Money due = balanceShown();
        const Money paid = *toMoney(amount);
        prompts.answerInput(QStringLiteral("Amount received (balance due %1):").arg(money(due)),
                            QStringLiteral("Record payment"), amount, shot);
        prompts.answerMessage(QStringLiteral("Payment of %1 recorded. Balance due: %2")
                                  .arg(money(paid), money(due - paid)));
        invoice().RecordPayment->click();
    });
}

} // namespace

void addInvoiceOutputSteps(Tour& tour) {
    TourPrompts& prompts = tour.prompts;
    tour.step(QStringLiteral("the customer's invoices"), openInvoiceList);
    tour.step(QStringLiteral("New Invoice"), [] { invoiceList().Command1[2]->click(); });
    tour.step(QStringLiteral("salesperson"),
              [] { tourkit::type(invoice().Text1[5], QStringLiteral("Mark Lindqvist")); });
    pickLine(tour, 0, 2, QStringLiteral("2"));
    pickLine(tour, 1, 0, QStringLiteral("1"));
    pickLine(tour, 2, 1, QStringLiteral("3"));
    tour.step(QStringLiteral("Delete on the wrong second line"), [&prompts] {
        prompts.answerQuestion(QStringLiteral("Remove line 2?"), QString(), true,
                               QStringLiteral("guide-invoice-remove-line"));
        invoice().Text2[1]->setFocus(Qt::MouseFocusReason);
        tourkit::pressKey(invoice().Text2[1], Qt::Key_Delete);
    });
    tour.step(QStringLiteral("two lines left"),
              [] { check(invoice().cnt == 2, QStringLiteral("the line is removed")); });
    tour.step(QStringLiteral("Print..."), [&prompts] {
        prompts.answerWindow(QStringLiteral("PrintPreview"),
                             QStringLiteral("guide-invoice-print-preview"),
                             [](QWidget* preview) { preview->close(); });
        invoice().PrintInvoice->click();
    });
    tour.step(QStringLiteral("Save as PDF..."), [&prompts] {
        // The tour's own folder stands for the user's home, so that the file lands in it.
        qputenv("HOME", QFile::encodeName(QDir::currentPath()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir::current().filePath(".config")));
        QDir::current().mkpath(QStringLiteral("Documents"));
        const QString file = QDir(QDir::current().filePath(QStringLiteral("Documents")))
                                 .filePath(QStringLiteral("invoice-%1.pdf")
                                               .arg(invoice().Text1[0]->text().trimmed()));
        prompts.answerWindow(QStringLiteral("SaveFileDialog"),
                             QStringLiteral("guide-invoice-save-pdf"), [](QWidget* dialog) {
                                 for (auto* b : dialog->findChildren<QPushButton*>())
                                     if (b->text() == QStringLiteral("&Save"))
                                         b->click();
                             });
        prompts.answerMessage(QStringLiteral("Saved as ") + QDir::toNativeSeparators(file));
        invoice().SavePdf->click();
        check(QFile::exists(file), QStringLiteral("the PDF is written"));
    });
    tour.step(QStringLiteral("&Save the draft"), [&prompts] {
        prompts.answerMessage(QStringLiteral("saved"));
        invoice().Command1[0]->click();
    });

    tour.step(QStringLiteral("the customer's invoices again"), openInvoiceList);
    tour.step(QStringLiteral("View/Edit the confirmed invoice"), [] {
        tourkit::clickLine(invoiceList().List1, 0);
        invoiceList().Command1[0]->click();
    });
    payment(tour, QStringLiteral("100.00"), QStringLiteral("guide-invoice-payment"));
    payment(tour, QStringLiteral("50"), QString());
    tour.step(QStringLiteral("screenshot guide-invoice-paid"),
              [] { tourkit::shootAs(QStringLiteral("guide-invoice-paid")); });
    tour.step(QStringLiteral("&Close"), [] { invoice().Command1[2]->click(); });
    tour.step(QStringLiteral("the invoice list with the balances"), openInvoiceList);
    tour.step(QStringLiteral("screenshot guide-invoice-list-balance"),
              [] { tourkit::shootAs(QStringLiteral("guide-invoice-list-balance")); });
    tour.step(QStringLiteral("Close the list"), [] { invoiceList().Command1[1]->click(); });
}
