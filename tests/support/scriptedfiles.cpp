#include "support/scriptedfiles.h"

ScriptedFiles::ScriptedFiles() {
    filechooser::setResponder(this);
}

ScriptedFiles::~ScriptedFiles() {
    filechooser::setResponder(nullptr);
}

QString ScriptedFiles::next() {
    if (answers_.empty()) {
        ++unexpected_;
        return QString();
    }
    QString path = answers_.front();
    answers_.pop_front();
    return path;
}

QString ScriptedFiles::saveFile(const QString& caption, const QString& suggestedPath,
                                const QString&) {
    asked_ << QStringLiteral("save|%1|%2").arg(caption, suggestedPath);
    return next();
}

QString ScriptedFiles::openFile(const QString& caption, const QString& folder, const QString&) {
    asked_ << QStringLiteral("open|%1|%2").arg(caption, folder);
    return next();
}
