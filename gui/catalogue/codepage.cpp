#include "gui/catalogue/codepage.h"

#include "core/business/business.h"
#include "gui/widgets/fulltext.h"
#include "gui/widgets/keyclick.h"
#include "core/common/prompts.h"
#include "core/common/recordfile.h"
#include "core/common/textnum.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {
const QColor highlightBackground(128, 128, 255);

void paint(QLineEdit* box, const QColor& background, const QColor& text) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, text);
    box->setPalette(palette);
}
} // namespace

Codepage::Codepage()
    : VScroll1(new QScrollBar(Qt::Vertical, this)),
      Frame1(new QGroupBox(QStringLiteral("Parts"), this)),
      Command1(new QPushButton(QStringLiteral("&Close"), this)) {
    setObjectName(QStringLiteral("Codepage"));
    setWindowTitle(QStringLiteral("Part Classification Codes"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);

    auto* rows = new QGridLayout(Frame1);
    for (int r = 0; r < 7; ++r) {
        Text1[r] = new QLineEdit(Frame1);
        Text2[r] = new QLineEdit(Frame1);
        Text1[r]->setObjectName(QStringLiteral("Text1(%1)").arg(r));
        Text2[r]->setObjectName(QStringLiteral("Text2(%1)").arg(r));
        Text1[r]->setFixedWidth(48);
        Text2[r]->setMinimumWidth(280);
        // What is typed is what is stored: no more than the table keeps.
        Text2[r]->setMaxLength(CodeTable::width);
        // The number follows the scroll bar: the keyboard skips it for the description.
        Text1[r]->setFocusPolicy(Qt::ClickFocus);
        Text1[r]->installEventFilter(this);
        Text2[r]->installEventFilter(this);
        rows->addWidget(Text1[r], r, 0);
        rows->addWidget(Text2[r], r, 1);
        connect(Text2[r], &QLineEdit::textChanged, this, [this, r] { storeDescription(r); });
        keyclick::onActivate(Text2[r], [this, r] { highlightRow(r); });
    }
    VScroll1->setRange(1, 194);
    VScroll1->setValue(1);
    VScroll1->setPageStep(7);
    rows->addWidget(VScroll1, 0, 2, 7, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    for (int r = 1; r < 7; ++r)
        setTabOrder(Text2[r - 1], Text2[r]);
    setTabOrder(Text2[6], Command1);
    keyclick::returnPressesFocusedButtons(this);

    normalColours();
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] {
        normalColours();
        fillRows();
    });
    connect(Command1, &QPushButton::clicked, this, &Codepage::closeAndWrite);
}

CodeTable& Codepage::table() const {
    return mode == -1 ? business().class_codes() : business().vendor_codes();
}

void Codepage::load() {
    if (mode == -1) {
        setWindowTitle(QStringLiteral("Part Classification Code"));
        Frame1->setTitle(QStringLiteral("Parts"));
    } else {
        setWindowTitle(QStringLiteral("Vendor Classification Code"));
        Frame1->setTitle(QStringLiteral("Vendors"));
    }
    fillRows();
}

void Codepage::fillRows() {
    const int top = VScroll1->value();
    for (int r = 0; r < 7; ++r) {
        Text1[r]->setText(format(top + r, QStringLiteral("000")));
        // Without its padding, so that a click puts the cursor right after the text.
        Text2[r]->setText(fulltext::withoutPadding(table().entry(top + r)));
    }
}

// Padded to its width when stored (CodeTable::setEntry).
void Codepage::storeDescription(int row) {
    table().setEntry(VScroll1->value() + row, Text2[row]->text());
}

void Codepage::normalColours() {
    const QPalette system;
    for (int r = 0; r < 7; ++r) {
        paint(Text1[r], system.color(QPalette::ToolTipBase), system.color(QPalette::ButtonText));
        paint(Text2[r], system.color(QPalette::ToolTipBase), system.color(QPalette::ButtonText));
    }
}

void Codepage::highlightRow(int row) {
    normalColours();
    const QColor text = QPalette().color(QPalette::Light);
    paint(Text1[row], highlightBackground, text);
    paint(Text2[row], highlightBackground, text);
}

// The arrow keys move between the rows and scroll at the top and bottom row; Page Up and
// Page Down scroll by the seven rows. The focus stays in the same row when the rows scroll.
// The row reached is selected whole, as by Tab, so typing replaces its description.
bool Codepage::moveByKey(int row, int key) {
    QAbstractSlider::SliderAction scroll = QAbstractSlider::SliderNoAction;
    switch (key) {
    case Qt::Key_PageUp:
        scroll = QAbstractSlider::SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        scroll = QAbstractSlider::SliderPageStepAdd;
        break;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int next = key == Qt::Key_Up ? row - 1 : row + 1;
        if (next >= 0 && next < 7) {
            Text2[next]->setFocus(Qt::TabFocusReason);
            return true;
        }
        scroll = key == Qt::Key_Up ? QAbstractSlider::SliderSingleStepSub
                                   : QAbstractSlider::SliderSingleStepAdd;
        break;
    }
    default:
        return false;
    }
    VScroll1->triggerAction(scroll);
    Text2[row]->selectAll();
    return true;
}

bool Codepage::eventFilter(QObject* watched, QEvent* event) {
    if (keyclick::reachesDisabled(watched, event))
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        for (int r = 0; r < 7; ++r) {
            if (watched == Text2[r] && !(key->modifiers() & ~Qt::KeypadModifier))
                return moveByKey(r, key->key()) || QDialog::eventFilter(watched, event);
        }
    }
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        for (int r = 0; r < 7; ++r) {
            if (watched == Text1[r]) {
                Text2[r]->setFocus();
                highlightRow(r);
            } else if (watched == Text2[r]) {
                highlightRow(r);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Codepage::closeAndWrite() {
    const QString name = QLatin1String(mode == -1 ? CodeTable::classFileName
                                                  : CodeTable::vendorFileName);
    const QString path = business().filePath(name);
    // A damaged file may still hold descriptions worth saving by hand: replace it only when
    // the user says so. The edits stay in memory either way, as with the close box.
    if (readRecord(path, CodeTable::fileSize).status == RecordStatus::Damaged &&
        !prompts::question(QStringLiteral("The code file %1 is damaged. Replace it with the "
                                          "codes shown?")
                               .arg(path))) {
        unload();
        return;
    }
    try {
        writeRecordAtomically(path, table().encode());
    } catch (const FileError& error) {
        prompts::message(error.message(), QString(), PromptIcon::Critical);
        return;
    }
    unload();
}

// Esc presses "&Close", which writes the file.
void Codepage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Command1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The close box writes nothing; the edits stay in the table in memory.
void Codepage::reject() {
    unload();
}
