#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>

class QWidget;

// Answers the real modal boxes and windows as a user does, with mouse clicks and typed keys.
// Each expected step waits until a modal window of its kind is the active modal widget, checks
// it and acts on it. It polls QApplication::activeModalWidget() from a timer, so it also answers
// boxes that open inside nested modal loops, while the click that opened them is still on the
// stack. A modal window that no step expects is reported and closed, so a failure never hangs.
//
//   ModalDriver driver;
//   driver.expectQuestion("Are you sure", "deleting part", true);
//   driver.expectMessage("saved. ");
//   QTest::mouseClick(button, Qt::LeftButton);   // returns once the boxes are answered
//   QVERIFY2(driver.done(), qPrintable(driver.report()));
class ModalDriver : public QObject {
public:
    ModalDriver();
    ~ModalDriver() override;

    // A message box with this text (and title; the program's own title when none is named),
    // answered with a click on OK.
    void expectMessage(const QString& text, const QString& title = QString());
    // A message box whose text starts with the prefix.
    void expectMessageStartingWith(const QString& prefix, const QString& title = QString());
    // A Yes/No question, answered with a click on Yes or No.
    void expectQuestion(const QString& text, const QString& title, bool yes);
    // An input box: the answer is typed into it and OK clicked; with `cancel`, Cancel is
    // clicked instead.
    void expectInput(const QString& prompt, const QString& title, const QString& answer,
                     bool cancel = false);
    // A modal window of the program, by its objectName: `act` works it (clicks, keys) and must
    // leave it closed or waiting for the next step; `act` runs once.
    void expectWindow(const QString& objectName, std::function<void(QWidget*)> act);

    // True when every expected step was taken and nothing unexpected showed.
    bool done() const { return steps_.empty() && failures_.isEmpty(); }
    // What is wrong, for a test's failure message.
    QString report() const;
    // Every modal window seen, as "kind|title|text" lines.
    const QStringList& seen() const { return seen_; }

private:
    struct Step {
        enum Kind { Message, Question, Input, Window } kind;
        QString text;  // message, question or prompt text; window objectName
        QString title;
        QString answer;
        bool yes = false;
        bool prefixOnly = false;
        bool cancel = false;
        std::function<void(QWidget*)> act;
    };
    void poll();
    void answer(QWidget* modal);
    bool matches(const Step& step, QWidget* modal, QString* why) const;
    void takeStep(const Step& step, QWidget* modal);

    std::deque<Step> steps_;
    QStringList seen_;
    QStringList failures_;
    QTimer timer_;
    QWidget* last_ = nullptr; // the modal widget last acted on, until it is gone
    int idleTicks_ = 0;
};

// Runs a user's action (a click, typed keys) from inside a running event loop, as every action
// of the real program runs, and returns when it is done. The handlers it starts then see the
// loop levels of the real program, so that deferred deletions run when they would there.
void asUser(const std::function<void()>& action);

// Runs the event loop for the time given, as a user who waits does: a real event loop, which
// leaves the deferred deletions of the loops further out alone (QTest::qWait would run them).
void waitFor(int milliseconds);
// Runs the event loop until the condition holds or the time is up; returns the condition.
bool waitUntil(const std::function<bool()>& condition, int milliseconds = 5000);
