#include "tourprompts.h"

#include "tourkit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

namespace {
// Time for the window manager to map and paint a new box before it is photographed.
constexpr int settleMs = 450;

void clickButton(QWidget* box, QMessageBox::StandardButton which) {
    auto* messageBox = qobject_cast<QMessageBox*>(box);
    QAbstractButton* button = messageBox ? messageBox->button(which) : nullptr;
    if (!button)
        tourkit::fatal(QStringLiteral("the message box has no such button"));
    button->click();
}
} // namespace

void TourPrompts::answerMessage(const QString& text, const QString& shotName) {
    expectMessage(text);
    shots_.push_back(shotName);
}

void TourPrompts::answerQuestion(const QString& text, const QString& title, bool answer,
                                 const QString& shotName) {
    expectQuestion(text, title, answer);
    shots_.push_back(shotName);
}

void TourPrompts::answerInput(const QString& prompt, const QString& title, const QString& answer,
                              const QString& shotName) {
    expectInput(prompt, title, answer);
    shots_.push_back(shotName);
}

bool TourPrompts::takeShot(QString& name) {
    name.clear();
    if (!shots_.empty()) {
        name = shots_.front();
        shots_.pop_front();
    }
    return !name.isEmpty();
}

void TourPrompts::whenBoxShown(const QString& shotName, std::function<void(QWidget*)> prepare,
                               std::function<void(QWidget*)> answer, int attemptsLeft) {
    QTimer::singleShot(30, [=, this] {
        QWidget* box = QApplication::activeModalWidget();
        const bool ours = box && box->isVisible() &&
                          (qobject_cast<QMessageBox*>(box) || qobject_cast<QInputDialog*>(box));
        if (!ours) {
            if (attemptsLeft <= 0)
                tourkit::fatal(QStringLiteral("the box for %1 never appeared").arg(shotName));
            whenBoxShown(shotName, prepare, answer, attemptsLeft - 1);
            return;
        }
        prepare(box);
        QTimer::singleShot(settleMs, box, [=] {
            // A name of its own ("guide-...") leaves the numbering of the others alone.
            if (shotName.startsWith(QLatin1String("guide-")))
                tourkit::shootAs(shotName);
            else
                tourkit::shoot(shotName);
            answer(box);
        });
    });
}

void TourPrompts::message(const QString& text, const QString& title, PromptIcon icon) {
    ScriptedPrompts::message(text, title, icon);
    QString shot;
    if (!takeShot(shot))
        return;
    showing_ = true;
    whenBoxShown(
        shot, [](QWidget*) {}, [](QWidget* box) { clickButton(box, QMessageBox::Ok); });
    real_.message(text, title, icon);
    showing_ = false;
}

bool TourPrompts::question(const QString& text, const QString& title) {
    const bool answer = ScriptedPrompts::question(text, title);
    QString shot;
    if (!takeShot(shot))
        return answer;
    showing_ = true;
    whenBoxShown(
        shot, [](QWidget*) {},
        [answer](QWidget* box) { clickButton(box, answer ? QMessageBox::Yes : QMessageBox::No); });
    const bool shown = real_.question(text, title);
    showing_ = false;
    tourkit::check(shown == answer, QStringLiteral("the answer to \"%1\"").arg(text));
    return answer;
}

QString TourPrompts::input(const QString& prompt, const QString& title,
                           std::optional<QPoint> positionTwips) {
    const QString answer = ScriptedPrompts::input(prompt, title, positionTwips);
    QString shot;
    if (!takeShot(shot))
        return answer;
    showing_ = true;
    whenBoxShown(
        shot,
        [answer](QWidget* box) {
            if (auto* dialog = qobject_cast<QInputDialog*>(box))
                dialog->setTextValue(answer);
        },
        [answer](QWidget* box) {
            auto* dialog = qobject_cast<QDialog*>(box);
            if (answer.isEmpty())
                dialog->reject();
            else
                dialog->accept();
        });
    const QString shown = real_.input(prompt, title, positionTwips);
    showing_ = false;
    tourkit::check(shown == answer, QStringLiteral("the answer to \"%1\"").arg(prompt));
    return answer;
}

void TourPrompts::answerWindow(const QString& objectName, const QString& fileName,
                               std::function<void(QWidget*)> answer, int attemptsLeft) {
    showing_ = true;
    QTimer::singleShot(30, [=, this] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window || !window->isVisible() || window->objectName() != objectName) {
            if (attemptsLeft <= 0)
                tourkit::fatal(QStringLiteral("the window %1 never appeared").arg(objectName));
            answerWindow(objectName, fileName, answer, attemptsLeft - 1);
            return;
        }
        QTimer::singleShot(settleMs, window, [=, this] {
            tourkit::shootAs(fileName);
            answer(window);
            showing_ = false;
        });
    });
}
