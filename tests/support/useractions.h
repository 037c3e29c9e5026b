#pragma once

#include <QString>

class QAbstractButton;
class QAbstractItemView;
class QMainWindow;
class QWidget;

// What a user does with the mouse and the keyboard, as real events on the widgets. Each action
// runs from inside an event loop (asUser), as in the running program, and returns when the
// handlers it started have returned, the modal windows they opened included: answer those with
// a ModalDriver set up before.
namespace user {

// A left click in the middle of the widget.
void click(QWidget* widget);
void doubleClick(QWidget* widget);
// A click on line `row` of a list or table view.
void clickLine(QAbstractItemView* view, int row);
// A menu entry chosen with the mouse: a click on the menu bar's entry `menu` (the objectName of
// the menu's action), then on the entry `entry` (the objectName of the QAction).
void chooseMenu(QMainWindow* window, const QString& menu, const QString& entry);
// A key pressed where the focus is (the active window when no widget has the focus).
void press(int key, int modifiers = 0);
// Text typed into the widget, which takes the focus first.
void type(QWidget* widget, const QString& text);
// The window closed as the user chooses `how`: "Esc" pressed in it (it is made the active
// window first: the offscreen platform does not activate it by itself), "close box" (the close
// event a click on the frame's box sends), anything else a click on its `button`.
void closeWindow(QWidget* window, QAbstractButton* button, const QString& how);

} // namespace user
