#include "core/common/prompts.h"

#include "core/common/database.h"

#include <stdexcept>

namespace {
PromptResponder* current = nullptr;

PromptResponder& active() {
    if (!current)
        throw std::logic_error("no prompt responder installed");
    return *current;
}

QString titleOrDefault(const QString& title) {
    return title.isEmpty() ? prompts::applicationTitle() : title;
}
} // namespace

namespace prompts {

QString applicationTitle() {
    return QStringLiteral("VARNEK PRAXO");
}

void message(const QString& text, const QString& title, PromptIcon icon) {
    active().message(text, titleOrDefault(title), icon);
}

void engineError(const DbError& error) {
    message(error.message(), QString(), PromptIcon::Critical);
}

bool question(const QString& text, const QString& title) {
    return active().question(text, titleOrDefault(title));
}

QString input(const QString& prompt, const QString& title, std::optional<QPoint> positionTwips) {
    return active().input(prompt, titleOrDefault(title), positionTwips);
}

void setResponder(PromptResponder* responder) {
    current = responder;
}

PromptResponder* responder() {
    return current;
}

} // namespace prompts
