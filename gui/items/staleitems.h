#pragma once

#include "core/items/staleprices.h"
#include "gui/widgets/windowslot.h"

#include <QDialog>

#include <array>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

// The items whose lines carry a price that is out of date: number, description, how many of
// their lines, and whether the item is confirmed. A double-click (or "Edit item") opens the
// item in the item builder as the item list's "Edit item" does; the list is read again when the
// builder closes.
class staleitems : public QDialog, public WindowSlot<staleitems> {
    Q_OBJECT
public:
    staleitems();

    // Reads the list from the business's tables; false (the user is told) when they cannot be
    // read.
    bool load();

    QTreeWidget* List1;
    QLabel* Label1;
    std::array<QPushButton*, 2> Command1{}; // "Edit item", "Close"

protected:
    void reject() override;

private:
    void showlist();
    void editSelected();

    std::vector<staleprices::StaleItem> items_; // one per line of List1
};
