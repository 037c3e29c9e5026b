#pragma once

#include "gui/widgets/windowslot.h"

#include <QDialog>

#include <array>

class CodeTable;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

// Edits the descriptions of the classification codes (mode -1) or the vendor codes (mode 0),
// seven rows at a time.
class Codepage : public QDialog, public WindowSlot<Codepage> {
    Q_OBJECT
public:
    Codepage();

    qint16 mode = -1;

    void load();

    std::array<QLineEdit*, 7> Text1{};
    std::array<QLineEdit*, 7> Text2{};
    QScrollBar* VScroll1;
    QGroupBox* Frame1;
    QPushButton* Command1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    CodeTable& table() const;
    void fillRows();
    void normalColours();
    void highlightRow(int row);
    bool moveByKey(int row, int key);
    void storeDescription(int row);
    void closeAndWrite();
};
