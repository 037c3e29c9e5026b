#include "gui/sales/custpage.h"

#include "core/common/clock.h"
#include "core/common/database.h"
#include "gui/widgets/keyclick.h"
#include "core/common/prompts.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/sales/customerrules.h"
#include "gui/sales/showinvoices.h"
#include "gui/widgets/unsavedwork.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
using namespace customerrules;

const char* const labelCaptions[fieldCount] = {" Customer Number", "   First Name", "   Last Name",
                                               "   Address",       "Telephone",     "   DOB",
                                               "Total Value"};

const char* const buttonCaptions[3] = {"&Save", "&Close", "C&ustomer Sales"};
} // namespace

custpage::custpage() : Calendar1(new QCalendarWidget(this)) {
    setObjectName(QStringLiteral("custpage"));
    setWindowTitle(QStringLiteral("Add New Customer"));

    auto* grid = new QGridLayout(this);
    for (int i = 0; i < fieldCount; ++i) {
        Label1[i] = new QLabel(QLatin1String(labelCaptions[i]), this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Label1[i]->installEventFilter(this);
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        Text1[i]->setMinimumWidth(320);
        Text1[i]->installEventFilter(this);
        grid->addWidget(Label1[i], i, 0, Qt::AlignRight);
        grid->addWidget(Text1[i], i, 1);
    }
    // The number is given, and the total value is carried, never typed.
    Text1[number]->setEnabled(false);
    Text1[totalValue]->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 3; ++i) {
        Command1[i] = new QPushButton(QLatin1String(buttonCaptions[i]), this);
        Command1[i]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        Command1[i]->setAutoDefault(false);
        buttons->addWidget(Command1[i]);
    }
    grid->addLayout(buttons, fieldCount, 0, 1, 2);
    grid->setRowStretch(fieldCount + 1, 1);
    // Every button first puts the calendar away.
    connect(Command1[0], &QPushButton::clicked, this, [this] {
        Calendar1->hide();
        save();
    });
    connect(Command1[1], &QPushButton::clicked, this, &custpage::reject);
    connect(Command1[2], &QPushButton::clicked, this, [this] {
        Calendar1->hide();
        customerSales();
    });

    // The calendar floats over the form, outside the layout, until the date field is clicked.
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setSelectedDate(appclock::today());
    Calendar1->hide();
    connect(Calendar1, &QCalendarWidget::clicked, this, &custpage::datePicked);
    connect(Calendar1, &QCalendarWidget::activated, this, &custpage::datePicked);

    // Return on the date field opens the calendar (Space types a blank, the field takes text),
    // where the arrow keys move the day, Return takes it and Esc puts the calendar away.
    keyclick::onActivate(Text1[birthDate], [this] {
        showCalendar();
        Calendar1->setFocus(Qt::OtherFocusReason);
    });
    keyclick::closeOnEscape(Calendar1, Text1[birthDate]);
    keyclick::returnPressesFocusedButtons(this);

    // Tall enough for the calendar that drops over the fields, and no taller than the form.
    setMinimumSize(520, Calendar1->sizeHint().height() + 4);
    resize(minimumSize().expandedTo(sizeHint()));
}

RecordSet& custpage::customers() const {
    return business().connection(Business::customers);
}

void custpage::load() {
    Text1[number]->setEnabled(false);
    Calendar1->hide();
    Fields fields;
    if (newcust == -1) {
        setWindowTitle(QStringLiteral("Add New customer"));
        fields = newFields(max);
    } else {
        setWindowTitle(QStringLiteral("Edit/View customer"));
        // No current row (an empty table) leaves the fields empty, so Save refuses.
        if (customers().absolutePosition() >= 0)
            fields = shownFields(customers());
    }
    for (int i = 0; i < fieldCount; ++i)
        Text1[i]->setText(fields[i]);
    loaded_ = fields;
}

bool custpage::changed() const {
    for (int i = 0; i < fieldCount; ++i) {
        if (Text1[i]->text() != loaded_[i])
            return true;
    }
    return false;
}

void custpage::showCalendar() {
    Command1[0]->setFocus();
    // Nobody is born after today: the calendar offers no later day.
    Calendar1->setMaximumDate(appclock::today());
    if (const std::optional<QDate> shown = toDate(Text1[birthDate]->text()))
        Calendar1->setSelectedDate(*shown);
    const QSize size = Calendar1->sizeHint();
    const QRect field = Text1[birthDate]->geometry();
    // Below the field when there is room, else as low as the form allows.
    const int top = qMax(0, qMin(field.bottom() + 1, height() - size.height()));
    const int left = qMax(0, qMin(field.left(), width() - size.width()));
    Calendar1->setGeometry(left, top, size.width(), size.height());
    Calendar1->show();
    Calendar1->raise();
}

void custpage::datePicked(const QDate& date) {
    Text1[birthDate]->setText(formatDate(date, QStringLiteral("MMM DD, YYYY")));
    const bool hadFocus = Calendar1->isAncestorOf(focusWidget());
    Calendar1->hide();
    if (hadFocus)
        Text1[birthDate]->setFocus(Qt::OtherFocusReason);
}

bool custpage::eventFilter(QObject* watched, QEvent* event) {
    if (keyclick::reachesDisabled(watched, event))
        return QDialog::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        if (watched == Text1[birthDate])
            showCalendar();
        else
            Calendar1->hide();
    }
    return QDialog::eventFilter(watched, event);
}

void custpage::mousePressEvent(QMouseEvent* event) {
    Calendar1->hide();
    QDialog::mousePressEvent(event);
}

void custpage::mouseDoubleClickEvent(QMouseEvent* event) {
    Calendar1->hide();
    QDialog::mouseDoubleClickEvent(event);
}

void custpage::save() {
    Fields fields;
    for (int i = 0; i < fieldCount; ++i)
        fields[i] = Text1[i]->text();
    const SaveColumns result = saveColumns(fields, appclock::today());
    if (result.refusal) {
        prompts::message(*result.refusal);
        return;
    }
    const bool adding = newcust != 0;
    // Customer numbers travel as 16-bit integers: past 32767 there is none left to give.
    if (adding && !numbersLeft) {
        prompts::message(numbersUsedUp);
        return;
    }
    try {
        store(customers(), adding, result.columns);
    } catch (const DbError& error) {
        // Nothing was stored; the window stays open so the user can try again or close.
        prompts::engineError(error);
        return;
    }
    prompts::message(QStringLiteral("saved. "));
    unload(QDialog::Accepted);
}

void custpage::customerSales() {
    showinvoices& list = showinvoices::get(business());
    list.cust = toInt16(wholePart(leadingValue(Text1[number]->text()))).value_or(0);
    list.cname = listName(Text1[lastName]->text(), Text1[firstName]->text());
    list.load();
    list.runModal();
}

// Esc puts the calendar away while it is shown, wherever the focus is; otherwise it leaves as
// "&Close" does.
void custpage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && Calendar1->isVisible()) {
        Calendar1->hide();
        Text1[birthDate]->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::keyPressEvent(event);
}

// "&Close", the close box and Esc leave without writing; changes not saved are given up only
// when the user says so.
void custpage::reject() {
    Calendar1->hide();
    if (unsavedwork::mayClose(changed()))
        unload();
}
