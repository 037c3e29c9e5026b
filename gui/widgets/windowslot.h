#pragma once

#include "core/business/business.h"
#include "gui/widgets/discardwindow.h"

#include <QDialog>
#include <QPointer>

#include <type_traits>

// The life cycle every window shares. At most one instance of each window exists: it is created
// ("loaded") on first reference and deleted when it is unloaded. A window that works on a
// business is opened for that business's session and unloads, without writing, when the session
// closes. A window class derives from WindowSlot<itself>.
template <class W>
class WindowSlot {
public:
    // The window when it is loaded, else nullptr.
    static W* loaded() { return current_; }
    // The window, created on first reference.
    static W& get() {
        if (!current_)
            current_ = new W();
        return *current_;
    }
    // The window of a business's session. A window still loaded for another session (which
    // cannot be open any more) is unloaded first.
    static W& get(Business& session) {
        if (current_ && current_->business_ && current_->business_ != &session)
            current_->unload();
        W& window = get();
        window.bindTo(session);
        return window;
    }

    // The session the window works on. Only for a window opened with get(Business&).
    Business& business() const {
        Q_ASSERT(business_);
        return *business_;
    }
    // True while the window's session is open.
    bool businessOpen() const { return business_ && !business_->isClosed(); }

    // The one way out of every window: hides it (with its frame inside the main window), makes
    // it no longer the loaded one, ends its modal run with `result`, and deletes it once control
    // is back in the event loop, so that a handler of its own may call this and return. Further
    // calls do nothing.
    void unload(int result = QDialog::Rejected) {
        if (unloaded_)
            return;
        unloaded_ = true;
        W* self = static_cast<W*>(this);
        forget();
        unloading();
        if constexpr (std::is_base_of_v<QDialog, W>)
            self->done(result);
        discardWindow(self);
    }
    bool isUnloaded() const { return unloaded_; }

    // Shows a modal window and returns its result code; a window that unloaded itself while
    // loading (it could not show its data and said so) is not shown and returns its result.
    int runModal() {
        W* self = static_cast<W*>(this);
        if (unloaded_)
            return self->result();
        return self->exec();
    }

protected:
    WindowSlot() = default;
    virtual ~WindowSlot() { forget(); }
    // What a window does when it unloads besides the shared steps (before it is hidden).
    virtual void unloading() {}

private:
    void forget() {
        if (current_ == static_cast<W*>(this))
            current_ = nullptr;
    }
    void bindTo(Business& session) {
        if (business_ == &session)
            return;
        business_ = &session;
        W* self = static_cast<W*>(this);
        QObject::connect(&session, &Business::closing, self, [self] { self->unload(); });
    }

    QPointer<Business> business_;
    bool unloaded_ = false;
    static inline W* current_ = nullptr;
};
