#include "support/scriptedprompts.h"

namespace {
const char* kindName(int kind) {
    static const char* names[] = {"message", "question", "input"};
    return names[kind];
}
} // namespace

ScriptedPrompts::ScriptedPrompts() : previous_(prompts::responder()) {
    prompts::setResponder(this);
}

ScriptedPrompts::~ScriptedPrompts() {
    prompts::setResponder(previous_);
}

void ScriptedPrompts::expectMessage(const QString& text, const QString& title) {
    expected_.push_back(
        {Kind::Message, text, title.isEmpty() ? prompts::applicationTitle() : title, {}, false});
}

void ScriptedPrompts::expectMessageStartingWith(const QString& prefix, const QString& title) {
    expected_.push_back({Kind::Message, prefix,
                         title.isEmpty() ? prompts::applicationTitle() : title, {}, true});
}

void ScriptedPrompts::expectQuestion(const QString& text, const QString& title, bool answer) {
    expected_.push_back({Kind::Question, text,
                         title.isEmpty() ? prompts::applicationTitle() : title,
                         answer ? QStringLiteral("yes") : QString(), false});
}

void ScriptedPrompts::expectInput(const QString& prompt, const QString& title,
                                  const QString& answer) {
    expected_.push_back({Kind::Input, prompt, title, answer, false});
}

QString ScriptedPrompts::report() const {
    QStringList lines = failures_;
    for (const Expected& e : expected_)
        lines << QStringLiteral("never shown: %1 \"%2\" titled \"%3\"")
                     .arg(QLatin1String(kindName(int(e.kind))), e.text, e.title);
    return lines.join(QLatin1Char('\n'));
}

QString ScriptedPrompts::take(Kind kind, const QString& text, const QString& title) {
    shown_ << QStringLiteral("%1|%2|%3").arg(QLatin1String(kindName(int(kind))), title, text);
    if (expected_.empty()) {
        failures_ << QStringLiteral("unexpected %1 \"%2\" titled \"%3\"")
                         .arg(QLatin1String(kindName(int(kind))), text, title);
        return {};
    }
    Expected e = expected_.front();
    expected_.pop_front();
    const bool textMatches = e.prefixOnly ? text.startsWith(e.text) : text == e.text;
    if (e.kind != kind || !textMatches || e.title != title)
        failures_ << QStringLiteral("expected %1 \"%2\" titled \"%3\", got %4 \"%5\" titled \"%6\"")
                         .arg(QLatin1String(kindName(int(e.kind))), e.text, e.title,
                              QLatin1String(kindName(int(kind))), text, title);
    return e.answer;
}

void ScriptedPrompts::message(const QString& text, const QString& title, PromptIcon) {
    take(Kind::Message, text, title);
}

bool ScriptedPrompts::question(const QString& text, const QString& title) {
    return !take(Kind::Question, text, title).isEmpty();
}

QString ScriptedPrompts::input(const QString& prompt, const QString& title,
                               std::optional<QPoint>) {
    return take(Kind::Input, prompt, title);
}
