#pragma once

#include "core/business/bizsettings.h"
#include "gui/widgets/windowslot.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

// The business settings window: name, CEO, type, mark-up factor, three labour rates and the
// sales tax of the open business, kept in settings.dat of its folder.
class settings : public QDialog, public WindowSlot<settings> {
    Q_OBJECT
public:
    settings();

    // Fills the fields from the session's settings.dat.
    void load();

    std::array<QLineEdit*, 8> Text1{};
    std::array<QLabel*, 8> Label1{};
    std::array<QPushButton*, 2> Command1{};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void unloading() override;
    void applyForm(int index);
    void save();

    BizSettings record_;
};
