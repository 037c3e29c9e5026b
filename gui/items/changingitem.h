#pragma once

#include "core/business/bizsettings.h"
#include "gui/widgets/windowslot.h"
#include "gui/finder/pickercaller.h"
#include "core/items/itemlines.h"
#include "core/items/staleprices.h"

#include <QDialog>

#include <array>
#include <vector>

class LineGrid;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class StaleMarks;

// The item builder: one assembled item with its fields, its component lines in a grid of seven
// rows, the class list, and Save, Confirm and Cancel. Lines are added and changed through the
// picker, which calls adder().
class changingitem : public QDialog, public WindowSlot<changingitem>, public PickerCaller {
    Q_OBJECT
public:
    changingitem();

    // Reads the item at position `area` of "Assembled Items" and the lines of the item whose
    // number and description the opener hands over (the data finder's selected line; empty for
    // an item the new item dialog has just added). Set area first.
    void load(const QString& itemCode, const QString& description);
    // Opens the item at `position` of "Assembled Items" to edit or view, and runs the builder
    // until it closes.
    static void edit(Business& business, int position, const QString& itemCode,
                     const QString& description);

    // Writes the picker's choice into line ar and unloads the picker; refuses the item itself.
    void adder(qint16 ar) override;
    qint16 pickerOnto() const override { return onto; }
    qint16 pickerCnt() const override { return cnt; }
    PickerLine pickerLine() const override;

    qint16 area = 0; // position of the item's row in "Assembled Items"
    qint16 onto = 0; // the line chosen by the last grid click
    qint16 cnt = 0;  // lines in use
    // The clicked line handed to the picker: number and description, the three hours, unit
    // price, quantity, and P or I.
    QString Data1, data2, data3, data4, data5, data6, data7;

    const ItemLines& lines() const { return lines_; }
    bool isConfirmed() const { return confirmed; }

    std::array<QLineEdit*, 8> Text1{};
    std::array<QLabel*, 8> Label1{};
    // The grid, one array per column: I/P #, Description, Unit price, QTY, Total Price,
    // A. hours, E. Hours, T. Hours, Total I/P cost.
    std::array<QLineEdit*, 7> Text2{}, Text3{}, Text4{}, Text5{}, Text6{}, Text7{}, Text8{},
        Text9{}, Text10{};
    std::array<QLabel*, 9> Label2{};
    QScrollBar* VScroll1 = nullptr;
    QListWidget* List1 = nullptr; // item classes
    std::array<QPushButton*, 3> Command1{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void buildGrid();
    void fillClassList();
    void readItemRow();
    void redisplay();
    void showTotals();
    void gridClick(int r);
    void set_edit_tip(int column, int r);
    void markupEntry();
    void classClicked();
    void classListByKey();
    void hideClassList();
    void save();
    void confirm();
    void cancel();
    float markupFactor() const;
    bool unsavedChanges() const;
    void updatePrices();
    // Removing a line: Delete or "Remove line" on a line of an unconfirmed item.
    void buildLineRemoval();
    bool canRemoveLine(int k) const;
    void removeLine(int k);

    ItemLines lines_;
    bool confirmed = false;
    bool complete_ = true; // every stored line fitted in the table
    LineGrid* grid_ = nullptr;
    // The components' prices now, as the opening read them, and the lines that differ.
    staleprices::CurrentPrices prices_;
    staleprices::StaleLines stale_;
    StaleMarks* marks_ = nullptr;
    BizSettings settings_;
    // What Save would change, as loaded.
    struct Loaded {
        std::vector<ItemLine> lines;
        QString markup;
        QString itemClass;
        bool confirmed = false;
    } loaded_;
};
