#include "gui/sales/viewinvoice.h"

#include "core/common/clock.h"
#include "core/common/database.h"
#include "gui/widgets/buttonrow.h"
#include "gui/widgets/linegrid.h"
#include "gui/widgets/showonly.h"
#include "core/common/prompts.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "gui/finder/getpart.h"
#include "core/finder/pickerrules.h"
#include "core/items/itemcosting.h"
#include "core/sales/salestables.h"
#include "gui/sales/showinvoices.h"
#include "gui/widgets/unsavedwork.h"
#include "core/sales/salesexport.h"
#include "gui/widgets/listexport.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

using namespace invoicerules;

namespace {

constexpr int columns = 5;
constexpr int rows = InvoiceLines::visibleRows;

const char* const fieldCaptions[10] = {
    "Sales Invoice ID",    "Customer ID",        "Recent Update Date", "       Confirmed Date",
    "Calc. Delivery Date", "Salesperson",        "Total Amount Owed",  "Total Amount Paid",
    "Tax (%) included",    "Products Delivered?"};
const char* const headerCaptions[columns] = {"          I/P #", "             Description",
                                             "     Unit Price", "   Qty", "       Total Price"};

const QColor lightCyan(192, 255, 255);
const QColor lightYellow(255, 255, 192);
const QColor lightOrange(255, 224, 192);

// The grid's columns with the colours they are designed with; the first is the tooltip
// background. The description explains itself in a tooltip, so it carries the question-mark
// pointer.
std::vector<LineGrid::Column> gridColumns(const QPalette& palette) {
    const std::array<QColor, columns> colours = {palette.color(QPalette::ToolTipBase), lightCyan,
                                                 lightYellow, lightOrange, lightYellow};
    std::vector<LineGrid::Column> result;
    for (int c = 0; c < columns; ++c)
        result.push_back({QLatin1String(headerCaptions[c]), colours[std::size_t(c)],
                          c == 1 ? Qt::WhatsThisCursor : Qt::ArrowCursor, c == 1 ? 3 : 0});
    return result;
}

QString shownDate(const QDate& date) {
    return formatDate(date, QStringLiteral("mmm dd, yyyy"));
}

} // namespace

viewinvoice::viewinvoice() {
    setObjectName(QStringLiteral("viewinvoice"));
    setWindowTitle(QStringLiteral("Viewing/editing Invoice #"));
    buildControls();
}

void viewinvoice::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        Label1[i] = new QLabel(QLatin1String(fieldCaptions[i]), this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        const bool editable = i == 5 || i == 8;
        if (!editable)
            showOnly(Text1[i]);
        const int row = i % 5;
        const int column = (i / 5) * 2;
        fields->addWidget(Label1[i], row, column, Qt::AlignRight);
        fields->addWidget(Text1[i], row, column + 1);
    }
    layout->addLayout(fields);
    // Typing changes the total as soon as the text is a rate; the form and the refusal wait
    // until the field is left, and until the click that left it has been handled.
    connect(Text1[8], &QLineEdit::textChanged, this, &viewinvoice::redisplay);
    connect(Text1[8], &QLineEdit::editingFinished, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (!isUnloaded() && !closing)
                settleTax();
        });
    });

    buildGrid();
    layout->addLayout(grid_->layout());

    QHBoxLayout* buttons = buttonRow<3>(this, Command1, {"&Save", "C&onfirm", "&Close"});
    ExportList = listexport::exportButton(this);
    buttons->insertWidget(0, ExportList);
    connect(ExportList, &QPushButton::clicked, this, &viewinvoice::exportLines);
    layout->addLayout(buttons);
    connect(Command1[0], &QPushButton::clicked, this, &viewinvoice::save);
    connect(Command1[1], &QPushButton::clicked, this, &viewinvoice::confirm);
    connect(Command1[2], &QPushButton::clicked, this, &viewinvoice::closeEditor);
    addOutputButtons(buttons);
}

void viewinvoice::buildGrid() {
    grid_ = new LineGrid(this, gridColumns(palette()), rows);
    grid_->copyColumns(Text2, Text3, Text4, Text5, Text6);
    grid_->copyHeaders(Label2);
    VScroll1 = grid_->scrollBar();
    connect(grid_, &LineGrid::clicked, this, [this](int, int r) { gridClick(r); });
    connect(grid_, &LineGrid::hovered, this, [this](int column, int r) {
        if (column == 1)
            descriptionTip(r);
    });
    connect(VScroll1, &QScrollBar::valueChanged, this, &viewinvoice::redisplay);
}

bool viewinvoice::load() {
    Text1[9]->setEnabled(false);
    max_delivery = 0;
    cnt = 0;
    confirmed = false;
    lines_changed = false;
    storedConfirmed_ = false;
    lines_.clear();
    settings_ = business().settings();
    try {
        if (rec < 0) {
            loadNew();
        } else if (!loadStored()) {
            return false;
        }
    } catch (const DbError& error) {
        prompts::engineError(error);
        unload();
        return false;
    }
    if (isUnloaded())
        return false;
    redisplay();
    showPaid(itemcosting::amountOf(Text1[7]->text()));
    if (sell != 1)
        adder2(sell);
    return true;
}

void viewinvoice::loadNew() {
    const qint64 next = nextInvoiceNumber(business().connection(Business::sales_invoices));
    if (next > highestInvoiceNumber) {
        prompts::message(numbersExhaustedMessage(), QString(), PromptIcon::Exclamation);
        unload();
        return;
    }
    const int customer = -int(rec) - 1;
    setWindowTitle(QStringLiteral("New Invoice for customer ") +
                   format(customer, QStringLiteral("0000")));
    is_new = true;
    Text1[0]->setText(format(next, QStringLiteral("0000")));
    Text1[1]->setText(format(customer, QStringLiteral("0000")));
    Text1[2]->setText(shownDate(appclock::today()));
    Text1[3]->setText(QStringLiteral("n/a"));
    Text1[4]->setText(QStringLiteral("n/a"));
    Text1[5]->setText(QStringLiteral(" "));
    Text1[6]->setText(format(0, QStringLiteral("$0.00")));
    Text1[7]->setText(format(0, QStringLiteral("$0.00")));
    Text1[9]->setText(QStringLiteral("No"));
    showTax(settings_.sales_tax);
    loaded_ = shownState();
}

// False when the invoice cannot be shown; the window has unloaded itself then.
bool viewinvoice::loadStored() {
    using namespace SalesInvoices;
    RecordSet& invoices = business().connection(Business::sales_invoices);
    if (rec >= invoices.recordCount()) {
        prompts::message(QStringLiteral("Invoice row %1 does not exist.").arg(rec), QString(),
                         PromptIcon::Exclamation);
        unload();
        return false;
    }
    invoices.moveFirst();
    invoices.move(rec);
    is_new = false;
    Text1[0]->setText(format(invoices.field(invoice_no).toInt64(), QStringLiteral("0000")));
    Text1[1]->setText(format(invoices.field(cust_no).toInt64(), QStringLiteral("0000")));
    Text1[2]->setText(shownDate(invoices.field(update_date).toDate()));
    if (invoices.field(SalesInvoices::confirmed).toBool()) {
        Text1[3]->setText(shownDate(invoices.field(confirmed_date).toDate()));
        Text1[4]->setText(shownDate(invoices.field(delivery_date).toDate()));
        confirmed = true;
        storedConfirmed_ = true;
    } else {
        Text1[3]->setText(QStringLiteral("N/A"));
        Text1[4]->setText(QStringLiteral("N/A"));
    }
    Text1[5]->setText(invoices.field(salesperson).toText().toUpper());
    Text1[6]->setText(format(invoices.field(amount_owed).toMoney(), QStringLiteral("$0.00")));
    Text1[7]->setText(format(invoices.field(amount_paid).toMoney(), QStringLiteral("$0.00")));
    Text1[9]->setText(QLatin1String(invoices.field(delivered).toBool() ? "Yes" : "No"));
    showTax(invoices.field(tax_percent).toFloat());

    bool complete = true;
    if (!Text1[0]->text().isEmpty())
        complete = lines_.load(business().connection(Business::items_per_sale),
                               itemcosting::wholeNumberOf(Text1[0]->text()));
    cnt = qint16(lines_.count());
    VScroll1->setRange(0, InvoiceLines::scrollMaximumForLoaded(cnt));
    VScroll1->setValue(0);
    loaded_ = shownState();
    if (!complete) {
        // Saving would drop the lines that could not be shown.
        Command1[0]->setEnabled(false);
        prompts::message(QStringLiteral("This invoice has more than %1 lines. Only the first %1 "
                                        "are shown, and the invoice cannot be saved here.")
                             .arg(InvoiceLines::capacity),
                         QString(), PromptIcon::Exclamation);
    }
    checkDelivery();
    return true;
}

void viewinvoice::checkDelivery() {
    if (!deliveryOverdue(confirmed, Text1[9]->text(), Text1[4]->text(), appclock::today()))
        return;
    if (!prompts::question(
            QStringLiteral("It's pass the delivery date, has the products been delivered?"),
            QStringLiteral("products delivery for customer at date: ") + Text1[4]->text()))
        return;
    Text1[9]->setText(QStringLiteral("Yes"));
    prompts::message(QStringLiteral("Set to yes. Please remember to save new changes"));
}

void viewinvoice::redisplay() {
    max_delivery = raisedMaxDelivery(max_delivery, lines_.inUse());
    if (confirmed) {
        Text1[5]->setEnabled(false);
        Text1[8]->setEnabled(false);
        Command1[1]->setEnabled(false);
    }
    grid_->setBoxesEnabled(!confirmed);
    for (int r = 0; r < rows; ++r) {
        const int k = r + VScroll1->value();
        grid_->showRow(r, lines_.line(k), k <= cnt && k < InvoiceLines::capacity && !confirmed);
    }
    // While the typed tax is no rate yet, the rate in force counts.
    const std::optional<float> typed = taxRate(Text1[8]->text());
    const InvoiceTotal total = invoiceTotal(lines_.inUse(), typed.value_or(settled_rate),
                                            typed ? Text1[8]->text() : settled_tax);
    owed_ = total.amount;
    Text1[6]->setText(total.owed);
    Text1[8]->setToolTip(total.tip);
}

void viewinvoice::showTax(float percent) {
    settled_rate = percent;
    settled_tax = taxText(percent);
    Text1[8]->setText(settled_tax);
}

bool viewinvoice::settleTax() {
    QLineEdit* field = Text1[8];
    // The rate the invoice came with stands as it is, even one no longer accepted.
    if (field->text() == settled_tax)
        return true;
    QString refusal;
    if (const std::optional<QString> rest = taxFieldAtRest(field->text(), &refusal)) {
        settled_rate = *taxRate(*rest);
        settled_tax = *rest;
        field->setText(*rest);
        return true;
    }
    // Back to the rate in force before the box shows, so that nothing reads the refused text.
    field->setText(settled_tax);
    prompts::message(refusal);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

viewinvoice::Shown viewinvoice::shownState() const {
    return {Text1[5]->text(), taxRate(Text1[8]->text()), Text1[8]->text(), Text1[9]->text(),
            confirmed};
}

bool viewinvoice::changed() const {
    const Shown now = shownState();
    const bool taxChanged = now.taxText != loaded_.taxText && (!now.tax || now.tax != loaded_.tax);
    return lines_changed || taxChanged || now.salesperson != loaded_.salesperson ||
           now.delivered != loaded_.delivered || now.confirmed != loaded_.confirmed;
}

void viewinvoice::gridClick(int r) {
    Command1[2]->setFocus();
    if (confirmed || !settleTax())
        return;
    const int k = r + VScroll1->value();
    if (k > cnt || cnt >= InvoiceLines::capacity)
        return;
    onto = qint16(k);
    const InvoiceLine& line = lines_.line(k);
    Data1 = line[SaleCell::ip_code].left(4) + QLatin1String("     ") + line[SaleCell::description];
    data2 = line[SaleCell::unit_price];
    data3 = line[SaleCell::qty];

    getpart& picker = getpart::get(business());
    picker.mode = -1;
    picker.caller = this;
    picker.load();
    picker.runModal();
}

PickerLine viewinvoice::pickerLine() const {
    PickerLine line;
    line.code = Data1;
    line.unitPrice = data2;
    line.qty = data3;
    // The clicked line's tag, so that an item line opens with items listed and stays an item.
    line.kind = lines_.line(onto)[SaleCell::ip_code].right(1);
    return line;
}

void viewinvoice::adder(qint16 row) {
    getpart* picker = getpart::loaded();
    if (!picker)
        return;
    InvoiceLines::Choice choice;
    choice.isPart = picker->is_part != 0;
    choice.entry = picker->Text1[2]->text();
    choice.unitPrice = picker->Text1[3]->text();
    choice.qty = picker->Text1[4]->text();
    choice.deliveryDays = picker->cur_hours;
    // A line is priced as the part or item sells from its list, whatever the picker shows.
    const qint64 number = picker::chosenNumber(choice.entry);
    const int table = choice.isPart ? Business::parts : Business::assembled_items;
    if (const std::optional<InvoiceLines::Sold> listed =
            InvoiceLines::listedRecord(business().connection(table), choice.isPart, number))
        choice.unitPrice = format(listed->price, QStringLiteral("$0.00"));
    const InvoiceLines::Placed placed = lines_.place(row, choice);
    lines_changed = lines_changed || placed.changed;
    if (placed.appended) {
        cnt = qint16(lines_.count());
        if (const std::optional<int> maximum = InvoiceLines::scrollMaximumAfterAppend(cnt)) {
            VScroll1->setMaximum(*maximum);
            VScroll1->setValue(VScroll1->value() + 1);
        }
    }
    picker->unload();
    redisplay();
}

void viewinvoice::adder2(qint16 mode) {
    if (mode != Business::parts && mode != Business::assembled_items)
        return;
    const std::optional<InvoiceLines::Sold> sold =
        InvoiceLines::soldRecord(business().connection(mode), mode == Business::parts);
    if (!sold) {
        prompts::message(QStringLiteral("There is no part or item selected to sell."));
        return;
    }
    if (!InvoiceLines::codeFits(sold->number)) {
        prompts::message(picker::numberTooLargeMessage(), QString(), PromptIcon::Exclamation);
        return;
    }
    // Asked again until the answer is a quantity; cancel and an empty answer sell one.
    std::optional<QString> qty;
    while (!qty) {
        const QString answer = prompts::input(QStringLiteral("Enter quantity to sell"),
                                              QStringLiteral("Selling parts/items"));
        QString refusal;
        qty = saleQuantity(answer, &refusal);
        if (!qty)
            prompts::message(refusal);
    }
    lines_changed = lines_.appendSale(*sold, *qty);
    cnt = qint16(lines_.count());
    redisplay();
}

void viewinvoice::descriptionTip(int r) {
    const InvoiceLine& line = lines_.line(r + VScroll1->value());
    Text3[std::size_t(r)]->setToolTip(QStringLiteral("max delivery is ") +
                                      line[SaleCell::delivery_days] + QStringLiteral(" days"));
}

void viewinvoice::confirm() {
    if (!settleTax())
        return;
    confirmed = true;
    const QDate today = appclock::today();
    Text1[3]->setText(shownDate(today));
    redisplay();
    Text1[4]->setText(shownDate(deliveryDate(today, max_delivery)));
    prompts::message(QStringLiteral("confirm set. Please save to record committment and changes"));
}

void viewinvoice::save() {
    if (!settleTax())
        return;
    if (cnt == 0) {
        prompts::message(QStringLiteral("Please fill in one item to buy"));
        return;
    }
    // A total past what an amount can hold would be stored as 0: refuse rather than store
    // something other than what is shown.
    if (!owed_) {
        prompts::message(QStringLiteral("The total owed is too large to be saved."), QString(),
                         PromptIcon::Exclamation);
        return;
    }
    const InvoiceBoxes boxes = shownBoxes();
    try {
        lines_.save(business().connection(Business::items_per_sale),
                    business().connection(Business::sales_invoices), savedInvoice(boxes),
                    is_new, rec);
    } catch (const DbError& error) {
        prompts::engineError(error);
        return;
    }
    prompts::message(QStringLiteral("saved"));
    leave();
}

// Changes not saved are given up only when the user says so.
void viewinvoice::closeEditor() {
    // A tax typed and left by this click is part of what is given up, or, when the user stays,
    // taken or refused afterwards.
    closing = true;
    const bool close = unsavedwork::mayClose(changed());
    closing = false;
    if (close)
        leave();
    else
        settleTax();
}

void viewinvoice::leave() {
    unload();
    if (showinvoices* list = showinvoices::loaded())
        list->unload();
}

// The close box and Esc leave as "&Close" does.
void viewinvoice::reject() {
    closeEditor();
}

// The lines as shown, saved or not.
void viewinvoice::exportLines() {
    QStringList captions;
    for (const char* caption : headerCaptions)
        captions << QLatin1String(caption);
    listexport::exportTable(this, QStringLiteral("Invoice %1.csv").arg(Text1[0]->text()),
                            salesexport::invoiceLines(lines_.inUse(), captions));
}
