#pragma once

class QWidget;

// Where the modeless windows (the data finder, the new item dialog, the backdrop) are shown:
// the main window's document area. The main window implements it; the windows know only this.
class WindowHost {
public:
    // Shows a window inside the host, or brings it forward when it is shown there already.
    virtual void showChild(QWidget* window) = 0;
    // The data finder has unloaded itself: the host brings its status line back in line.
    virtual void finderUnloaded() = 0;

protected:
    ~WindowHost() = default;
};
