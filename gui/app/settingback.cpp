#include "gui/app/settingback.h"

#include "gui/widgets/discardwindow.h"
#include "gui/widgets/pictures.h"

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
