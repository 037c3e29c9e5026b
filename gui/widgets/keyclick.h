#pragma once

#include <functional>

class QAbstractItemView;
class QEvent;
class QKeyEvent;
class QObject;
class QModelIndex;
class QWidget;

// Keyboard stand-ins for the mouse clicks that start actions on fields, lines and buttons.
// Each handled key is swallowed, so it never reaches the window's default button as well.
namespace keyclick {

// A click, double-click or key press that reaches a disabled control through an event filter (a
// real click on a disabled widget still does). A disabled control does nothing: the filters that
// act on clicks and keys let such an event pass untouched.
bool reachesDisabled(const QObject* watched, const QEvent* event);

// Return, Enter or (with `space`) Space, pressed without Ctrl, Alt or Meta and not repeated.
bool isActivationKey(const QKeyEvent* event, bool space = true);

// Return or Enter on `field`, and Space unless the field takes typed text, runs `action`:
// the key press acts as a click on the field.
void onActivate(QWidget* field, std::function<void()> action);

// Return or Enter on a list runs `action` on its current line. The view's own `activated`
// signal is not used: it also comes with a double-click, which the windows answer already.
void onLineReturn(QAbstractItemView* list, std::function<void(const QModelIndex&)> action);

// Esc on a pop-up (a list or a calendar over the form) hides it and gives the focus back to
// `field`, instead of closing the whole window.
void closeOnEscape(QWidget* popup, QWidget* field);

// Return or Enter on a focused push button of `window` that is neither default nor
// auto-default presses that button, as Space does, instead of the window's default button.
void returnPressesFocusedButtons(QWidget* window);

} // namespace keyclick
