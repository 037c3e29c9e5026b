#pragma once

#include <QPoint>
#include <QString>

#include <optional>

// Every message box and input box of the program goes through here, so that tests can answer
// them with a scripted responder instead of real dialogs.

class DbError;

enum class PromptIcon { Information, Exclamation, Critical };

class PromptResponder {
public:
    virtual ~PromptResponder() = default;
    virtual void message(const QString& text, const QString& title, PromptIcon icon) = 0;
    // A Yes/No question; true for Yes.
    virtual bool question(const QString& text, const QString& title) = 0;
    // An input box; an empty text when cancelled. The position is in twips from the screen's
    // top left corner, when the caller names one.
    virtual QString input(const QString& prompt, const QString& title,
                          std::optional<QPoint> positionTwips) = 0;
};

namespace prompts {

// The title used where a box names none.
QString applicationTitle();

void message(const QString& text, const QString& title = QString(),
             PromptIcon icon = PromptIcon::Information);
bool question(const QString& text, const QString& title = QString());
// A failure of the database engine, as a critical box naming the file and the reason.
void engineError(const DbError& error);
QString input(const QString& prompt, const QString& title,
              std::optional<QPoint> positionTwips = std::nullopt);

// Installs the responder that answers every box; the caller keeps ownership. Passing nullptr
// removes it; a box asked with no responder is an error of the program.
void setResponder(PromptResponder* responder);
PromptResponder* responder();

} // namespace prompts
