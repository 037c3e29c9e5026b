#pragma once

#include <QString>

#include <functional>

#include <memory>

class QProgressDialog;
class QWidget;

// A progress window for work that may take longer than half a second: it shows only once the
// work has run that long, and takes no clicks meanwhile (the work cannot be stopped half-way).
class ProgressWindow {
public:
    ProgressWindow(QWidget* parent, const QString& label);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // The callback that moves the bar (0 to 1).
    std::function<void(double)> callback();

private:
    std::unique_ptr<QProgressDialog> dialog_;
};
