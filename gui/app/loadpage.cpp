#include "gui/app/loadpage.h"

#include "core/business/bizworkspace.h"
#include "gui/app/mdiform1.h"
#include "gui/widgets/keyclick.h"
#include "core/common/prompts.h"
#include "core/common/recordfile.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

loadpage::loadpage()
    : Frame1(new QGroupBox(QStringLiteral("Current Businesses"), this)),
      List1(new QListWidget(Frame1)), Command2(new QPushButton(QStringLiteral("Delete"), this)) {
    setObjectName(QStringLiteral("loadpage"));
    setWindowTitle(QStringLiteral("Load Business"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(QFont(QStringLiteral("Monospace")));
    List1->setMinimumWidth(360);
    auto* frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(List1);

    Command1[0] = new QPushButton(QStringLiteral("Open"), this);
    Command1[1] = new QPushButton(QStringLiteral("Cancel"), this);
    Command1[0]->setObjectName(QStringLiteral("Command1(0)"));
    Command1[1]->setObjectName(QStringLiteral("Command1(1)"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1[0]->setDefault(true);
    Command1[1]->setAutoDefault(false);
    Command2->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);
    buttons->addStretch();
    buttons->addWidget(Command2);
    setTabOrder(Command1[1], Command2); // Delete stands last, right of Cancel
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    connect(Command1[0], &QPushButton::clicked, this, &loadpage::openbiz);
    connect(Command1[1], &QPushButton::clicked, this, [this] { unload(); });
    connect(Command2, &QPushButton::clicked, this, &loadpage::deleteSelected);
    connect(List1, &QListWidget::itemDoubleClicked, this, &loadpage::openbiz);
    // Enter on a focused "Cancel" or "Delete" presses it; elsewhere it presses "Open".
    keyclick::returnPressesFocusedButtons(this);
}

void loadpage::load() {
    List1->hide();
    List1->clear();
    List1->addItems(MDIForm1::get().registry().listLines());
    List1->show();
}

QString loadpage::selectedName() const {
    const QListWidgetItem* item = List1->currentItem();
    if (!item || !item->isSelected())
        return QString();
    return item->text().left(BizRegistry::nameWidth);
}

void loadpage::openbiz() {
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    MDIForm1& main = MDIForm1::get();
    BizRegistry& registry = main.registry();
    const int slot = registry.slotNamed(name);
    if (slot >= 0) {
        registry.cur_biz = qint16(slot);
        registry.biz_state = 1;
        main.reset();
    }
    unload(QDialog::Accepted);
}

void loadpage::deleteSelected() {
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    if (!prompts::question(QStringLiteral("are you sure about deleting ") + name +
                           QLatin1Char('?')))
        return;
    MDIForm1& main = MDIForm1::get();
    const int slot = main.registry().slotNamed(name);
    if (slot >= 0) {
        main.registry().release(slot);
        main.saveRegistry();
    }
    unload(Reopen);
}

void loadpage::reject() {
    unload();
}
