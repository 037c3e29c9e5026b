#include "gui/widgets/keyclick.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace keyclick {
namespace {
// Hands the key presses of one widget to a handler; lives and dies with the widget.
class KeyFilter : public QObject {
public:
    KeyFilter(QWidget* watched, std::function<bool(QKeyEvent*)> handler)
        : QObject(watched), handler_(std::move(handler)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && !reachesDisabled(watched, event))
            return handler_(static_cast<QKeyEvent*>(event));
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QKeyEvent*)> handler_;
};

bool takesText(const QWidget* widget) {
    const auto* edit = qobject_cast<const QLineEdit*>(widget);
    return edit && !edit->isReadOnly();
}

bool isEscape(const QKeyEvent* event) {
    return event->key() == Qt::Key_Escape && !(event->modifiers() & ~Qt::KeypadModifier);
}
} // namespace

bool reachesDisabled(const QObject* watched, const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        return widget && !widget->isEnabled();
    }
    default:
        return false;
    }
}

bool isActivationKey(const QKeyEvent* event, bool space) {
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held || event->isAutoRepeat())
        return false;
    const int key = event->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || (space && key == Qt::Key_Space);
}

void onActivate(QWidget* field, std::function<void()> action) {
    new KeyFilter(field, [field, action = std::move(action)](QKeyEvent* event) {
        if (!isActivationKey(event, !takesText(field)))
            return false;
        action();
        return true;
    });
}

void onLineReturn(QAbstractItemView* list, std::function<void(const QModelIndex&)> action) {
    new KeyFilter(list, [list, action = std::move(action)](QKeyEvent* event) {
        if (!isActivationKey(event, false))
            return false;
        const QModelIndex line = list->currentIndex();
        if (line.isValid())
            action(line);
        return true;
    });
}

void closeOnEscape(QWidget* popup, QWidget* field) {
    // A calendar takes its keys in an inner view, its focus proxy.
    QWidget* keys = popup->focusProxy() ? popup->focusProxy() : popup;
    new KeyFilter(keys, [popup, field](QKeyEvent* event) {
        if (!isEscape(event))
            return false;
        popup->hide();
        field->setFocus(Qt::OtherFocusReason);
        return true;
    });
}

void returnPressesFocusedButtons(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        if (button->autoDefault() || button->isDefault())
            continue;
        new KeyFilter(button, [button](QKeyEvent* event) {
            if (!isActivationKey(event, false))
                return false;
            button->click();
            return true;
        });
    }
}

} // namespace keyclick
