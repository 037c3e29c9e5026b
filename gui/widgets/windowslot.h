#pragma once

// At most one instance of each window exists: it is created on first reference and deleted
// when it is unloaded. A window class derives from WindowSlot<itself>.
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

protected:
    WindowSlot() = default;
    ~WindowSlot() { forget(); }
    // Called by the window when it unloads, before it is deleted.
    void forget() {
        if (current_ == static_cast<W*>(this))
            current_ = nullptr;
    }

private:
    static inline W* current_ = nullptr;
};
