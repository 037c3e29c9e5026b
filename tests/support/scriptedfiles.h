#pragma once

#include "gui/widgets/filechooser.h"

#include <QString>
#include <QStringList>

#include <deque>

// Answers the program's file dialogs for tests: each dialog takes the next scripted file name
// (an empty name cancels). Every dialog asked is kept as "save|caption|suggested" or
// "open|caption|folder". Installs itself while it lives.
class ScriptedFiles : public FileChooserResponder {
public:
    ScriptedFiles();
    ~ScriptedFiles() override;
    ScriptedFiles(const ScriptedFiles&) = delete;
    ScriptedFiles& operator=(const ScriptedFiles&) = delete;

    void answer(const QString& path) { answers_.push_back(path); }
    const QStringList& asked() const { return asked_; }
    bool done() const { return answers_.empty() && unexpected_ == 0; }

    QString saveFile(const QString& caption, const QString& suggestedPath,
                     const QString& filter) override;
    QString openFile(const QString& caption, const QString& folder,
                     const QString& filter) override;

private:
    QString next();

    std::deque<QString> answers_;
    QStringList asked_;
    int unexpected_ = 0;
};
