#pragma once

#include "gui/widgets/windowhost.h"
#include "gui/widgets/windowslot.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// Starts a new assembled item: proposes its number, takes its description, adds its row to
// "Assembled Items" and opens the item builder on it. Shown in the main window beside the
// item list.
class newitem : public QWidget, public WindowSlot<newitem> {
    Q_OBJECT
public:
    newitem();

    WindowHost* host = nullptr; // where the item list is shown again

    // Proposes the data finder's next number; the finder's item list is shown first.
    void load();

    std::array<QLineEdit*, 2> Text1{};
    std::array<QLabel*, 2> Label1{};
    QPushButton* Command1 = nullptr; // "Continue"
    QPushButton* Command2 = nullptr; // "Cancel"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void proceed();
    void cancel();

    float markup_rate_ = 0; // from the business settings
};
