// The invoice editor's printing, payments and removal of lines, beside its other controls.
#include "gui/sales/viewinvoice.h"

#include "core/common/clock.h"
#include "core/common/database.h"
#include "core/common/prompts.h"
#include "core/common/textnum.h"
#include "core/items/itemcosting.h"
#include "core/sales/payments.h"
#include "gui/sales/invoiceprint.h"
#include "gui/widgets/filechooser.h"
#include "gui/widgets/linegrid.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>

using namespace invoicerules;

void viewinvoice::addOutputButtons(QHBoxLayout* row) {
    const auto button = [this, row](int at, const char* caption, const char* name) {
        auto* b = new QPushButton(QLatin1String(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        row->insertWidget(at, b);
        return b;
    };
    // On the left beside the export button, before the stretch that pushes "&Save" right.
    PrintInvoice = button(1, "Print...", "PrintInvoice");
    SavePdf = button(2, "Save as PDF...", "SavePdf");
    RecordPayment = button(3, "Record payment...", "RecordPayment");
    PrintInvoice->setToolTip(QStringLiteral("Print the invoice (Ctrl+P)"));
    connect(PrintInvoice, &QPushButton::clicked, this, &viewinvoice::printInvoice);
    connect(SavePdf, &QPushButton::clicked, this, &viewinvoice::savePdf);
    connect(RecordPayment, &QPushButton::clicked, this, &viewinvoice::recordPayment);
    auto* print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, this, [this] {
        if (PrintInvoice->isEnabled())
            PrintInvoice->click();
    });

    grid_->setRemovable([this](int k) { return canRemoveLine(k); });
    connect(grid_, &LineGrid::removeRequested, this, &viewinvoice::removeLine);
}

InvoiceBoxes viewinvoice::shownBoxes() const {
    InvoiceBoxes boxes;
    boxes.invoiceNo = Text1[0]->text();
    boxes.custNo = Text1[1]->text();
    boxes.updateDate = Text1[2]->text();
    boxes.confirmedDate = Text1[3]->text();
    boxes.deliveryDate = Text1[4]->text();
    boxes.salesperson = Text1[5]->text();
    boxes.owed = Text1[6]->text();
    boxes.paid = Text1[7]->text();
    boxes.tax = Text1[8]->text();
    boxes.delivered = Text1[9]->text();
    boxes.confirmed = confirmed;
    return boxes;
}

InvoiceDocument viewinvoice::document() const {
    std::optional<invoicedocument::Customer> customer;
    try {
        customer = invoicedocument::findCustomer(business().connection(Business::customers),
                                                 itemcosting::wholeNumberOf(Text1[1]->text()));
    } catch (const DbError& error) {
        prompts::engineError(error); // printed without the customer's name and address
    }
    return invoicedocument::make(shownBoxes(), lines_.inUse(), settings_, business().name(),
                                 customer);
}

void viewinvoice::printInvoice() {
    if (settleTax())
        invoiceprint::preview(document(), this);
}

void viewinvoice::savePdf() {
    if (!settleTax())
        return;
    const InvoiceDocument doc = document();
    const QString path =
        filechooser::saveFile(this, QStringLiteral("Save as PDF"),
                              QDir(filechooser::documentsFolder()).filePath(doc.fileName),
                              QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    const QString error = invoiceprint::writePdf(doc, path, invoiceprint::defaultPageSize());
    if (!error.isEmpty()) {
        prompts::message(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error),
                         QString(), PromptIcon::Critical);
        return;
    }
    prompts::message(QStringLiteral("Saved as ") + QDir::toNativeSeparators(path));
}

// Only an invoice confirmed and stored is owed; one that cannot be saved here shows no total
// to pay against.
bool viewinvoice::mayTakePayment() const {
    return storedConfirmed_ && confirmed && Command1[0]->isEnabled() && owed_.has_value();
}

void viewinvoice::showPaid(Money paid) {
    Text1[7]->setText(amountText(paid));
    const Money due = payments::balanceDue(owed_.value_or(Money()), paid);
    Text1[7]->setToolTip(QStringLiteral("Balance due: ") + amountText(due));
    RecordPayment->setEnabled(mayTakePayment() && due > Money());
}

void viewinvoice::recordPayment() {
    if (!mayTakePayment())
        return;
    const Money due = payments::balanceDue(*owed_, itemcosting::amountOf(Text1[7]->text()));
    const QString dueText = amountText(due);
    // Asked again until the answer is a payment; cancel and an empty answer record nothing.
    std::optional<Money> amount;
    while (!amount) {
        const QString answer =
            prompts::input(QStringLiteral("Amount received (balance due %1):").arg(dueText),
                           QStringLiteral("Record payment"));
        QString refusal;
        amount = payments::paymentAmount(answer, due, &refusal);
        if (!amount && refusal.isEmpty())
            return;
        if (!amount)
            prompts::message(refusal, QString(), PromptIcon::Exclamation);
    }
    Money paid;
    try {
        paid = payments::record(business().connection(Business::sales_invoices), rec, *amount,
                                appclock::today());
    } catch (const DbError& error) {
        prompts::engineError(error);
        return;
    }
    showPaid(paid);
    prompts::message(QStringLiteral("Payment of %1 recorded. Balance due: %2")
                         .arg(amountText(*amount),
                              amountText(payments::balanceDue(*owed_, paid))));
}

// A line of an invoice that can still change, and can be saved here.
bool viewinvoice::canRemoveLine(int k) const {
    return !confirmed && Command1[0]->isEnabled() && k >= 0 && k < cnt;
}

void viewinvoice::removeLine(int k) {
    if (!canRemoveLine(k) || !prompts::question(QStringLiteral("Remove line %1?").arg(k + 1)))
        return;
    lines_.remove(k);
    cnt = qint16(lines_.count());
    lines_changed = true;
    // The longest delivery is found again among the lines that stay.
    max_delivery = 0;
    VScroll1->setRange(0, InvoiceLines::scrollMaximumForLoaded(cnt));
    redisplay();
}
