#include "gui/app/settingback.h"

#include <QCloseEvent>
#include "gui/widgets/pictures.h"

#include <QPainter>

settingback::settingback() {
    setObjectName(QStringLiteral("settingback"));
    setWindowTitle(QStringLiteral("VARNEK PRAXO"));
}

// Its frame's close box takes the one way out.
void settingback::closeEvent(QCloseEvent* event) {
    event->ignore();
    unload();
}

void settingback::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), pictures::pixmap(QStringLiteral("backdrop"), size()));
}
