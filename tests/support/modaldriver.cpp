#include "support/modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace {
constexpr int pollMs = 10;
// How long an unexpected modal window may stay before it is closed as a failure.
constexpr int patienceTicks = 300;

const QString programTitle = QStringLiteral("VARNEK PRAXO");

QString kindOf(const QWidget* modal) {
    if (qobject_cast<const QMessageBox*>(modal))
        return QStringLiteral("message");
    if (qobject_cast<const QInputDialog*>(modal))
        return QStringLiteral("input");
    return QStringLiteral("window ") + modal->objectName();
}

QString textOf(const QWidget* modal) {
    if (const auto* box = qobject_cast<const QMessageBox*>(modal))
        return box->text();
    if (const auto* input = qobject_cast<const QInputDialog*>(modal))
        return input->labelText();
    return QString();
}

void click(QAbstractButton* button) {
    if (button)
        QTest::mouseClick(button, Qt::LeftButton);
}

QAbstractButton* dialogButton(QWidget* dialog, QDialogButtonBox::StandardButton which) {
    const auto* box = dialog->findChild<QDialogButtonBox*>();
    return box ? box->button(which) : nullptr;
}

// Puts a modal window away as its close box would.
void dismiss(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        if (QAbstractButton* escape = box->escapeButton())
            click(escape);
        else if (!box->buttons().isEmpty())
            click(box->buttons().first());
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
        return;
    }
    modal->close();
}
} // namespace

ModalDriver::ModalDriver() {
    QTimer::singleShot(pollMs, this, &ModalDriver::poll);
}

ModalDriver::~ModalDriver() = default;

void ModalDriver::expectMessage(const QString& text, const QString& title) {
    steps_.push_back({Step::Message, text, title, {}, false, false, false, {}});
}

void ModalDriver::expectMessageStartingWith(const QString& prefix, const QString& title) {
    steps_.push_back({Step::Message, prefix, title, {}, false, true, false, {}});
}

void ModalDriver::expectQuestion(const QString& text, const QString& title, bool yes) {
    steps_.push_back({Step::Question, text, title, {}, yes, false, false, {}});
}

void ModalDriver::expectInput(const QString& prompt, const QString& title, const QString& answer,
                              bool cancel) {
    steps_.push_back({Step::Input, prompt, title, answer, false, false, cancel, {}});
}

void ModalDriver::expectWindow(const QString& objectName, std::function<void(QWidget*)> act) {
    steps_.push_back({Step::Window, objectName, {}, {}, false, false, false, std::move(act)});
}

QString ModalDriver::report() const {
    QStringList lines = failures_;
    for (const Step& step : steps_)
        lines << QStringLiteral("never shown: %1").arg(step.text);
    lines << QStringLiteral("seen: %1").arg(seen_.join(QStringLiteral(" / ")));
    return lines.join(QLatin1Char('\n'));
}

// The next poll is armed before anything is clicked: a click that opens another modal window
// runs a nested loop, and the next poll must fire inside it.
void ModalDriver::poll() {
    QTimer::singleShot(pollMs, this, &ModalDriver::poll);
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
        idleTicks_ = 0;
        return;
    }
    answer(modal);
}

void ModalDriver::answer(QWidget* modal) {
    const bool box = qobject_cast<QMessageBox*>(modal) || qobject_cast<QInputDialog*>(modal);
    if (steps_.empty() || (!box && steps_.front().kind != Step::Window)) {
        // A program window with no step for it may be waiting for the test itself; a box is
        // never expected when no step names it.
        if (box || ++idleTicks_ > patienceTicks) {
            failures_ << QStringLiteral("unexpected %1: %2").arg(kindOf(modal), textOf(modal));
            seen_ << kindOf(modal) + QLatin1Char('|') + modal->windowTitle() + QLatin1Char('|') +
                         textOf(modal);
            idleTicks_ = 0;
            dismiss(modal);
        }
        return;
    }
    idleTicks_ = 0;
    const Step step = steps_.front();
    steps_.pop_front();
    seen_ << kindOf(modal) + QLatin1Char('|') + modal->windowTitle() + QLatin1Char('|') +
                 textOf(modal);
    QString why;
    if (!matches(step, modal, &why)) {
        failures_ << why;
        dismiss(modal);
        return;
    }
    takeStep(step, modal);
}

bool ModalDriver::matches(const Step& step, QWidget* modal, QString* why) const {
    const QString title = step.title.isEmpty() ? programTitle : step.title;
    switch (step.kind) {
    case Step::Message:
    case Step::Question: {
        const auto* box = qobject_cast<QMessageBox*>(modal);
        const bool question = box && box->button(QMessageBox::Yes);
        const bool kindOk = box && question == (step.kind == Step::Question);
        const bool textOk = box && (step.prefixOnly ? box->text().startsWith(step.text)
                                                    : box->text() == step.text);
        if (kindOk && textOk && modal->windowTitle() == title)
            return true;
        *why = QStringLiteral("expected %1 \"%2\" titled \"%3\", got %4 \"%5\" titled \"%6\"")
                   .arg(step.kind == Step::Question ? QStringLiteral("question")
                                                    : QStringLiteral("message"),
                        step.text, title, kindOf(modal), textOf(modal), modal->windowTitle());
        return false;
    }
    case Step::Input: {
        const auto* input = qobject_cast<QInputDialog*>(modal);
        if (input && input->labelText() == step.text && modal->windowTitle() == title)
            return true;
        *why = QStringLiteral("expected input \"%1\" titled \"%2\", got %3 \"%4\" titled \"%5\"")
                   .arg(step.text, title, kindOf(modal), textOf(modal), modal->windowTitle());
        return false;
    }
    case Step::Window:
        if (modal->objectName() == step.text)
            return true;
        *why = QStringLiteral("expected window %1, got %2 \"%3\"")
                   .arg(step.text, kindOf(modal), textOf(modal));
        return false;
    }
    return false;
}

void ModalDriver::takeStep(const Step& step, QWidget* modal) {
    switch (step.kind) {
    case Step::Message:
        click(qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Ok));
        break;
    case Step::Question:
        click(qobject_cast<QMessageBox*>(modal)->button(step.yes ? QMessageBox::Yes
                                                                 : QMessageBox::No));
        break;
    case Step::Input: {
        if (step.cancel) {
            click(dialogButton(modal, QDialogButtonBox::Cancel));
            break;
        }
        if (auto* field = modal->findChild<QLineEdit*>()) {
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            QTest::keyClicks(field, step.answer);
        }
        click(dialogButton(modal, QDialogButtonBox::Ok));
        break;
    }
    case Step::Window:
        step.act(modal);
        break;
    }
}

void asUser(const std::function<void()>& action) {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
        action();
        loop.quit();
    });
    loop.exec();
}

void waitFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitUntil(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        waitFor(5);
    }
    return true;
}
