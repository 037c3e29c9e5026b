#include "app/settingback.h"

#include "common/discardwindow.h"
#include "resources/pictures.h"

#include <QPainter>

settingback::settingback() {
    setObjectName(QStringLiteral("settingback"));
    setWindowTitle(QStringLiteral("VARNEK PRAXO"));
}

void settingback::unload() {
    forget();
    discardWindow(this);
}

void settingback::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), pictures::pixmap(QStringLiteral("backdrop"), size()));
}
