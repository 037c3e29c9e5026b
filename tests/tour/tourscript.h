#pragma once

#include <QObject>
#include <QString>

#include <deque>
#include <functional>

class TourPrompts;

// The tour as a list of steps run one after another with a pause between them. The next step
// is scheduled before a step runs, so a step that opens a modal window (which waits in its own
// event loop) is followed by the next step inside that window. While a photographed box is on
// the screen the script waits.
class TourScript : public QObject {
public:
    TourScript(TourPrompts& prompts, int pauseMs) : prompts_(prompts), pauseMs_(pauseMs) {}

    void add(const QString& what, std::function<void()> step);
    void start();
    // Called when the last step has run.
    std::function<void()> finished;

private:
    void runNext();

    struct Step {
        QString what;
        std::function<void()> run;
    };
    TourPrompts& prompts_;
    int pauseMs_;
    std::deque<Step> steps_;
    int done_ = 0;
    bool waitedForBox_ = false;
};
