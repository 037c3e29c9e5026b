#include "gui/finder/finderactions.h"

#include "gui/catalogue/partpage.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/prompts.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "gui/finder/databaseview.h"
#include "core/finder/finderlist.h"
#include "gui/items/changingitem.h"
#include "core/items/itemtables.h"
#include "gui/sales/custpage.h"
#include "core/sales/customerrules.h"
#include "core/sales/salestables.h"
#include "gui/sales/showinvoices.h"
#include "gui/sales/viewinvoice.h"

#include <QListView>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

namespace {

// True when a row of "parts list" names the component; rows of the item itself are skipped
// when the host is given.
bool componentInUse(RecordSet& lines, bool isPart, qint64 number, qint64 skipHost = -1) {
    if (lines.recordCount() == 0)
        return false;
    for (lines.moveFirst(); !lines.eof(); lines.moveNext()) {
        if (lines.field(PartsList::ip_no).toInt64() == number &&
            lines.field(PartsList::part_flag).toBool() == isPart &&
            lines.field(PartsList::host_item_no).toInt64() != skipHost)
            return true;
    }
    return false;
}

} // namespace

void FinderActions::fromList(const std::function<void()>& open) {
    QPointer<databaseview> finder(&finder_);
    open();
    if (finder && !finder->isUnloaded())
        finder->rebuild();
}

bool FinderActions::needsSelection(const char* text, const char* title) const {
    if (finder_.selectedLine() >= 0)
        return true;
    prompts::message(QLatin1String(text), title ? QLatin1String(title) : QString());
    return false;
}

bool FinderActions::numbersLeft() const {
    if (finder_.numbersLeft())
        return true;
    prompts::message(numbersUsedUp);
    return false;
}

void FinderActions::Command1_Click(int index) {
    finder_.closeSearch();
    const int mode = finder_.mode;
    if (index == 3) {
        finder_.unload();
        return;
    }
    if (mode == 0) {
        switch (index) {
        case 0:
            addPart();
            break;
        case 1:
            if (needsSelection("Please select a recordfirst", "record List View"))
                editPart();
            break;
        case 2:
            if (needsSelection("Must select a record first"))
                deletePart();
            break;
        case 4:
            if (needsSelection("select a part first"))
                showCustomerList();
            break;
        }
    } else if (mode == 1) {
        switch (index) {
        case 0:
            addCustomer();
            break;
        case 1:
            if (needsSelection("Please select a recordfirst", "record List View"))
                editCustomer();
            break;
        case 2:
            if (needsSelection("Must select a record first"))
                deleteCustomer();
            break;
        case 4:
            viewInvoices();
            break;
        }
    } else if (mode == 3) {
        switch (index) {
        case 0:
            if (needsSelection("Please select an item  first", "item List View"))
                editItem();
            break;
        case 1:
            if (needsSelection("Please select a recordfirst", "record List View"))
                showCustomerList();
            break;
        case 2:
            if (needsSelection("Must select a record first"))
                deleteItem();
            break;
        }
    }
}

void FinderActions::lineDoubleClicked() {
    Command1_Click(finder_.mode == 3 ? 0 : 1);
}

void FinderActions::addPart() {
    if (!numbersLeft())
        return;
    fromList([this] {
        Partpage& editor = Partpage::get(finder_.business());
        editor.newpart = -1;
        editor.max = finder_.max;
        editor.numbersLeft = finder_.numbersLeft();
        editor.load();
        editor.runModal();
    });
}

void FinderActions::editPart() {
    finder_.positionOnSelection();
    fromList([this] {
        Partpage& editor = Partpage::get(finder_.business());
        editor.newpart = 0;
        editor.max = finder_.max;
        editor.numbersLeft = finder_.numbersLeft();
        editor.load();
        editor.runModal();
    });
}

void FinderActions::deletePart() {
    finder_.positionOnSelection();
    RecordSet& parts = finder_.connection(databaseview::parts);
    const qint64 number = parts.field(Parts::part_no).toInt64();
    if (componentInUse(finder_.connection(databaseview::parts_list), true, number)) {
        prompts::message(QStringLiteral("Product is in use in an item"));
        return;
    }
    if (!prompts::question(QStringLiteral("Are you sure"), QStringLiteral("deleting part")))
        return;
    try {
        Transaction transaction(parts.database());
        parts.remove();
        transaction.commit();
    } catch (const DbError& error) {
        prompts::engineError(error);
        return;
    }
    finder_.reshow(0);
}

void FinderActions::deleteItem() {
    finder_.positionOnSelection();
    RecordSet& items = finder_.connection(databaseview::assembled_items);
    if (items.field(AssembledItems::confirmed).toBool()) {
        prompts::message(QStringLiteral("Cannot delete item. it's confirmed"));
        return;
    }
    const qint64 number = items.field(AssembledItems::item_no).toInt64();
    RecordSet& lines = finder_.connection(databaseview::parts_list);
    if (componentInUse(lines, false, number, number)) {
        prompts::message(QStringLiteral("Product is in use in an item"));
        return;
    }
    if (!prompts::question(QStringLiteral("Are you sure"), QStringLiteral("deleting item")))
        return;
    // The item's own component lines go with it, or a later item of the same number would
    // inherit them.
    try {
        Transaction transaction(items.database());
        if (lines.recordCount() > 0) {
            for (lines.moveFirst(); !lines.eof(); lines.moveNext()) {
                if (lines.field(PartsList::host_item_no).toInt64() == number)
                    lines.remove();
            }
        }
        items.moveFirst();
        items.move(finder_.linePosition(finder_.selectedLine()));
        items.remove();
        transaction.commit();
    } catch (const DbError& error) {
        prompts::engineError(error);
        return;
    }
    finder_.reshow(3);
}

void FinderActions::editItem() {
    finder_.List1[0]->setFocus();
    const int line = finder_.selectedLine();
    fromList([this, line] {
        changingitem::edit(finder_.business(), finder_.linePosition(line),
                           finder_.cellText(0, line).left(5), finder_.cellText(2, line));
    });
}

void FinderActions::showCustomerList() {
    QListWidget* list = finder_.List4;
    list->clear();
    RecordSet& customers = finder_.connection(databaseview::customers);
    if (customers.recordCount() > 0) {
        QStringList lines;
        for (customers.moveFirst(); !customers.eof(); customers.moveNext())
            lines << format(customers.field(Customers::cust_no).toInt64(), QStringLiteral("0000")) +
                         QStringLiteral("  ") + customers.field(Customers::first_name).toText() +
                         QLatin1Char(' ') + customers.field(Customers::last_name).toText();
        list->addItems(lines);
    }
    list->setGeometry(finder_.width() / 4, finder_.height() / 6, finder_.width() / 2,
                      finder_.height() * 2 / 3);
    list->show();
    list->raise();
}

void FinderActions::customerPicked(int row) {
    QListWidgetItem* line = finder_.List4->item(row);
    if (!line)
        return;
    const qint64 customer = qint64(wholePart(leadingValue(line->text().left(4))));
    // The part or item sold is the one of the highlighted line.
    if (!finder_.positionOnSelection())
        return;
    fromList([this, customer] {
        viewinvoice& editor = viewinvoice::get(finder_.business());
        editor.rec = qint16(-(customer + 1));
        editor.sell = finder_.mode == 3 ? 3 : 0;
        if (editor.load())
            editor.runModal();
    });
}

void FinderActions::addCustomer() {
    if (!numbersLeft())
        return;
    fromList([this] {
        custpage& editor = custpage::get(finder_.business());
        editor.newcust = -1;
        editor.max = finder_.max;
        editor.numbersLeft = finder_.numbersLeft();
        editor.load();
        editor.runModal();
    });
}

void FinderActions::editCustomer() {
    finder_.positionOnSelection();
    fromList([this] {
        custpage& editor = custpage::get(finder_.business());
        editor.newcust = 0;
        editor.max = finder_.max;
        editor.numbersLeft = finder_.numbersLeft();
        editor.load();
        editor.runModal();
    });
}

void FinderActions::deleteCustomer() {
    finder_.positionOnSelection();
    RecordSet& customers = finder_.connection(databaseview::customers);
    if (customerrules::deleteSelectedCustomer(customers,
                                              finder_.connection(databaseview::sales_invoices)))
        finder_.reshow(1);
}

void FinderActions::viewInvoices() {
    const int line = finder_.selectedLine();
    qint16 cust = -1;
    QString cname = QStringLiteral("ALL");
    if (line >= 0) {
        cust = toInt16(wholePart(leadingValue(finder_.cellText(0, line)))).value_or(-1);
        cname = customerrules::listName(finder_.cellText(2, line), finder_.cellText(1, line));
    }
    fromList([this, cust, cname] {
        showinvoices& list = showinvoices::get(finder_.business());
        list.cust = cust;
        list.cname = cname;
        list.load();
        list.runModal();
    });
}
