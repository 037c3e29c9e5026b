#include "gui/catalogue/partpage.h"

#include "core/business/business.h"
#include "core/catalogue/partrules.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "gui/widgets/keyclick.h"
#include "gui/widgets/unsavedwork.h"
#include "gui/widgets/pictures.h"
#include "core/common/prompts.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/finder/finderlist.h"

#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace {
const char* const labelCaptions[12] = {" Part Number",
                                       "   Part Description",
                                       "   Part Vendor Code",
                                       "Cost of Unit Part",
                                       "   Unit Price of Part",
                                       "   Part Classification",
                                       "General Stock",
                                       "  If Yes, then # of QTY",
                                       "Delivery Time",
                                       "Last Delivery Date",
                                       "Features",
                                       "   Part Manufacturer"};

const QString incomplete = QStringLiteral("please fill out the information");

enum Field {
    number = 0,
    vendor = 2,
    cost = 3,
    price = 4,
    classification = 5,
    generalStock = 6,
    quantity = 7,
    delivery = 8,
    lastDelivery = 9
};

constexpr QSize pictureSize(180, 180);
} // namespace

Partpage::Partpage()
    : Picture1(new QLabel(this)), List1(new QListWidget(this)), List2(new QListWidget(this)) {
    setObjectName(QStringLiteral("Partpage"));
    setWindowTitle(QStringLiteral("Add New Part"));

    auto* grid = new QGridLayout(this);
    for (int i = 0; i < partrules::fieldCount; ++i) {
        Label1[i] = new QLabel(QLatin1String(labelCaptions[i]), this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Label1[i]->installEventFilter(this);
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        Text1[i]->setMinimumWidth(300);
        Text1[i]->installEventFilter(this);
        grid->addWidget(Label1[i], i, 0, Qt::AlignRight);
        grid->addWidget(Text1[i], i, 1);
        if (partrules::isNumberField(i))
            connect(Text1[i], &QLineEdit::editingFinished, this, [this, i] { applyForm(i); });
    }
    // Deleting inside the delivery time brings the letters of "days" back; typing is never
    // repaired while it goes on, so no typed character is lost.
    connect(Text1[delivery], &QLineEdit::textChanged, this, [this] {
        deliveryBefore_ = deliveryNow_;
        deliveryNow_ = Text1[delivery]->text();
    });
    connect(Text1[delivery], &QLineEdit::textEdited, this, &Partpage::restoreDays);
    // The number and the last delivery date are shown, never typed.
    Text1[number]->setEnabled(false);
    Text1[lastDelivery]->setEnabled(false);
    // Vendor, classification and general stock come from their lists and question: a typed
    // text would be stored as something else ("abc" as no general stock, "999" as a code
    // without a description).
    for (int i : {vendor, classification, generalStock})
        Text1[i]->setReadOnly(true);

    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(pictureSize);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setToolTip(QStringLiteral("click to choose the part's picture"));
    Picture1->installEventFilter(this);
    grid->addWidget(Picture1, 0, 2, 7, 1, Qt::AlignTop);

    // The pick lists float over the fields below theirs; they are placed when shown.
    const QFont fixed(QStringLiteral("Monospace"));
    List1->setObjectName(QStringLiteral("List1"));
    List2->setObjectName(QStringLiteral("List2"));
    for (QListWidget* list : {List1, List2}) {
        list->setFont(fixed);
        list->hide();
    }
    connect(List1, &QListWidget::itemClicked, this, [this] { pickLine(List1, Text1[vendor]); });
    connect(List1, &QListWidget::itemActivated, this, [this] { pickLine(List1, Text1[vendor]); });
    connect(List2, &QListWidget::itemClicked, this,
            [this] { pickLine(List2, Text1[classification]); });
    connect(List2, &QListWidget::itemActivated, this,
            [this] { pickLine(List2, Text1[classification]); });

    Command3[0] = new QPushButton(QStringLiteral("<"), this);
    Command3[1] = new QPushButton(QStringLiteral(">"), this);
    Command1[0] = new QPushButton(QStringLiteral("Save"), this);
    Command1[1] = new QPushButton(QStringLiteral("Close"), this);
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        Command3[i]->setObjectName(QStringLiteral("Command3(%1)").arg(i));
        Command3[i]->setEnabled(false); // until showpart knows the row
        Command3[i]->setAutoDefault(false);
        buttons->addWidget(Command3[i]);
    }
    buttons->addStretch();
    for (int i = 0; i < 2; ++i) {
        Command1[i]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        Command1[i]->setAutoDefault(false);
        buttons->addWidget(Command1[i]);
    }
    grid->addLayout(buttons, partrules::fieldCount, 0, 1, 3);

    connect(Command3[0], &QPushButton::clicked, this, [this] { step(false); });
    connect(Command3[1], &QPushButton::clicked, this, [this] { step(true); });
    connect(Command1[0], &QPushButton::clicked, this, &Partpage::save);
    connect(Command1[1], &QPushButton::clicked, this, &Partpage::closeAsked);
    connectKeys();
}

// Return or Space on the list fields, the general stock and the picture does what their click
// does; Return on the price does what its double-click does (Space types a blank there). The
// lists pick with Return and close with Esc. Tab runs down the fields, then the picture
// beside them, then the buttons.
void Partpage::connectKeys() {
    for (int i : {vendor, classification, generalStock})
        keyclick::onActivate(Text1[i], [this, i] { fieldClicked(i); });
    keyclick::onActivate(Text1[price], [this] { fieldDoubleClicked(price); });
    Picture1->setFocusPolicy(Qt::TabFocus);
    keyclick::onActivate(Picture1, [this] { choosePicture(); });
    keyclick::closeOnEscape(List1, Text1[vendor]);
    keyclick::closeOnEscape(List2, Text1[classification]);
    keyclick::returnPressesFocusedButtons(this);

    QWidget* previous = Text1[0];
    for (QWidget* next : std::initializer_list<QWidget*>{
             Text1[1], Text1[2], Text1[3], Text1[4], Text1[5], Text1[6], Text1[7], Text1[8],
             Text1[9], Text1[10], Text1[11], Picture1, Command3[0], Command3[1], Command1[0],
             Command1[1]}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

RecordSet& Partpage::parts() const {
    return business().connection(Business::parts);
}

void Partpage::load() {
    Text1[number]->setEnabled(false);
    settings_ = business().settings();
    if (newpart == -1) {
        picture_.clear();
        clearPicture();
        setWindowTitle(QStringLiteral("Add New Part"));
        Text1[quantity]->setText(partrules::newQuantity);
        Text1[lastDelivery]->setText(partrules::noDate);
        Text1[number]->setText(format(max, QStringLiteral("0000")));
        rememberShown();
    } else {
        showpart();
    }
    List1->clear();
    List1->addItems(partrules::vendorLines(business().vendor_codes()));
    List2->clear();
    List2->addItems(partrules::classLines(business().class_codes()));
}

void Partpage::showpart() {
    picture_.clear();
    clearPicture();
    RecordSet& rs = parts();
    const int position = rs.absolutePosition();
    if (position < 0) {
        // No current row: nothing to show, and nowhere to step from.
        Command3[0]->setEnabled(false);
        Command3[1]->setEnabled(false);
        return;
    }
    const partrules::Fields fields =
        partrules::shownFields(rs, business().vendor_codes(), business().class_codes());
    setWindowTitle(QStringLiteral("Edit/View Part #") + fields[number]);
    Command3[0]->setEnabled(position >= 1);
    Command3[1]->setEnabled(position < rs.recordCount() - 1);
    for (int i = 0; i < partrules::fieldCount; ++i)
        Text1[i]->setText(fields[i]);
    Text1[quantity]->setEnabled(fields[generalStock] == QLatin1String("Yes"));

    const Value stored = rs.field(Parts::picture_file);
    if (!stored.isNull()) {
        picture_ = stored.toText();
        showPicture(picture_.toUpper());
    }
    rememberShown();
}

void Partpage::rememberShown() {
    for (int i = 0; i < partrules::fieldCount; ++i)
        shown_[i] = Text1[i]->text();
    shownPicture_ = picture_;
}

bool Partpage::changed() const {
    for (int i = 0; i < partrules::fieldCount; ++i) {
        if (Text1[i]->text() != shown_[i])
            return true;
    }
    return picture_ != shownPicture_;
}

void Partpage::restoreDays() {
    QLineEdit* field = Text1[delivery];
    const QString text = field->text();
    // The text before this edit, whichever of the two signals came first.
    const QString before = deliveryNow_ == text ? deliveryBefore_ : deliveryNow_;
    if (text.size() >= before.size())
        return;
    const QString restored = partrules::restoredDays(text);
    if (restored == text)
        return;
    // The cursor stays where the user deleted, in front of the letters brought back.
    const int cursor = field->cursorPosition();
    field->setText(restored);
    field->setModified(true);
    field->setCursorPosition(cursor);
}

void Partpage::applyForm(int index) {
    QLineEdit* field = Text1[index];
    const QString form = partrules::formed(index, field->text());
    if (form != field->text())
        field->setText(form);
}

void Partpage::hideLists() {
    List1->hide();
    List2->hide();
}

void Partpage::showList(QListWidget* list, QLineEdit* field) {
    const QRect under = field->geometry();
    const int width = qMax(under.width(), list->sizeHintForColumn(0) + 30);
    const int room = height() - under.bottom() - 1;
    list->setGeometry(under.left(), under.bottom() + 1, width, qBound(80, room, 200));
    list->show();
    list->raise();
    list->setFocus();
}

void Partpage::fieldClicked(int index) {
    hideLists();
    if (index == vendor) {
        showList(List1, Text1[vendor]);
    } else if (index == classification) {
        showList(List2, Text1[classification]);
    } else if (index == generalStock) {
        const bool yes = prompts::question(QStringLiteral("Is the part general stock"),
                                           QStringLiteral("General stock info."));
        Text1[generalStock]->setText(yes ? QStringLiteral("Yes") : QStringLiteral("No"));
        Text1[quantity]->setEnabled(yes);
    }
}

void Partpage::fieldDoubleClicked(int index) {
    if (index == price && !Text1[cost]->text().isEmpty()) {
        applyForm(cost);
        QString refusal;
        const std::optional<Money> unitCost =
            partrules::amount(cost, Text1[cost]->text(), &refusal);
        if (unitCost)
            Text1[price]->setText(partrules::suggestedPrice(*unitCost, settings_.markup_rate));
        else
            prompts::message(refusal);
    }
    fieldClicked(index);
}

void Partpage::pickLine(QListWidget* list, QLineEdit* field) {
    if (const QListWidgetItem* item = list->currentItem())
        field->setText(item->text());
    hideLists();
    // The focus was in the list: give it back to the field the line went into.
    field->setFocus(Qt::OtherFocusReason);
}

bool Partpage::eventFilter(QObject* watched, QEvent* event) {
    if (keyclick::reachesDisabled(watched, event))
        return QDialog::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    // A label has no focus frame of its own: the picture shows the focus by a thicker frame.
    if (watched == Picture1 && (type == QEvent::FocusIn || type == QEvent::FocusOut))
        Picture1->setLineWidth(type == QEvent::FocusIn ? 2 : 1);
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return QDialog::eventFilter(watched, event);
    if (watched == Picture1) {
        // The second press of a double click comes as a double click: one question per click.
        if (type == QEvent::MouseButtonPress)
            choosePicture();
        return true;
    }
    for (int i = 0; i < partrules::fieldCount; ++i) {
        if (watched == Text1[i]) {
            if (type == QEvent::MouseButtonDblClick)
                fieldDoubleClicked(i);
            else
                fieldClicked(i);
            break;
        }
        if (watched == Label1[i]) {
            hideLists();
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Partpage::mousePressEvent(QMouseEvent* event) {
    hideLists();
    QDialog::mousePressEvent(event);
}

void Partpage::clearPicture() {
    Picture1->clear();
}

bool Partpage::showPicture(const QString& name) {
    const QString path = partrules::findPictureFile(name, QDir(business().folder()));
    if (path.isEmpty())
        return false;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    pictures::showFitted(*Picture1, image);
    return true;
}

void Partpage::choosePicture() {
    const QString answer =
        prompts::input(QStringLiteral("Please enter filename"), QStringLiteral("part picture "))
            .toUpper();
    if (answer.isEmpty()) {
        clearPicture();
        picture_ = QStringLiteral("NULL");
        return;
    }
    // A name that is no single readable picture changes nothing.
    if (!showPicture(answer)) {
        prompts::message(QStringLiteral("filename doesn't exist"));
        return;
    }
    picture_ = answer;
}

void Partpage::step(bool forward) {
    // Another part shown would drop the edits of this one unseen.
    if (!unsavedwork::mayClose(changed()))
        return;
    RecordSet& rs = parts();
    if (forward)
        rs.moveNext();
    else
        rs.movePrevious();
    showpart();
}

void Partpage::save() {
    partrules::Fields fields;
    for (int i = 0; i < partrules::fieldCount; ++i) {
        applyForm(i);
        fields[i] = Text1[i]->text();
    }
    const partrules::SaveColumns result = partrules::saveColumns(fields, picture_, newpart != 0);
    if (result.refusal) {
        switch (*result.refusal) {
        case partrules::Refusal::NumberTooHigh:
            prompts::message(numbersUsedUp);
            break;
        case partrules::Refusal::BadNumber:
            prompts::message(result.reason);
            // Back to the field, its text selected to be typed over.
            if (Text1[result.field]->isEnabled()) {
                Text1[result.field]->setFocus(Qt::OtherFocusReason);
                Text1[result.field]->selectAll();
            }
            break;
        case partrules::Refusal::Incomplete:
            prompts::message(incomplete);
            break;
        }
        return;
    }
    // The finder's max stops at 32767, so a full table would hand out a taken number.
    if (newpart != 0 && !numbersLeft) {
        prompts::message(numbersUsedUp);
        return;
    }
    RecordSet& rs = parts();
    try {
        if (newpart != 0)
            rs.addNew();
        else
            rs.edit();
        for (const auto& [column, value] : result.columns)
            rs.setField(column, value);
        rs.update();
    } catch (const DbError& error) {
        // The row is one statement: it is stored whole or not at all. Stay open to retry.
        if (rs.isEditing())
            rs.cancelUpdate();
        prompts::engineError(error);
        return;
    }
    prompts::message(QStringLiteral("saved. "));
    unload(QDialog::Accepted);
}

// "Close", the close box and Esc leave without writing; changes are not dropped unasked.
void Partpage::closeAsked() {
    if (unsavedwork::mayClose(changed()))
        unload();
}

void Partpage::reject() {
    closeAsked();
}
