#pragma once

#include "gui/widgets/windowslot.h"

#include <QDialog>
#include <QPalette>

#include <array>

class PickerCaller;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class RecordSet;

// The part and item picker: chooses one part or one assembled item, with its quantity and, for
// an item being built, the labour hours, and hands the choice to the window that opened it.
class getpart : public QDialog, public WindowSlot<getpart> {
    Q_OBJECT
public:
    getpart();

    qint16 mode = 0;                // 0 the item builder, -1 the invoice editor
    PickerCaller* caller = nullptr; // set by the opener before load()
    qint16 is_part = -1;            // -1 parts listed, 0 assembled items listed
    float cur_hours = 0.0f;         // delivery time in days of the choice

    // Runs after the opener has set mode and caller.
    void load();

    std::array<QLineEdit*, 9> Text1{};
    std::array<QLabel*, 9> Label1{};
    std::array<QRadioButton*, 2> Option1{};
    QLabel* Picture1;
    QPushButton* Command1;
    QPushButton* Command2;
    QListWidget* List1; // part types
    QListWidget* List2; // candidates
    QListWidget* List3; // item types

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void reject() override;

private:
    void buildControls();
    RecordSet& listedRows() const;
    void setlist();
    void connectKeys();
    void fieldClicked(int index);
    void fieldKeyed(int index);
    void askHighestCost();
    void askQuantity();
    void askHours(int index);
    void showPopup(QListWidget* list, int underField);
    void pickType(QListWidget* list, int field, QListWidgetItem* item);
    void pickCandidate(QListWidgetItem* item);
    void chooseKind(int option);
    void prefill();
    void showDelivery();
    void showPicture(const QString& name);
    void addChoice();

    QPalette fieldPalette_;
};
