#pragma once

#include <QString>

class QWidget;

// Every file dialog of the program goes through here, so that tests can name the file without
// a dialog on the screen, as the prompts let them answer the message boxes.
class FileChooserResponder {
public:
    virtual ~FileChooserResponder() = default;
    // The file to write, or an empty text when cancelled.
    virtual QString saveFile(const QString& caption, const QString& suggestedPath,
                             const QString& filter) = 0;
    // The existing file to read, or an empty text when cancelled.
    virtual QString openFile(const QString& caption, const QString& folder,
                             const QString& filter) = 0;
};

namespace filechooser {

// A file to write, suggested by its full path; a name typed without a suffix takes the
// suffix of the suggested one. A file that exists is replaced only when the user says so.
QString saveFile(QWidget* parent, const QString& caption, const QString& suggestedPath,
                 const QString& filter);
QString openFile(QWidget* parent, const QString& caption, const QString& folder,
                 const QString& filter);

// The user's documents folder, where files are suggested first.
QString documentsFolder();

// Installs the responder that answers instead of the real dialogs; nullptr brings them back.
// The caller keeps ownership.
void setResponder(FileChooserResponder* responder);

} // namespace filechooser
