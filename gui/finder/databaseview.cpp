#include "gui/finder/databaseview.h"

#include "core/common/database.h"
#include "core/common/prompts.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/finder/findermodel.h"
#include "gui/finder/finderactions.h"
#include "gui/widgets/fulltext.h"
#include "gui/widgets/keyclick.h"
#include "gui/widgets/listexport.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
struct ListTexts {
    const char* caption;
    const char* headers[5];
    const char* buttons[5];
    const char* tips[5];
};

const ListTexts partsTexts = {
    "Main parts list",
    {"         Part #", "      Manufacturer", "                 Description", "           Type",
     "      Selling Price"},
    {"Add New Part", "Edit Part", "Delete Part", "Close", "Sell Part"},
    {"click to enter in a new part for the database",
     "click to view the part details of the selected part", "Select to delete the selected part",
     "click to close the database table", "Select to sell the part to a customer in a new invoice"}};

const ListTexts customerTexts = {
    "customer list",
    {"         Cust #", "      First Name", "                 Last Name", "      Total_value",
     "      Telephone"},
    {"Add New customer", "Edit customer", "Delete customer", "Close", "View Invoices"},
    {"click to enter in a new customer for the database",
     "Select to view the selected customer's information", "click to delete the customer",
     "click to close the database table",
     "click to view the invoices undr that selected customer. Press the customer button to clear "
     "the list to view all invoices."}};

const ListTexts itemTexts = {
    "Item list ",
    {"         Item #", "      Total Costs", "                 Description", "     Mark Up Rate",
     "     Max Delivery Time "},
    {"Edit item", "Sell Item", "Delete Item", "Close", "View Invoices"},
    {"click to view or edit an assembled item",
     "click to sell the item to a customer within a new invoice.",
     "Select to delete the selected item.", "click to close the database table", ""}};

const ListTexts& textsFor(int mode) {
    if (mode == 0)
        return partsTexts;
    return mode == 1 ? customerTexts : itemTexts;
}

} // namespace

databaseview::databaseview() : actions_(std::make_unique<FinderActions>(*this)) {
    setObjectName(QStringLiteral("databaseview"));
    buildControls();
}

databaseview::~databaseview() = default;

RecordSet& databaseview::connection(int n) const {
    return business().connection(n);
}

void databaseview::buildControls() {
    model_ = new FinderModel(this);
    auto* columns = new QGridLayout;
    columns->setSpacing(2);
    QItemSelectionModel* selection = nullptr;
    for (int i = 0; i < 5; ++i) {
        Label1[i] = new QLabel(this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Label1[i]->setFrameShape(QFrame::Panel);
        Label1[i]->setFrameShadow(QFrame::Raised);
        Label1[i]->installEventFilter(this);
        List1[i] = new QListView(this);
        List1[i]->setObjectName(QStringLiteral("List1(%1)").arg(i));
        List1[i]->setModel(model_);
        List1[i]->setModelColumn(i);
        List1[i]->setItemDelegate(new FullTextDelegate(List1[i]));
        List1[i]->setUniformItemSizes(true);
        // Lines are laid out again when the column changes width, so that they elide to it.
        List1[i]->setResizeMode(QListView::Adjust);
        // Amounts are right-aligned with blanks, which only lines up in a fixed-pitch font.
        List1[i]->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        List1[i]->setSelectionMode(QAbstractItemView::SingleSelection);
        List1[i]->setSelectionBehavior(QAbstractItemView::SelectRows);
        List1[i]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        List1[i]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (i < 4)
            List1[i]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (selection)
            List1[i]->setSelectionModel(selection);
        else
            selection = List1[i]->selectionModel();
        connect(List1[i]->verticalScrollBar(), &QScrollBar::valueChanged, this,
                &databaseview::levelColumns);
        connect(List1[i], &QListView::doubleClicked, this, [this] {
            closeSearch();
            actions_->lineDoubleClicked();
        });
        columns->addWidget(Label1[i], 0, i);
        columns->addWidget(List1[i], 1, i);
        columns->setColumnStretch(i, i == 2 ? 2 : 1);
    }
    connect(selection, &QItemSelectionModel::selectionChanged, this, &databaseview::onSelection);

    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 5; ++i) {
        Command1[i] = new QPushButton(this);
        Command1[i]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        Command1[i]->setAutoDefault(false);
        buttons->addWidget(Command1[i]);
        connect(Command1[i], &QPushButton::clicked, this,
                [this, i] { actions_->Command1_Click(i); });
    }
    ExportList = listexport::exportButton(this);
    buttons->addWidget(ExportList);
    connect(ExportList, &QPushButton::clicked, this, &databaseview::exportList);

    Frame1 = new QGroupBox(QStringLiteral("Database Data Finder"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label2 = new QLabel(QStringLiteral("Looking For"), Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Command2 = new QPushButton(QStringLiteral("X"), Frame1);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);
    auto* searchRow = new QHBoxLayout(Frame1);
    searchRow->addWidget(Label2);
    searchRow->addWidget(Text1, 1);
    searchRow->addWidget(Command2);
    Frame1->hide();
    connect(Text1, &QLineEdit::textChanged, this, &databaseview::search);
    connect(Command2, &QPushButton::clicked, this, &databaseview::closeSearch);

    List4 = new QListWidget(this);
    List4->setObjectName(QStringLiteral("List4"));
    List4->setWindowFlags(Qt::Widget);
    List4->hide();
    connect(List4, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { actions_->customerPicked(List4->row(item)); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    resize(980, 520);
    connectKeys();
}

// Keys for what the mouse does: a header takes the focus by Tab and sorts with Return or
// Space; F3 or Ctrl+F on a header or its column opens the search on that column, as a
// double-click on the header does; Return on a line acts as a double-click on it; Esc puts
// the search panel or the customer list away.
void databaseview::connectKeys() {
    for (int i = 0; i < 5; ++i) {
        Label1[i]->setFocusPolicy(Qt::TabFocus);
        keyclick::onActivate(Label1[i], [this, i] { headerClicked(i); });
        List1[i]->installEventFilter(this);
        keyclick::onLineReturn(List1[i], [this](const QModelIndex& line) {
            selectLine(line.row());
            closeSearch();
            actions_->lineDoubleClicked();
        });
    }
    keyclick::closeOnEscape(Frame1, List1[0]);
    keyclick::onLineReturn(
        List4, [this](const QModelIndex& line) { actions_->customerPicked(line.row()); });
    keyclick::closeOnEscape(List4, List1[0]);
    List4->installEventFilter(this);
    keyclick::returnPressesFocusedButtons(this);

    setTabOrder(Text1, Command2);
    QWidget* previous = Command2;
    for (QLabel* header : Label1) {
        setTabOrder(previous, header);
        previous = header;
    }
    for (QListView* column : List1) {
        setTabOrder(previous, column);
        previous = column;
    }
    for (QPushButton* button : Command1) {
        setTabOrder(previous, button);
        previous = button;
    }
    setTabOrder(previous, ExportList);
}

// The column whose header or list `watched` is, or -1.
int databaseview::columnOf(const QObject* watched) const {
    for (int i = 0; i < 5; ++i) {
        if (watched == Label1[i] || watched == List1[i])
            return i;
    }
    return -1;
}

bool databaseview::keyEvent(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
        // The pop-up customer list is worked by the keyboard as soon as it shows.
        if (watched == List4) {
            if (!List4->currentItem() && List4->count() > 0)
                List4->setCurrentRow(0);
            List4->setFocus(Qt::OtherFocusReason);
        }
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // A header has no focus frame of its own: it shows the focus pressed in.
        const int column = columnOf(watched);
        if (column >= 0 && watched == Label1[column])
            Label1[column]->setFrameShadow(event->type() == QEvent::FocusIn ? QFrame::Sunken
                                                                            : QFrame::Raised);
        return false;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool find = (key->key() == Qt::Key_F3 && key->modifiers() == Qt::NoModifier) ||
                          (key->key() == Qt::Key_F && key->modifiers() == Qt::ControlModifier);
        const int column = columnOf(watched);
        if (!find || column < 0)
            return false;
        headerDoubleClicked(column);
        return true;
    }
    default:
        return false;
    }
}

databaseview* databaseview::showList(Business& business, WindowHost& host, qint16 listMode) {
    if (databaseview* old = loaded())
        old->unload();
    try {
        business.openConnections();
    } catch (const DbError& error) {
        // The file with its folder, so that the user can find the one to replace.
        prompts::message(QStringLiteral("The business's data could not be opened: %1: %2")
                             .arg(error.file(), error.reason()),
                         QString(), PromptIcon::Critical);
        return nullptr;
    }
    databaseview& finder = get(business);
    finder.host_ = &host;
    finder.mode = listMode;
    finder.sort_col = 0;
    finder.setform();
    host.showChild(&finder);
    // Activating the window later (coming back to it) rebuilds the list from the tables.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(finder.parentWidget())) {
        connect(frame, &QMdiSubWindow::windowStateChanged, &finder,
                [self = &finder](Qt::WindowStates before, Qt::WindowStates now) {
                    if (!(before & Qt::WindowActive) && (now & Qt::WindowActive) &&
                        self->isVisible())
                        self->rebuild();
                });
    }
    return &finder;
}

databaseview* databaseview::reshow(qint16 listMode) {
    return showList(business(), *host_, listMode);
}

void databaseview::rebuild() {
    List4->hide();
    sort_col = 0;
    setform();
}

bool databaseview::positionOnSelection() {
    const int line = selectedLine();
    if (line < 0)
        return false;
    RecordSet& records = connection(mode);
    records.moveFirst();
    records.move(linePosition(line));
    return true;
}

void databaseview::setform() {
    const ListTexts& texts = textsFor(mode);
    setWindowTitle(QLatin1String(texts.caption));
    for (int i = 0; i < 5; ++i) {
        Label1[i]->setText(QLatin1String(texts.headers[i]));
        Command1[i]->setText(QLatin1String(texts.buttons[i]));
        Command1[i]->setToolTip(QLatin1String(texts.tips[i]));
        List1[i]->setUpdatesEnabled(false);
    }
    Command1[4]->setVisible(mode != 3);
    FinderList list =
        FinderList::build(connection(mode), mode, sort_col, business().class_codes());
    max = qint16(std::min(list.nextNumber(), 32767));
    nextNumber_ = list.nextNumber();
    model_->setList(std::move(list), mode == 0);
    for (QListView* column : List1)
        column->setUpdatesEnabled(true);
}

int databaseview::selectedLine() const {
    const QModelIndexList rows = List1[0]->selectionModel()->selectedRows(0);
    return rows.isEmpty() ? -1 : rows.first().row();
}

void databaseview::selectLine(int line) {
    QItemSelectionModel* selection = List1[0]->selectionModel();
    if (line < 0 || line >= lineCount()) {
        selection->clearSelection();
        return;
    }
    const QModelIndex index = model_->index(line, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
}

int databaseview::lineCount() const {
    return model_->rowCount();
}

QString databaseview::cellText(int column, int line) const {
    if (line < 0 || line >= lineCount() || column < 0 || column > 4)
        return QString();
    return model_->list().lines()[size_t(line)].cells[size_t(column)];
}

int databaseview::linePosition(int line) const {
    if (line < 0 || line >= lineCount())
        return -1;
    return model_->list().lines()[size_t(line)].position;
}

bool databaseview::numbersLeft() const {
    return nextNumber_ <= 32767;
}

// Selecting a line moves the record set of the shown table to that line's record.
void databaseview::onSelection() {
    if (!positionOnSelection())
        return;
    const int line = selectedLine();
    for (QListView* column : List1)
        column->scrollTo(model_->index(line, column->modelColumn()));
}

void databaseview::levelColumns(int firstRow) {
    if (levelling_)
        return;
    levelling_ = true;
    for (QListView* column : List1)
        column->verticalScrollBar()->setValue(firstRow);
    levelling_ = false;
}

void databaseview::headerClicked(int column) {
    List4->hide();
    const int keep = column == sort_col ? selectedLine() : -1;
    List1[0]->selectionModel()->clearSelection();
    sort_col = qint16(column);
    setform();
    if (keep >= 0)
        selectLine(keep);
}

void databaseview::headerDoubleClicked(int column) {
    headerClicked(column);
    Frame1->show();
    find_col = qint16(column);
    const int line = selectedLine();
    QString start;
    if (line >= 0) {
        const QString cell = cellText(column, line);
        start = isNumber(cell) ? plainText(toSingle(cell).value_or(0.0f)) : cell;
    }
    // Filling the box is not a search of its own.
    Text1->blockSignals(true);
    Text1->setText(start);
    Text1->blockSignals(false);
    Text1->show();
    Label2->show();
    Command2->show();
    Text1->setFocus();
}

void databaseview::search() {
    if (Text1->isHidden() || Frame1->isHidden())
        return;
    const int line = model_->list().search(Text1->text(), find_col);
    if (line >= 0)
        selectLine(line);
}

void databaseview::closeSearch() {
    Frame1->hide();
    List4->hide();
}

bool databaseview::eventFilter(QObject* watched, QEvent* event) {
    if (keyclick::reachesDisabled(watched, event))
        return QWidget::eventFilter(watched, event);
    if (keyEvent(watched, event))
        return true;
    for (int i = 0; i < 5; ++i) {
        if (watched != Label1[i])
            continue;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            headerClicked(i);
            return true;
        case QEvent::MouseButtonDblClick:
            headerDoubleClicked(i);
            return true;
        case QEvent::Enter:
        case QEvent::ToolTip:
            Label1[i]->setToolTip(QStringLiteral("click to sort table by  '") +
                                  Label1[i]->text().trimmed() + QStringLiteral("'  "));
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The frame's close box takes the one way out.
void databaseview::closeEvent(QCloseEvent* event) {
    event->ignore();
    unload();
}

// A click or double-click on the window's empty area closes the search panel.
void databaseview::mousePressEvent(QMouseEvent* event) {
    closeSearch();
    QWidget::mousePressEvent(event);
}

void databaseview::mouseDoubleClickEvent(QMouseEvent* event) {
    closeSearch();
    QWidget::mouseDoubleClickEvent(event);
}

// The host brings its status line back, unless the whole business is closing.
void databaseview::unloading() {
    if (host_ && businessOpen())
        host_->finderUnloaded();
}

// The list as shown: the captions, then every line in its current order.
void databaseview::exportList() {
    closeSearch();
    csv::Table table;
    for (QLabel* header : Label1)
        table.headers << listexport::cellText(header->text());
    const std::vector<FinderLine>& lines = model_->list().lines();
    table.rows.reserve(lines.size());
    for (const FinderLine& line : lines) {
        QStringList row;
        for (const QString& cell : line.cells)
            row << listexport::cellText(cell);
        table.rows.push_back(row);
    }
    listexport::exportTable(this, windowTitle().trimmed() + QStringLiteral(".csv"), table);
}
