#pragma once

#include "gui/widgets/windowslot.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

// The title page: shown at start-up until it closes itself after 100 timer ticks, and from the
// Help menu until "Ok" is pressed.
class titlepage : public QDialog, public WindowSlot<titlepage> {
    Q_OBJECT
public:
    titlepage();

    qint16 mode = 0; // 0 at start-up, 1 from the Help menu

    void load();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void unloading() override;
    void tick();

    QLabel* picture_;
    QPushButton* Command1;
    QTimer* Timer1;
    int ticks_ = 0;
};
