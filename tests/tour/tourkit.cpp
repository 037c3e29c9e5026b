#include "tourkit.h"

#include "gui/app/mdiform1.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

namespace tourkit {
namespace {

QString shotFolder;
int shotCount = 0;
int failureCount = 0;

QPoint pointIn(const QWidget* widget, QPoint at) {
    return at == QPoint(-1, -1) ? widget->rect().center() : at;
}

void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

void setShotFolder(const QString& folder) {
    shotFolder = folder;
    QDir().mkpath(folder);
}

void shoot(const QString& name) {
    shootAs(QStringLiteral("guide-%1-%2").arg(++shotCount, 2, 10, QLatin1Char('0')).arg(name));
}

namespace {

QString rectText(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Every window shown lies within the main window: the windows inside it within its area, the
// others within its frame.
void checkWindowsFit() {
    const MDIForm1& main = MDIForm1::get();
    const QRect frame = main.frameGeometry();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        // (A window of no size, such as a popup not yet laid out, shows nothing.)
        if (window != &main && window->isVisible() && !window->size().isEmpty() &&
            window->isWindow() && !window->inherits("QMenu") && !window->inherits("QTipLabel"))
            check(frame.contains(window->frameGeometry()),
                  QStringLiteral("%1 (%2) fits in the main window (%3)")
                      .arg(window->objectName(), rectText(window->frameGeometry()),
                           rectText(frame)));
    }
    const QRect area = main.mdiArea()->viewport()->rect();
    for (const QMdiSubWindow* inside : main.mdiArea()->subWindowList()) {
        if (inside->isVisible())
            check(area.contains(inside->geometry()),
                  QStringLiteral("%1 fits in the main window's area").arg(inside->objectName()));
    }
}

} // namespace

void shootAs(const QString& name) {
    QApplication::processEvents();
    checkWindowsFit();
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString file = QDir(shotFolder).filePath(name + QStringLiteral(".png"));
    check(!screen.isNull() && screen.save(file), QStringLiteral("screenshot ") + file);
    std::printf("  shot %s\n", qPrintable(file));
}

void click(QWidget* widget, QPoint at) {
    const QPoint point = pointIn(widget, at);
    // The windowing system gives a clicked widget the focus before it sees the press.
    if (widget->focusPolicy() & Qt::ClickFocus)
        widget->setFocus(Qt::MouseFocusReason);
    mouse(widget, QEvent::MouseButtonPress, point, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, point, Qt::NoButton);
}

void doubleClick(QWidget* widget, QPoint at) {
    const QPoint point = pointIn(widget, at);
    mouse(widget, QEvent::MouseButtonPress, point, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, point, Qt::NoButton);
    mouse(widget, QEvent::MouseButtonDblClick, point, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, point, Qt::NoButton);
}

void clickLine(QListView* list, int row) {
    const QModelIndex index = list->model()->index(row, list->modelColumn());
    check(index.isValid(), QStringLiteral("line %1 of %2").arg(row).arg(list->objectName()));
    list->scrollTo(index);
    click(list->viewport(), list->visualRect(index).center());
}

void pressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void type(QWidget* lineEdit, const QString& text) {
    auto* box = qobject_cast<QLineEdit*>(lineEdit);
    if (!box)
        fatal(QStringLiteral("%1 is no text box").arg(lineEdit->objectName()));
    box->setFocus();
    box->setText(text);
}

void printFocusChain(QWidget* window) {
    std::printf("  tab order of %s \"%s\":\n", qPrintable(window->objectName()),
                qPrintable(window->windowTitle()));
    QWidget* widget = window;
    for (int guard = 0; guard < 500; ++guard) {
        widget = widget->nextInFocusChain();
        if (widget == window)
            break;
        if (!window->isAncestorOf(widget) || !widget->isVisibleTo(window) || !widget->isEnabled() ||
            !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        const QPoint at = widget->mapTo(window, QPoint(0, 0));
        std::printf("    %-22s %-14s at %4d,%4d  %s\n", qPrintable(widget->objectName()),
                    widget->metaObject()->className(), at.x(), at.y(),
                    qPrintable(widget->property("text").toString().left(30)));
    }
}

void check(bool condition, const QString& what) {
    if (condition)
        return;
    ++failureCount;
    std::fprintf(stderr, "TOUR FAILURE: %s\n", qPrintable(what));
}

void fatal(const QString& what) {
    std::fprintf(stderr, "TOUR STOPPED: %s\n", qPrintable(what));
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(2);
}

int failures() {
    return failureCount;
}

} // namespace tourkit
