#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs an action on a window once it is loaded and shown, for windows that are opened modally
// by the call that comes next. Gives up after a few seconds so a failure never hangs a test.
template <class W>
void whenShown(std::function<void(W&)> action, int attemptsLeft = 500) {
    QTimer::singleShot(10, [action, attemptsLeft] {
        W* window = W::loaded();
        if (window && window->isVisible()) {
            action(*window);
            return;
        }
        if (attemptsLeft > 0)
            whenShown<W>(action, attemptsLeft - 1);
    });
}

// Closes every modal window left open by a failed test.
inline void closeModalWindows() {
    for (int guard = 0; guard < 20; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        modal->close();
        QApplication::processEvents();
    }
}
