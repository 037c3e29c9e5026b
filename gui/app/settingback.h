#pragma once

#include "gui/widgets/windowslot.h"

#include <QWidget>

// The backdrop shown behind the settings window while a new business is made.
class settingback : public QWidget, public WindowSlot<settingback> {
    Q_OBJECT
public:
    settingback();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
