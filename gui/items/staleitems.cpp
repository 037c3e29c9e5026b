#include "gui/items/staleitems.h"

#include "core/common/database.h"
#include "core/common/prompts.h"
#include "core/common/textnum.h"
#include "gui/items/changingitem.h"
#include "gui/widgets/buttonrow.h"
#include "gui/widgets/keyclick.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const char* const headers[4] = {"Item #", "Description", "Out-of-date prices", "Confirmed"};
} // namespace

staleitems::staleitems() : List1(new QTreeWidget(this)), Label1(new QLabel(this)) {
    setObjectName(QStringLiteral("staleitems"));
    setWindowTitle(QStringLiteral("Out-of-date item prices"));

    List1->setObjectName(QStringLiteral("List1"));
    List1->setColumnCount(4);
    QStringList captions;
    for (const char* header : headers)
        captions << QLatin1String(header);
    List1->setHeaderLabels(captions);
    List1->setRootIsDecorated(false);
    List1->setUniformRowHeights(true);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    List1->header()->setStretchLastSection(false);
    connect(List1, &QTreeWidget::itemDoubleClicked, this, &staleitems::editSelected);
    keyclick::onLineReturn(List1, [this](const QModelIndex& line) {
        List1->setCurrentIndex(line);
        editSelected();
    });

    Label1->setObjectName(QStringLiteral("Label1"));
    QHBoxLayout* buttons = buttonRow<2>(this, Command1, {"Edit item", "Close"});
    buttons->insertWidget(0, Label1, 1);
    connect(Command1[0], &QPushButton::clicked, this, &staleitems::editSelected);
    connect(Command1[1], &QPushButton::clicked, this, [this] { unload(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1, 1);
    layout->addLayout(buttons);
    resize(640, 360);
    keyclick::returnPressesFocusedButtons(this);
}

bool staleitems::load() {
    try {
        showlist();
    } catch (const DbError& error) {
        prompts::engineError(error);
        unload();
        return false;
    }
    return true;
}

void staleitems::showlist() {
    items_ = staleprices::staleItems(business().connection(Business::parts_list),
                                     business().connection(Business::parts),
                                     business().connection(Business::assembled_items));
    List1->clear();
    QList<QTreeWidgetItem*> lines;
    for (const staleprices::StaleItem& item : items_) {
        auto* line = new QTreeWidgetItem(
            QStringList{format(item.number, QStringLiteral("0000")), item.description,
                        QString::number(item.staleLines),
                        item.confirmed ? QStringLiteral("Yes") : QStringLiteral("No")});
        line->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        lines << line;
    }
    List1->addTopLevelItems(lines);
    for (int c : {0, 2, 3})
        List1->resizeColumnToContents(c);
    Label1->setText(items_.empty() ? QStringLiteral("Every item's prices are up to date.")
                    : items_.size() == 1
                        ? QStringLiteral("1 item carries out-of-date prices.")
                        : QStringLiteral("%1 items carry out-of-date prices.").arg(items_.size()));
}

void staleitems::editSelected() {
    QTreeWidgetItem* line = List1->currentItem();
    if (!line || !line->isSelected())
        return;
    const staleprices::StaleItem item = items_[std::size_t(List1->indexOfTopLevelItem(line))];
    changingitem::edit(business(), item.position, format(item.number, QStringLiteral("0000 ")),
                       item.description);
    if (isUnloaded())
        return;
    try {
        showlist();
    } catch (const DbError& error) {
        prompts::engineError(error);
    }
}

// The close box and Esc leave as "Close" does.
void staleitems::reject() {
    unload();
}
