#include "gui/items/newitem.h"

#include "core/common/database.h"
#include "core/common/prompts.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/finder/finderlist.h"
#include "gui/finder/databaseview.h"
#include "gui/items/changingitem.h"
#include "core/items/itemcosting.h"
#include "core/items/itemtables.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

newitem::newitem() {
    setObjectName(QStringLiteral("newitem"));
    setWindowTitle(QStringLiteral("Building New Item"));
    auto* grid = new QGridLayout(this);
    const char* const captions[2] = {"New Item Code: ", "Item Description"};
    for (int i = 0; i < 2; ++i) {
        Label1[i] = new QLabel(QLatin1String(captions[i]), this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        grid->addWidget(Label1[i], i, 0, Qt::AlignRight);
        grid->addWidget(Text1[i], i, 1);
    }
    Text1[0]->setEnabled(false);
    Text1[1]->setMinimumWidth(300);
    Command1 = new QPushButton(QStringLiteral("Continue"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(Command1, &QPushButton::clicked, this, &newitem::proceed);
    connect(Command2, &QPushButton::clicked, this, &newitem::cancel);
}

void newitem::load() {
    markup_rate_ = business().settings().markup_rate;
    const databaseview* finder = databaseview::loaded();
    Text1[0]->setText(format(int(finder ? finder->max : 0), QStringLiteral("0000")));
}

// The frame's close box leaves as "Cancel" does.
void newitem::closeEvent(QCloseEvent* event) {
    event->ignore();
    cancel();
}

void newitem::proceed() {
    if (Text1[1]->text().isEmpty()) {
        prompts::message(QStringLiteral("Please enter in the item description"));
        return;
    }
    const databaseview* finder = databaseview::loaded();
    if (finder && !finder->numbersLeft()) {
        prompts::message(numbersUsedUp);
        return;
    }
    int n = 0;
    try {
        RecordSet& items = business().connection(Business::assembled_items);
        n = items.recordCount();
        using namespace AssembledItems;
        items.addNew();
        items.setField(item_no, itemcosting::wholeNumberOf(Text1[0]->text()));
        items.setField(item_desc, Text1[1]->text());
        items.setField(total_costs, Money());
        items.setField(markup, markup_rate_);
        items.setField(total_labour, 0.0f);
        items.setField(spare, 0);
        items.setField(confirmed, false);
        items.setField(max_delivery, Money());
        items.setField(item_class, 0);
        items.update();
    } catch (const DbError& error) {
        prompts::engineError(error);
        return;
    }
    // The rebuilt item list holds the new item, with no line selected.
    if (host)
        databaseview::showList(business(), *host, 3);

    changingitem& builder = changingitem::get(business());
    builder.area = qint16(n);
    builder.load(QString(), QString());
    builder.Text1[0]->setText(Text1[0]->text());
    builder.Text1[1]->setText(Text1[1]->text());
    builder.runModal();
    // Save or Cancel in the builder lets the item list show what was done.
    if (databaseview* list = databaseview::loaded())
        list->rebuild();
    unload();
}

void newitem::cancel() {
    unload();
    if (databaseview* finder = databaseview::loaded())
        finder->unload();
}
