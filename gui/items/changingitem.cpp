#include "gui/items/changingitem.h"

#include "gui/widgets/keyclick.h"
#include "core/business/business.h"
#include "core/common/database.h"
#include "gui/widgets/buttonrow.h"
#include "gui/widgets/linegrid.h"
#include "gui/widgets/showonly.h"
#include "gui/widgets/unsavedwork.h"
#include "core/common/prompts.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "gui/finder/getpart.h"
#include "core/items/itemtables.h"
#include "gui/items/stalemarks.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

using namespace itemcosting;

namespace {

constexpr int columns = 9;
constexpr int rows = ItemLines::visibleRows;

const char* const fieldCaptions[8] = {"Item Code: ",  "Item Name:",       "Total Costs",
                                      "Total Labour", "Max Deivery Time", "Mark up Rate",
                                      "Part count",   "Item Class"};
const char* const headerCaptions[columns] = {"   I/P #", "       Description", "   Unit price",
                                             " QTY",     " Total Price",       " A. hours",
                                             "E. Hours", "T. Hours",           "Total  I/P cost"};

const QColor lightYellow(255, 255, 192);
const QColor lightCyan(192, 255, 255);
const QColor lightGreen(192, 255, 192);

// The grid's columns with the colours they are designed with; the first is the tooltip
// background. Columns whose boxes explain themselves in a tooltip carry the question-mark
// pointer.
std::vector<LineGrid::Column> gridColumns(const QPalette& palette) {
    const std::array<QColor, columns> colours = {palette.color(QPalette::ToolTipBase),
                                                 lightYellow,
                                                 lightCyan,
                                                 lightGreen,
                                                 lightCyan,
                                                 lightYellow,
                                                 lightYellow,
                                                 lightYellow,
                                                 lightCyan};
    std::vector<LineGrid::Column> result;
    for (int c = 0; c < columns; ++c) {
        const bool explained = c == 1 || c >= 5;
        result.push_back({QLatin1String(headerCaptions[c]), colours[std::size_t(c)],
                          explained ? Qt::WhatsThisCursor : Qt::ArrowCursor, c == 1 ? 2 : 0});
    }
    return result;
}

} // namespace

changingitem::changingitem() {
    setObjectName(QStringLiteral("changingitem"));
    setWindowTitle(QStringLiteral("Setting up the item"));
    buildControls();
}

void changingitem::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    for (int i = 0; i < 8; ++i) {
        Label1[i] = new QLabel(QLatin1String(fieldCaptions[i]), this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Label1[i]->installEventFilter(this);
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        // The mark-up and the class change by a click; the others are shown only.
        if (i == 5 || i == 7)
            Text1[i]->setReadOnly(true);
        else
            showOnly(Text1[i]);
        Text1[i]->installEventFilter(this);
        const int row = i % 4;
        const int column = (i / 4) * 2;
        fields->addWidget(Label1[i], row, column, Qt::AlignRight);
        fields->addWidget(Text1[i], row, column + 1);
    }
    Text1[1]->setMinimumWidth(200);
    Text1[7]->setMinimumWidth(200);
    marks_ = new StaleMarks(this);
    fields->addLayout(marks_->layout(), 0, 4, 4, 1);
    connect(marks_->button(), &QPushButton::clicked, this, &changingitem::updatePrices);
    layout->addLayout(fields);

    buildGrid();
    layout->addLayout(grid_->layout());

    layout->addLayout(buttonRow<3>(this, Command1, {"Save Item", "Confirm item", "Cancel"}));
    connect(Command1[0], &QPushButton::clicked, this, &changingitem::save);
    connect(Command1[1], &QPushButton::clicked, this, &changingitem::confirm);
    connect(Command1[2], &QPushButton::clicked, this, &changingitem::cancel);

    // The class list drops below the class field over the other controls.
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->hide();
    List1->installEventFilter(this);
    const auto pick = [this](QListWidgetItem* item) {
        const bool byKey = List1->hasFocus();
        Text1[7]->setText(item->text());
        hideClassList();
        if (byKey)
            Text1[7]->setFocus();
    };
    connect(List1, &QListWidget::itemClicked, this, pick);
    // A double-click, or Enter on the current class.
    connect(List1, &QListWidget::itemActivated, this, pick);
}

void changingitem::buildGrid() {
    grid_ = new LineGrid(this, gridColumns(palette()), rows);
    grid_->copyColumns(Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10);
    grid_->copyHeaders(Label2);
    for (QLabel* label : Label2)
        label->installEventFilter(this);
    VScroll1 = grid_->scrollBar();
    connect(grid_, &LineGrid::clicked, this, [this](int, int r) { gridClick(r); });
    connect(grid_, &LineGrid::hovered, this, &changingitem::set_edit_tip);
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] {
        hideClassList();
        redisplay();
    });
    buildLineRemoval();
}

void changingitem::fillClassList() {
    List1->clear();
    List1->addItem(QStringLiteral("000      MISC"));
    const CodeTable& codes = business().class_codes();
    for (int n = 1; n <= CodeTable::count; ++n)
        List1->addItem(format(n, QStringLiteral("000")) + QLatin1String("     ") + codes.entry(n));
}

void changingitem::load(const QString& itemCode, const QString& description) {
    fillClassList();
    Text1[0]->setText(itemCode);
    Text1[1]->setText(description);
    settings_ = business().settings();
    confirmed = false;
    complete_ = true;
    prices_.clear();
    try {
        lines_.clear();
        if (!Text1[0]->text().isEmpty())
            complete_ = lines_.load(business().connection(Business::parts_list),
                                    business().connection(Business::parts),
                                    business().connection(Business::assembled_items),
                                    wholeNumberOf(Text1[0]->text()), &prices_);
        readItemRow();
    } catch (const DbError& error) {
        prompts::engineError(error);
        complete_ = false;
    }
    cnt = qint16(lines_.count());
    stale_.refresh(lines_, prices_);
    // Saving would drop the lines that could not be shown, and a confirmed item stays as stored.
    Command1[0]->setEnabled(!confirmed && complete_);
    if (!complete_ && cnt == ItemLines::capacity)
        prompts::message(QStringLiteral("This item has more than %1 lines. Only the first %1 are "
                                        "shown, and the item cannot be saved here.")
                             .arg(ItemLines::capacity),
                         QString(), PromptIcon::Exclamation);
    VScroll1->setRange(0, ItemLines::scrollMaximumForLoaded(cnt));
    VScroll1->setValue(0);
    redisplay();
    loaded_ = {std::vector<ItemLine>(lines_.inUse().begin(), lines_.inUse().end()),
               Text1[5]->text(), Text1[7]->text(), confirmed};
}

// Only work that Save could keep counts: a confirmed item opened again, or one too long to
// save, is only shown.
bool changingitem::unsavedChanges() const {
    if (!Command1[0]->isEnabled())
        return false;
    const std::span<const ItemLine> now = lines_.inUse();
    return confirmed != loaded_.confirmed || Text1[5]->text() != loaded_.markup ||
           Text1[7]->text() != loaded_.itemClass ||
           !std::equal(now.begin(), now.end(), loaded_.lines.begin(), loaded_.lines.end());
}

void changingitem::readItemRow() {
    RecordSet& items = business().connection(Business::assembled_items);
    Text1[5]->setText(markupText(0.0f));
    Text1[7]->clear();
    if (area < 0 || area >= items.recordCount())
        return;
    items.moveFirst();
    items.move(area);
    Text1[5]->setText(markupText(items.field(AssembledItems::markup).toFloat()));
    const qint64 itemClass = items.field(AssembledItems::item_class).toInt64();
    if (itemClass >= 0 && itemClass < List1->count())
        Text1[7]->setText(List1->item(int(itemClass))->text());
    confirmed = items.field(AssembledItems::confirmed).toBool();
}

float changingitem::markupFactor() const {
    return markupOf(Text1[5]->text());
}

void changingitem::redisplay() {
    if (confirmed) {
        Text1[5]->setEnabled(false);
        Command1[1]->setEnabled(false);
    }
    for (int r = 0; r < rows; ++r) {
        const int k = r + VScroll1->value();
        grid_->showRow(r, lines_.line(k), k <= cnt && !confirmed);
    }
    marks_->show(stale_, *grid_, VScroll1->value(), !confirmed && Command1[0]->isEnabled());
    showTotals();
}

void changingitem::showTotals() {
    const ItemTotals totals = lines_.totals();
    Text1[6]->setText(totals.partCount);
    Text1[2]->setText(totals.totalCosts);
    Text1[4]->setText(totals.maxDelivery);
    Text1[3]->setText(totals.totalLabour);
}

void changingitem::gridClick(int r) {
    hideClassList();
    Command1[2]->setFocus();
    if (confirmed)
        return;
    const int k = r + VScroll1->value();
    if (k > cnt || cnt >= ItemLines::capacity)
        return;
    onto = qint16(k);
    const ItemLine& line = lines_.line(k);
    const QString& code = line[ItemCell::ip_code];
    Data1 = code.left(4) + QLatin1String("     ") + line[ItemCell::description];
    data7 = code.right(1);
    data2 = line[ItemCell::asm_hours];
    data3 = line[ItemCell::eng_hours];
    data4 = line[ItemCell::test_hours];
    data5 = line[ItemCell::unit_price];
    data6 = line[ItemCell::qty];

    getpart& picker = getpart::get(business());
    picker.mode = 0;
    picker.caller = this;
    picker.load();
    picker.runModal();
}

PickerLine changingitem::pickerLine() const {
    PickerLine line;
    line.code = Data1;
    line.unitPrice = data5;
    line.qty = data6;
    line.asmHours = data2;
    line.engHours = data3;
    line.testHours = data4;
    line.kind = data7;
    return line;
}

void changingitem::adder(qint16 ar) {
    getpart* picker = getpart::loaded();
    if (!picker)
        return;
    PickedChoice choice;
    choice.isPart = picker->is_part != 0;
    choice.entry = picker->Text1[2]->text();
    choice.unitCost = picker->Text1[3]->text();
    choice.qty = picker->Text1[4]->text();
    choice.asmHours = picker->Text1[5]->text();
    choice.engHours = picker->Text1[6]->text();
    choice.testHours = picker->Text1[7]->text();
    choice.deliveryDays = picker->cur_hours;

    if (ItemLines::isHost(choice, wholeNumberOf(Text1[0]->text()))) {
        prompts::message(QStringLiteral("Sorry, can not use the same host item as a part item"),
                         QStringLiteral("Recursive"), PromptIcon::Exclamation);
        return;
    }
    const auto multiply = [] {
        return prompts::question(QStringLiteral("This part/item has been inserted already. Do "
                                                "you want to Multiply the rates by qty"));
    };
    const ItemLines::Placed placed = lines_.place(ar, choice, multiply, settings_, markupFactor());
    if (placed.row >= 0)
        stale_.refreshLine(lines_, prices_, placed.row);
    if (placed.appended) {
        cnt = qint16(lines_.count());
        if (const std::optional<int> maximum = ItemLines::scrollMaximumAfterAppend(cnt)) {
            VScroll1->setMaximum(*maximum);
            VScroll1->setValue(VScroll1->value() + 1);
        }
    }
    picker->unload();
    redisplay();
}

void changingitem::set_edit_tip(int column, int r) {
    const int k = r + VScroll1->value();
    QString tip;
    if (column == 0 || (column >= 2 && column <= 4)) {
        if (k <= cnt)
            tip = QStringLiteral("Click to edit/add part");
    } else if (k < cnt) {
        const ItemLine& line = lines_.line(k);
        const QString box = grid_->box(column, r)->text();
        switch (column) {
        case 1:
            tip = line[ItemCell::description];
            break;
        case 5:
            tip = labourTip(Labour::Assembly, box, settings_);
            break;
        case 6:
            tip = labourTip(Labour::Engineering, box, settings_);
            break;
        case 7:
            tip = labourTip(Labour::Testing, box, settings_);
            break;
        default:
            tip = costTip(line, settings_, Text1[5]->text());
            break;
        }
    }
    if (column == StaleMarks::priceColumn && stale_.isStale(k))
        tip = staleprices::tipText(stale_.currentOf(k), lines_.line(k)[ItemCell::unit_price]);
    grid_->box(column, r)->setToolTip(tip);
}

void changingitem::markupEntry() {
    hideClassList();
    const QString answer =
        prompts::input(QStringLiteral("Enter mark up rate "), QStringLiteral("mark up rate"));
    QString refusal;
    if (const std::optional<QString> text = itemcosting::markupEntry(answer, &refusal)) {
        Text1[5]->setText(*text);
        lines_.recomputeCosts(settings_, markupFactor());
        redisplay();
    } else if (!refusal.isEmpty()) {
        prompts::message(refusal, QString(), PromptIcon::Exclamation);
    }
    Command1[2]->setFocus();
}

// The out-of-date lines take their components' prices now, as a mark-up entry takes its
// factor: shown at once, kept only by Save.
void changingitem::updatePrices() {
    hideClassList();
    staleprices::update(lines_, stale_, settings_, markupFactor());
    stale_.refresh(lines_, prices_);
    redisplay();
    Command1[2]->setFocus();
}

void changingitem::classClicked() {
    hideClassList();
    Command1[2]->setFocus();
    const QPoint below = Text1[7]->mapTo(this, QPoint(0, Text1[7]->height()));
    List1->setGeometry(below.x(), below.y(), Text1[7]->width(), qMin(240, height() - below.y()));
    List1->show();
    List1->raise();
}

// Opened from the keyboard, the list takes the focus on the class shown, so that the arrows
// and Enter choose.
void changingitem::classListByKey() {
    classClicked();
    const QList<QListWidgetItem*> shown = List1->findItems(Text1[7]->text(), Qt::MatchExactly);
    List1->setCurrentItem(shown.isEmpty() ? List1->item(0) : shown.first());
    List1->setFocus();
}

void changingitem::hideClassList() {
    List1->hide();
}

void changingitem::save() {
    // An amount beyond the money type would be stored as 0.
    const QString refusal = saveRefusal(lines_.inUse(), Text1[2]->text());
    if (!refusal.isEmpty()) {
        prompts::message(refusal, QString(), PromptIcon::Exclamation);
        return;
    }
    const SavedItem item = savedItem({Text1[2]->text(), Text1[3]->text(), Text1[4]->text(),
                                      Text1[5]->text(), Text1[7]->text(), confirmed});
    try {
        lines_.save(business().connection(Business::parts_list),
                    business().connection(Business::assembled_items), area,
                    wholeNumberOf(Text1[0]->text()), item);
    } catch (const DbError& error) {
        prompts::engineError(error);
        return;
    }
    prompts::message(QStringLiteral("saved"));
    unload(QDialog::Accepted);
}

void changingitem::confirm() {
    confirmed = true;
    redisplay();
}

// The opener rebuilds its list once the window has closed. Work not saved is dropped only when
// the user agrees.
void changingitem::cancel() {
    if (unsavedwork::mayClose(unsavedChanges()))
        unload();
}

bool changingitem::eventFilter(QObject* watched, QEvent* event) {
    // A greyed field, the mark-up of a confirmed item among them, does nothing.
    if (keyclick::reachesDisabled(watched, event))
        return QDialog::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress;
    const bool doublePress = type == QEvent::MouseButtonDblClick;
    const bool key = isKeyClick(event);
    if (watched == List1) {
        // Esc closes the list, not the window.
        if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            hideClassList();
            Text1[7]->setFocus();
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }
    if (!press && !doublePress && !key)
        return QDialog::eventFilter(watched, event);
    if (watched == Text1[5]) {
        markupEntry();
        return true;
    }
    if (watched == Text1[7]) {
        // A double-click only opens the list again.
        if (key)
            classListByKey();
        else
            classClicked();
        return true;
    }
    if (press && qobject_cast<QLabel*>(watched))
        hideClassList();
    return QDialog::eventFilter(watched, event);
}

bool changingitem::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        Command1[2]->setFocus();
    return QDialog::event(event);
}

void changingitem::mousePressEvent(QMouseEvent* event) {
    hideClassList();
    QDialog::mousePressEvent(event);
}

void changingitem::mouseDoubleClickEvent(QMouseEvent* event) {
    hideClassList();
    QDialog::mouseDoubleClickEvent(event);
}

void changingitem::edit(Business& business, int position, const QString& itemCode,
                        const QString& description) {
    changingitem& builder = get(business);
    builder.area = qint16(position);
    builder.load(itemCode, description);
    builder.setWindowTitle(QStringLiteral("Editing/Viewing item"));
    builder.Command1[2]->setText(QStringLiteral("Close"));
    builder.runModal();
}

// The close box and Esc leave as Cancel does.
void changingitem::reject() {
    cancel();
}

// --- Removing a line

void changingitem::buildLineRemoval() {
    grid_->setRemovable([this](int k) { return canRemoveLine(k); });
    connect(grid_, &LineGrid::removeRequested, this, &changingitem::removeLine);
}

// A line of an item that can still change, and can be saved here.
bool changingitem::canRemoveLine(int k) const {
    return !confirmed && complete_ && k >= 0 && k < cnt;
}

void changingitem::removeLine(int k) {
    hideClassList();
    if (!canRemoveLine(k) || !prompts::question(QStringLiteral("Remove line %1?").arg(k + 1)))
        return;
    lines_.remove(k);
    // The lines after it move up, and their marks with them.
    stale_.refresh(lines_, prices_);
    cnt = qint16(lines_.count());
    VScroll1->setRange(0, ItemLines::scrollMaximumForLoaded(cnt));
    redisplay();
}
