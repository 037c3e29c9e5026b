#pragma once

#include "core/business/bizsettings.h"
#include "gui/widgets/windowslot.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class RecordSet;

// The part editor: adds a part to "Parts" (newpart -1) or shows and edits the current row of
// the data finder's parts record set (newpart 0), stepping through the table row by row.
class Partpage : public QDialog, public WindowSlot<Partpage> {
    Q_OBJECT
public:
    Partpage();

    qint16 newpart = 0;       // -1 adding, 0 editing
    qint16 max = 0;           // the data finder's next part number
    bool numbersLeft = true;  // false when that number would pass 32767

    void load();
    // Fills every field from the current row of the parts record set.
    void showpart();

    std::array<QLineEdit*, 12> Text1{};
    std::array<QLabel*, 12> Label1{};
    QLabel* Picture1;
    QListWidget* List1;                     // vendors
    QListWidget* List2;                     // classifications
    std::array<QPushButton*, 2> Command3{}; // "<", ">"
    std::array<QPushButton*, 2> Command1{}; // "Save", "Close"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void reject() override;

private:
    RecordSet& parts() const;
    void restoreDays();
    void applyForm(int index);
    void rememberShown();
    bool changed() const;
    void closeAsked();
    void connectKeys();
    void fieldClicked(int index);
    void fieldDoubleClicked(int index);
    void showList(QListWidget* list, QLineEdit* field);
    void hideLists();
    void pickLine(QListWidget* list, QLineEdit* field);
    void choosePicture();
    bool showPicture(const QString& name);
    void clearPicture();
    void step(bool forward);
    void save();

    BizSettings settings_;
    QString picture_; // the remembered picture file name, written with the row
    // The fields and picture name as last shown, to tell whether the user changed something.
    std::array<QString, 12> shown_;
    QString shownPicture_;
    // The delivery time now and before its last change, to tell a deletion from typing.
    QString deliveryNow_;
    QString deliveryBefore_;
};
