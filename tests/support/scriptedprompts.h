#pragma once

#include "core/common/prompts.h"

#include <QString>
#include <QStringList>

#include <deque>

// A responder for tests: each box must match the next expected one (kind, text and title),
// and gets the scripted answer. Mismatches and unexpected boxes are collected in failures().
// Installs itself while it lives.
class ScriptedPrompts : public PromptResponder {
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    void expectMessage(const QString& text, const QString& title = QString());
    // A message whose text starts with the prefix (for texts that carry a system's reason).
    void expectMessageStartingWith(const QString& prefix, const QString& title = QString());
    void expectQuestion(const QString& text, const QString& title, bool answer);
    void expectInput(const QString& prompt, const QString& title, const QString& answer);

    // Every box shown so far, as "kind|title|text" lines, expected or not.
    const QStringList& shown() const { return shown_; }
    const QStringList& failures() const { return failures_; }
    // True when every expected box was shown and nothing went wrong.
    bool done() const { return expected_.empty() && failures_.isEmpty(); }
    // A readable account of what is wrong, for a test's failure message.
    QString report() const;

    void message(const QString& text, const QString& title, PromptIcon icon) override;
    bool question(const QString& text, const QString& title) override;
    QString input(const QString& prompt, const QString& title,
                  std::optional<QPoint> positionTwips) override;

private:
    enum class Kind { Message, Question, Input };
    struct Expected {
        Kind kind;
        QString text;
        QString title;
        QString answer;
        bool prefixOnly = false;
    };
    QString take(Kind kind, const QString& text, const QString& title);

    std::deque<Expected> expected_;
    QStringList shown_;
    QStringList failures_;
    PromptResponder* previous_;
};
