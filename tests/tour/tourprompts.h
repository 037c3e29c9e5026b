#pragma once

#include "gui/widgets/qtprompts.h"
#include "support/scriptedprompts.h"

#include <QString>

#include <deque>
#include <functional>

class QWidget;

// Answers the program's message and input boxes from the tour's script. A box named for a
// screenshot is shown for real, with the answer typed in, photographed and then answered, so
// the guide shows the box the user sees.
class TourPrompts : public ScriptedPrompts {
public:
    // The next box expected, with its answer; a box given a shot name is shown for real and
    // photographed under that name.
    void answerMessage(const QString& text, const QString& shotName = QString());
    void answerQuestion(const QString& text, const QString& title, bool answer,
                        const QString& shotName = QString());
    void answerInput(const QString& prompt, const QString& title, const QString& answer,
                     const QString& shotName = QString());
    // True while a real box is on the screen.
    bool showing() const { return showing_; }
    // A modal window of the program's (by objectName) that the next step opens: photographed
    // as <fileName>.png once shown, then closed by `answer`; the script waits meanwhile.
    void answerWindow(const QString& objectName, const QString& fileName,
                      std::function<void(QWidget*)> answer, int attemptsLeft = 200);

    void message(const QString& text, const QString& title, PromptIcon icon) override;
    bool question(const QString& text, const QString& title) override;
    QString input(const QString& prompt, const QString& title,
                  std::optional<QPoint> positionTwips) override;

private:
    // Waits for the real box, lets `prepare` fill it in, photographs it and lets `answer`
    // close it.
    void whenBoxShown(const QString& shotName, std::function<void(QWidget*)> prepare,
                      std::function<void(QWidget*)> answer, int attemptsLeft = 200);
    bool takeShot(QString& name);

    QtPrompts real_;
    std::deque<QString> shots_; // one per expected box, in order; empty: not photographed
    bool showing_ = false;
};
