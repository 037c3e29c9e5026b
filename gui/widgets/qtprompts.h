#pragma once

#include "core/common/prompts.h"

// The program's responder: real message boxes and input boxes over the active window.
class QtPrompts : public PromptResponder {
public:
    void message(const QString& text, const QString& title, PromptIcon icon) override;
    bool question(const QString& text, const QString& title) override;
    QString input(const QString& prompt, const QString& title,
                  std::optional<QPoint> positionTwips) override;
};
