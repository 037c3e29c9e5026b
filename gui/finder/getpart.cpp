#include "gui/finder/getpart.h"

#include "core/business/business.h"
#include "gui/widgets/discardwindow.h"
#include "gui/widgets/keyclick.h"
#include "core/common/prompts.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "gui/finder/pickercaller.h"
#include "gui/widgets/pictures.h"
#include "core/finder/pickerrules.h"

#include <QDir>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace {
const char* const labelCaptions[9] = {"Part Type",         "Max Price",     "I/P # selected",
                                      "Unit cost",         "Qty",           "Assembly hours",
                                      "Engineering Hours", "Testing Hours", "Item Type"};
// Top to bottom on the window: the two type filters first, then the choice and its values.
const int fieldOrder[9] = {0, 8, 1, 2, 3, 4, 5, 6, 7};

const QString addRefusal = QStringLiteral("Must select a part or item first and give qty > 1");

// A number answer that cannot be taken: the field keeps its value.
void refuse(const QString& refusal) {
    prompts::message(refusal, QString(), PromptIcon::Exclamation);
}

QString hoursTitle(int field) {
    static const char* const kinds[3] = {"Assembly", "Engineering", "testing"};
    return QLatin1String(kinds[field - 5]) + QStringLiteral(" labour hours");
}
} // namespace

getpart::getpart()
    : Picture1(new QLabel(this)), Command1(new QPushButton(QStringLiteral("Add I/P"), this)),
      Command2(new QPushButton(QStringLiteral("Cancel"), this)), List1(new QListWidget(this)),
      List2(new QListWidget(this)), List3(new QListWidget(this)) {
    setObjectName(QStringLiteral("getpart"));
    setWindowTitle(QStringLiteral("Selecting a Part or Item"));
    buildControls();

    Text1[0]->setText(QStringLiteral("ALL PARTS"));
    Text1[1]->setText(QStringLiteral("$10000.00"));
    Text1[2]->setText(picker::noChoice());
    Text1[3]->setText(QStringLiteral("$0.00"));
    Text1[4]->setText(QStringLiteral("0"));
    for (int i = 5; i <= 7; ++i)
        Text1[i]->setText(QStringLiteral("0.00"));
    Text1[8]->setText(QStringLiteral("ALL ITEMS"));
    Text1[8]->setEnabled(false);
    Option1[0]->setChecked(true);

    for (int i = 0; i < 2; ++i)
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                chooseKind(i);
        });
    connect(List1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { pickType(List1, 0, item); });
    connect(List1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { pickType(List1, 0, item); });
    connect(List3, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { pickType(List3, 8, item); });
    connect(List3, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { pickType(List3, 8, item); });
    connect(List2, &QListWidget::itemClicked, this, &getpart::pickCandidate);
    connect(List2, &QListWidget::itemDoubleClicked, this, &getpart::pickCandidate);
    connect(Command1, &QPushButton::clicked, this, &getpart::addChoice);
    connect(Command2, &QPushButton::clicked, this, [this] { unload(); });
    connectKeys();
}

// Return or Space on a field does what its click does; the lists pick with Return and close
// with Esc. Return on a field must not press "Add I/P": no button is auto-default, and Return
// presses the focused button only.
void getpart::connectKeys() {
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);
    keyclick::returnPressesFocusedButtons(this);
    for (int i = 0; i < 9; ++i)
        keyclick::onActivate(Text1[i], [this, i] { fieldKeyed(i); });
    const std::array<std::pair<QListWidget*, int>, 3> popups{{{List1, 0}, {List2, 2}, {List3, 8}}};
    for (const auto& [list, field] : popups) {
        keyclick::closeOnEscape(list, Text1[field]);
        keyclick::onLineReturn(list, [this, list, field](const QModelIndex& line) {
            if (list == List2)
                pickCandidate(List2->item(line.row()));
            else
                pickType(list, field, list->item(line.row()));
            Text1[field]->setFocus(Qt::OtherFocusReason);
        });
    }
    setTabOrder(Option1[0], Option1[1]);
    QWidget* previous = Option1[1];
    for (int i : fieldOrder) {
        setTabOrder(previous, Text1[i]);
        previous = Text1[i];
    }
    setTabOrder(previous, Command1);
    setTabOrder(Command1, Command2);
    // The buttons were made first, so the chain would start on them: start at the top.
    Option1[0]->setFocus();
}

void getpart::buildControls() {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* fields = new QGridLayout;
    for (int row = 0; row < 9; ++row) {
        const int i = fieldOrder[row];
        Label1[i] = new QLabel(QLatin1String(labelCaptions[i]), this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        // Every value comes from a list or a question, never from typing.
        Text1[i]->setReadOnly(true);
        Text1[i]->setFont(fixed);
        Text1[i]->setMinimumWidth(i == 0 || i == 2 || i == 8 ? 340 : 140);
        Text1[i]->installEventFilter(this);
        fields->addWidget(Label1[i], row, 0, Qt::AlignRight);
        fields->addWidget(Text1[i], row, 1);
    }
    fieldPalette_ = Text1[0]->palette();

    auto* kinds = new QHBoxLayout;
    Option1[0] = new QRadioButton(QStringLiteral("Parts"), this);
    Option1[1] = new QRadioButton(QStringLiteral("Items"), this);
    Option1[0]->setToolTip(QStringLiteral("click to select parts"));
    Option1[1]->setToolTip(QStringLiteral("Click to select items"));
    for (int i = 0; i < 2; ++i) {
        Option1[i]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        kinds->addWidget(Option1[i]);
    }
    kinds->addStretch();

    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(200, 160);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAlignment(Qt::AlignCenter);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* body = new QHBoxLayout;
    body->addLayout(fields);
    body->addWidget(Picture1, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(kinds);
    layout->addLayout(body);
    layout->addLayout(buttons);

    const QList<QListWidget*> lists{List1, List2, List3};
    const QStringList names{QStringLiteral("List1"), QStringLiteral("List2"),
                            QStringLiteral("List3")};
    for (int i = 0; i < 3; ++i) {
        lists[i]->setObjectName(names[i]);
        lists[i]->setFont(fixed);
        lists[i]->hide();
    }
}

void getpart::load() {
    is_part = -1;
    const bool hours = mode != -1;
    for (int i = 5; i <= 7; ++i) {
        Label1[i]->setVisible(hours);
        Text1[i]->setVisible(hours);
    }
    cur_hours = 0.0f;
    List1->clear();
    List1->addItems(picker::typeListLines(QStringLiteral("ALL PARTS"), business().class_codes()));
    List3->clear();
    List3->addItems(picker::typeListLines(QStringLiteral("ALL ITEMS"), business().class_codes()));
    Text1[2]->setText(picker::noChoice());
    if (caller && caller->pickerOnto() < caller->pickerCnt())
        prefill();
    setlist();
}

// An existing line of the caller is being changed: start from its values.
void getpart::prefill() {
    const PickerLine line = caller->pickerLine();
    if (picker::lineListsItems(mode, line.kind))
        Option1[1]->setChecked(true);
    Text1[2]->setText(line.code);
    Text1[3]->setText(line.unitPrice);
    Text1[4]->setText(line.qty);
    if (mode == 0) {
        Text1[5]->setText(line.asmHours);
        Text1[6]->setText(line.engHours);
        Text1[7]->setText(line.testHours);
    }
    RecordSet& rows = listedRows();
    if (picker::findRow(rows, picker::chosenNumber(line.code)) >= 0)
        cur_hours = rows.field(picker::listedTable(is_part).deliveryColumn).toFloat();
    showDelivery();
}

void getpart::reject() {
    unload();
}

RecordSet& getpart::listedRows() const {
    return business().connection(picker::listedTable(is_part).connection);
}

void getpart::setlist() {
    List2->clear();
    const picker::ListedTable& table = picker::listedTable(is_part);
    const QString& filter = is_part ? Text1[0]->text() : Text1[8]->text();
    List2->addItems(
        picker::candidates(listedRows(), table, filter, picker::highestCost(Text1[1]->text())));
}

void getpart::showDelivery() {
    Text1[2]->setToolTip(format(cur_hours, QStringLiteral("0.00 days delivery")));
}

bool getpart::eventFilter(QObject* watched, QEvent* event) {
    if (keyclick::reachesDisabled(watched, event))
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < 9; ++i) {
            if (watched == Text1[i] && Text1[i]->isEnabled()) {
                fieldClicked(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void getpart::fieldClicked(int index) {
    Command2->setFocus();
    List1->hide();
    List2->hide();
    switch (index) {
    case 0:
        showPopup(List1, 0);
        break;
    case 1:
        askHighestCost();
        break;
    case 2:
        showPopup(List2, 2);
        break;
    case 4:
        askQuantity();
        break;
    case 5:
    case 6:
    case 7:
        askHours(index);
        break;
    case 8:
        showPopup(List3, 8);
        break;
    default: // the unit cost comes only with the choice
        break;
    }
}

// The keyboard stays where the user works: in the list the field opened, else on the field.
void getpart::fieldKeyed(int index) {
    fieldClicked(index);
    QListWidget* popup = index == 0 ? List1 : index == 2 ? List2 : index == 8 ? List3 : nullptr;
    if (popup && popup->isVisible()) {
        if (!popup->currentItem() && popup->count() > 0)
            popup->setCurrentRow(0);
        popup->setFocus(Qt::OtherFocusReason);
        return;
    }
    Text1[index]->setFocus(Qt::OtherFocusReason);
}

void getpart::askHighestCost() {
    const QString answer =
        prompts::input(QStringLiteral("Enter value (#.##)"), QStringLiteral("highest amount"));
    if (picker::isEmptyAnswer(answer))
        return;
    QString refusal;
    const std::optional<Money> amount = picker::highestAmountAnswer(answer, &refusal);
    if (!amount) {
        refuse(refusal);
        return;
    }
    Text1[1]->setText(format(*amount, QStringLiteral("$0.00")));
    setlist();
}

void getpart::askQuantity() {
    const QString answer =
        prompts::input(QStringLiteral("Enter int (#)"), QStringLiteral("input qty"));
    if (picker::isEmptyAnswer(answer))
        return;
    QString refusal;
    if (const std::optional<qint64> qty = picker::quantityAnswer(answer, &refusal))
        Text1[4]->setText(QString::number(*qty));
    else
        refuse(refusal);
}

// One click on the assembly hours asks all three in turn; an unanswered or refused one keeps its
// value.
void getpart::askHours(int index) {
    QLineEdit* field = Text1[index];
    QPalette asking = fieldPalette_;
    asking.setColor(QPalette::Base, asking.color(QPalette::ToolTipBase));
    field->setPalette(asking);
    const QString answer = prompts::input(QStringLiteral("Enter value (#.##)"), hoursTitle(index));
    if (!picker::isEmptyAnswer(answer)) {
        QString refusal;
        if (const std::optional<float> hours = picker::hoursAnswer(index, answer, &refusal))
            field->setText(format(*hours, QStringLiteral("0.00 Hr")));
        else
            refuse(refusal);
    }
    field->setPalette(fieldPalette_);
    if (index < 7)
        fieldClicked(index + 1);
}

void getpart::showPopup(QListWidget* list, int underField) {
    const QLineEdit* field = Text1[underField];
    const QPoint corner = field->mapTo(this, QPoint(0, field->height()));
    const int height = qMax(120, qMin(260, this->height() - corner.y()));
    list->setGeometry(corner.x(), corner.y(), qMax(field->width(), 340), height);
    list->raise();
    list->show();
}

void getpart::pickType(QListWidget* list, int field, QListWidgetItem* item) {
    Text1[field]->setText(item->text());
    list->hide();
    setlist();
}

void getpart::pickCandidate(QListWidgetItem* item) {
    const QString line = item->text();
    List2->hide();
    if (!picker::numberFitsCode(line)) {
        prompts::message(picker::numberTooLargeMessage(), QString(), PromptIcon::Exclamation);
        return;
    }
    Text1[2]->setText(line);
    const picker::ListedTable& table = picker::listedTable(is_part);
    RecordSet& rows = listedRows();
    const bool found = picker::findRow(rows, picker::chosenNumber(line)) >= 0;
    QString picture;
    if (found) {
        Text1[3]->setText(format(rows.field(table.costColumn).toMoney(), QStringLiteral("$0.00")));
        cur_hours = rows.field(table.deliveryColumn).toFloat();
        if (table.pictureColumn >= 0)
            picture = rows.field(table.pictureColumn).toText();
    }
    if (picker::wholeQuantity(Text1[4]->text()) == 0)
        Text1[4]->setText(QStringLiteral("1"));
    showDelivery();
    showPicture(picture);
}

// Keeps the picture shown when the part names none that can be read.
void getpart::showPicture(const QString& name) {
    const QString path = picker::pictureFile(name, QDir(business().folder()));
    if (path.isEmpty())
        return;
    const QImage image(path);
    if (image.isNull())
        return;
    pictures::showFitted(*Picture1, image, true);
}

void getpart::chooseKind(int option) {
    List1->hide();
    List2->hide();
    List3->hide();
    is_part = option == 1 ? 0 : -1;
    Text1[8]->setEnabled(option == 1);
    Text1[0]->setEnabled(option == 0);
    setlist();
    Text1[2]->setText(picker::noChoice());
}

void getpart::mousePressEvent(QMouseEvent* event) {
    List1->hide();
    List2->hide();
    QDialog::mousePressEvent(event);
}

void getpart::mouseDoubleClickEvent(QMouseEvent* event) {
    List1->hide();
    List2->hide();
    QDialog::mouseDoubleClickEvent(event);
}

void getpart::addChoice() {
    if (!picker::acceptable(Text1[4]->text(), Text1[2]->text())) {
        prompts::message(addRefusal);
        return;
    }
    if (!picker::numberFitsCode(Text1[2]->text())) {
        prompts::message(picker::numberTooLargeMessage(), QString(), PromptIcon::Exclamation);
        return;
    }
    if (caller)
        caller->adder(caller->pickerOnto());
}
