#include "support/useractions.h"

#include "support/modaldriver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

namespace user {

void click(QWidget* widget) {
    asUser([widget] { QTest::mouseClick(widget, Qt::LeftButton); });
}

void doubleClick(QWidget* widget) {
    asUser([widget] { QTest::mouseDClick(widget, Qt::LeftButton); });
}

void clickLine(QAbstractItemView* view, int row) {
    const auto* list = qobject_cast<QListView*>(view);
    const QModelIndex index = view->model()->index(row, list ? list->modelColumn() : 0);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    asUser([view, at] { QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at); });
}

void chooseMenu(QMainWindow* window, const QString& menu, const QString& entry) {
    QMenuBar* bar = window->menuBar();
    QAction* top = nullptr;
    for (QAction* action : bar->actions()) {
        if (action->objectName() == menu)
            top = action;
    }
    if (!top)
        qFatal("no menu %s", qPrintable(menu));
    QMenu* popup = top->menu();
    if (!popup) {
        // A top-level entry that is a command of its own.
        asUser([bar, top] {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
        });
        return;
    }
    asUser([bar, top] {
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
    });
    if (!waitUntil([popup] { return popup->isVisible(); }))
        qFatal("menu %s did not open", qPrintable(menu));
    QAction* chosen = popup->findChild<QAction*>(entry);
    if (!chosen) {
        for (QAction* action : popup->actions()) {
            if (action->objectName() == entry)
                chosen = action;
        }
    }
    if (!chosen)
        qFatal("no entry %s", qPrintable(entry));
    asUser([popup, chosen] {
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(chosen).center());
    });
}

void press(int key, int modifiers) {
    asUser([key, modifiers] {
        QWidget* target = QApplication::focusWidget();
        if (!target)
            target = QApplication::activeWindow();
        if (!target)
            qFatal("no window to type into");
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    });
}

void type(QWidget* widget, const QString& text) {
    asUser([widget, text] {
        widget->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(widget, text);
    });
}

void closeWindow(QWidget* window, QAbstractButton* button, const QString& how) {
    if (how == QLatin1String("Esc")) {
        window->activateWindow();
        if (!waitUntil([window] { return QApplication::activeWindow() == window; }))
            qFatal("window %s did not become active", qPrintable(window->objectName()));
        QWidget* target = window->focusWidget() ? window->focusWidget() : window;
        asUser([target] { QTest::keyClick(target, Qt::Key_Escape); });
    } else if (how == QLatin1String("close box")) {
        asUser([window] { window->close(); });
    } else {
        click(button);
    }
}

} // namespace user
