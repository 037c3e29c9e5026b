#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <stdexcept>

// Files that hold exactly one fixed-layout record: Latin-1 text padded with blanks, 16-bit
// integers and 32-bit floats, little-endian, no header.

enum class RecordStatus { Ok, Missing, Damaged };

struct RecordRead {
    RecordStatus status = RecordStatus::Missing;
    QByteArray bytes;      // the whole record when status is Ok
    qint64 actualSize = 0; // the file's size as found (useful in a damaged-file message)
};

// Reads the whole record when the file exists. A file of another size than expected is
// reported as Damaged and its bytes are not interpreted.
RecordRead readRecord(const QString& path, int expectedSize);

// A failed file operation, with the file and the system's reason.
class FileError : public std::runtime_error {
public:
    FileError(const QString& path, const QString& reason);
    const QString& path() const { return path_; }
    const QString& reason() const { return reason_; }
    // "Could not write <path>: <reason>", for the user.
    QString message() const;

private:
    QString path_;
    QString reason_;
};

// Writes the whole record atomically: a temporary file in the same folder, flushed and synced,
// renamed over the old file, then the folder synced. A failure before the rename leaves the old
// file whole; a failure to sync the folder after it leaves the new file in place. Either way
// FileError is thrown, so the caller never reports an unsure save as done. Leftover temporary
// files of earlier, interrupted writes of the same record are removed after a success.
void writeRecordAtomically(const QString& path, const QByteArray& bytes);

// For tests only: makes the writer's n-th file system call from now on (creating the temporary
// file, giving it the old file's mode, writing, syncing, closing or renaming it, opening or
// syncing the folder) fail with the errno given, once. n = 0 turns it off, as in a normal run.
namespace recordfile_testing {
void failCall(int n, int error);
// True when the armed failure has happened since the last failCall.
bool failed();
} // namespace recordfile_testing

// Field access inside a record. Reads never go past the end of the bytes: a field that does not
// fit reads as blanks or 0.
namespace fixedfield {
// The text cut or padded with blanks to the width (what a field of that width holds).
QString padded(const QString& text, int width);
// The text as the single-byte files can hold it: every character outside Latin-1 becomes "?".
QString storable(const QString& text);
QString text(const QByteArray& record, int offset, int width);
void putText(QByteArray& record, int offset, int width, const QString& text);
qint16 int16(const QByteArray& record, int offset);
void putInt16(QByteArray& record, int offset, qint16 value);
float single(const QByteArray& record, int offset);
void putSingle(QByteArray& record, int offset, float value);
} // namespace fixedfield
