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
    loadpage();

    void load();
    void unload();
    // Opens the business of the selected line.
    void openbiz();

    // Set by "Delete": the opener shows the window again so that the list is rebuilt.
    bool reopen = false;

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
