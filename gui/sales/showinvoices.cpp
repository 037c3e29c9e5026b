#include "gui/sales/showinvoices.h"

#include "core/common/textnum.h"
#include "core/sales/salesexport.h"
#include "gui/sales/viewinvoice.h"
#include "gui/widgets/buttonrow.h"
#include "gui/widgets/keyclick.h"
#include "gui/widgets/listexport.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

showinvoices::showinvoices() : List1(new QListWidget(this)), Label1(new QLabel(this)) {
    setObjectName(QStringLiteral("showinvoices"));
    setWindowTitle(QStringLiteral("PO/Invoice List of customer: "));

    List1->setObjectName(QStringLiteral("List1"));
    // The lines are columns made of blanks, which only line up in a fixed-pitch font.
    List1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(List1, &QListWidget::itemDoubleClicked, this, &showinvoices::viewSelected);
    // Return on a line is its double-click; a line only the arrow keys reached is taken too.
    keyclick::onLineReturn(List1, [this](const QModelIndex& line) {
        List1->setCurrentRow(line.row(), QItemSelectionModel::ClearAndSelect);
        viewSelected();
    });

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(QStringLiteral("Status: "));

    QHBoxLayout* buttons = buttonRow<3>(this, Command1, {"View/Edit", "Close", "New Invoice"});
    buttons->insertWidget(0, Label1, 1);
    connect(Command1[0], &QPushButton::clicked, this, &showinvoices::viewSelected);
    connect(Command1[1], &QPushButton::clicked, this, [this] { unload(); });
    connect(Command1[2], &QPushButton::clicked, this, &showinvoices::newInvoice);
    ExportList = listexport::exportButton(this);
    buttons->addWidget(ExportList);
    connect(ExportList, &QPushButton::clicked, this, &showinvoices::exportList);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1, 1);
    layout->addLayout(buttons);
    resize(760, 420);
    keyclick::returnPressesFocusedButtons(this);
}

void showinvoices::load() {
    const bool all = cust < 0;
    if (all) {
        setWindowTitle(QStringLiteral("PO/Invoices for ALL Customers"));
    } else {
        setWindowTitle(QStringLiteral("PO/Invoices of customer:  ") +
                       format(int(cust), QStringLiteral("0000 -> ")) + cname);
    }
    Command1[2]->setVisible(!all);
    List3.clear();
    if (all)
        List3 = invoicelist::customerTags(business().connection(Business::customers));
    showlist();
}

void showinvoices::showlist() {
    List1->hide();
    List1->clear();
    List2.clear();
    invoicelist::Listing listing = invoicelist::listInvoices(
        business().connection(Business::sales_invoices), cust, List3);
    List1->addItems(listing.lines);
    List2 = std::move(listing.positions);
    Label1->setText(invoicelist::statusText(cust, int(List2.size()), listing.balanceDue));
    List1->show();
}

void showinvoices::viewSelected() {
    const int line = List1->currentRow();
    if (line < 0 || !List1->item(line)->isSelected() || size_t(line) >= List2.size())
        return;
    openInvoice(qint16(List2[size_t(line)]));
}

void showinvoices::newInvoice() {
    openInvoice(qint16(-(cust + 1)));
}

// The invoice editor closes this list when it closes, by Close or by Save.
void showinvoices::openInvoice(qint16 rec) {
    viewinvoice& editor = viewinvoice::get(business());
    editor.sell = 1;
    editor.rec = rec;
    if (editor.load())
        editor.runModal();
}

// The close box and Esc leave as "Close" does.
void showinvoices::reject() {
    unload();
}

void showinvoices::exportList() {
    const bool all = cust < 0;
    const csv::Table table = salesexport::invoiceList(
        business().connection(Business::sales_invoices), List2, List3, all);
    listexport::exportTable(this,
                            all ? QStringLiteral("Invoices.csv")
                                : QStringLiteral("Invoices of customer %1.csv")
                                      .arg(format(int(cust), QStringLiteral("0000"))),
                            table);
}
