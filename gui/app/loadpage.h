#pragma once

#include "gui/widgets/windowslot.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QListWidget;
class QPushButton;

// Lists the registered businesses to open or delete one.
class loadpage : public QDialog, public WindowSlot<loadpage> {
    Q_OBJECT
public:
    // The result of "Delete": the opener shows the window again so that the list is rebuilt.
    enum Result { Reopen = 2 };

    loadpage();

    void load();
    // Opens the business of the selected line.
    void openbiz();

    QGroupBox* Frame1;
    QListWidget* List1;
    std::array<QPushButton*, 2> Command1{};
    QPushButton* Command2;

protected:
    void reject() override;

private:
    void deleteSelected();
    QString selectedName() const;
};
