#include "gui/widgets/discardwindow.h"

#include <QMdiSubWindow>
#include <QWidget>

void discardWindow(QWidget* window) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        frame->hide();
        frame->deleteLater();
        return;
    }
    window->hide();
    window->deleteLater();
}
