#include "core/common/recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtEndian>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

RecordRead readRecord(const QString& path, int expectedSize) {
    RecordRead result;
    const QFileInfo info(path);
    if (!info.exists()) {
        return result;
    }
    result.status = RecordStatus::Damaged;
    // A folder, a pipe or a device in place of the record is not a record; opening a pipe
    // could also block for ever.
    if (!info.isFile()) {
        return result;
    }
    result.actualSize = info.size();
    if (result.actualSize != expectedSize) {
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return result;
    }
    QByteArray bytes = file.read(expectedSize);
    // The file may have changed between the size check and the read.
    if (bytes.size() != expectedSize || !file.atEnd()) {
        result.actualSize = file.size();
        return result;
    }
    result.status = RecordStatus::Ok;
    result.bytes = std::move(bytes);
    return result;
}

FileError::FileError(const QString& path, const QString& reason)
    : std::runtime_error(QStringLiteral("Could not write %1: %2").arg(path, reason).toStdString()),
      path_(path), reason_(reason) {}

QString FileError::message() const {
    return QStringLiteral("Could not write %1: %2").arg(path_, reason_);
}

namespace recordfile_testing {
namespace {
int callsLeft = 0; // 0: no failure armed
int failError = 0;
bool hasFailed = false;
} // namespace

void failCall(int n, int error) {
    callsLeft = n > 0 ? n : 0;
    failError = error;
    hasFailed = false;
}

bool failed() {
    return hasFailed;
}
} // namespace recordfile_testing

namespace {

// True when a test has armed a failure for this call; errno then holds its error.
bool injectedFailure() {
    using namespace recordfile_testing;
    if (callsLeft == 0 || --callsLeft > 0)
        return false;
    hasFailed = true;
    errno = failError;
    return true;
}

// Owns the temporary file until it has been renamed into place; removes it on any failure.
class TempFile {
public:
    explicit TempFile(const QString& target) : target_(target) {}
    ~TempFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!name_.isEmpty()) {
            ::unlink(name_.constData());
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    [[noreturn]] void fail(int error) const { throw FileError(target_, qt_error_string(error)); }

    void create(const QByteArray& folder, const QByteArray& base) {
        // O_EXCL with a random name instead of mkstemp, so that the usual umask applies.
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray candidate =
                folder + "/." + base + '.' +
                QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
            fd_ = injectedFailure() ? -1
                                    : ::open(candidate.constData(),
                                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                name_ = candidate;
                return;
            }
            if (errno != EEXIST) {
                fail(errno);
            }
        }
        fail(EEXIST);
    }

    void keepModeOf(const QByteArray& existing) const {
        struct stat old {};
        if (::stat(existing.constData(), &old) == 0 && S_ISREG(old.st_mode) &&
            (injectedFailure() || ::fchmod(fd_, old.st_mode & 07777) != 0)) {
            fail(errno);
        }
    }

    void write(const QByteArray& bytes) const {
        const char* data = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t done =
                injectedFailure() ? -1 : ::write(fd_, data, static_cast<size_t>(left));
            if (done < 0) {
                if (errno == EINTR) {
                    continue;
                }
                fail(errno);
            }
            if (done == 0) {
                fail(EIO); // no progress and no reason: never loop for ever
            }
            data += done;
            left -= done;
        }
    }

    void syncAndClose() {
        if (injectedFailure() || ::fsync(fd_) != 0) {
            fail(errno);
        }
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 || injectedFailure()) {
            fail(errno);
        }
    }

    void renameTo(const QByteArray& path) {
        if (injectedFailure() || ::rename(name_.constData(), path.constData()) != 0) {
            fail(errno);
        }
        name_.clear();
    }

private:
    QString target_;
    QByteArray name_;
    int fd_ = -1;
};

// Makes the rename itself durable. File systems that cannot sync a folder say EINVAL; there
// is nothing more to do on those.
void syncFolder(const QString& target, const QByteArray& folder) {
    const int fd =
        injectedFailure() ? -1 : ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        throw FileError(target, qt_error_string(errno));
    }
    const int result = injectedFailure() ? -1 : ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL) {
        throw FileError(target, qt_error_string(error));
    }
}

// A writer killed between making its temporary file and renaming it leaves the file behind;
// once a write of the same record has succeeded, such leftovers are of no use.
void removeStaleTemporaries(const QFileInfo& info) {
    const QStringList leftovers = info.dir().entryList(
        {QLatin1Char('.') + info.fileName() + QStringLiteral(".*.tmp")},
        QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : leftovers)
        QFile::remove(info.dir().filePath(name));
}

} // namespace

void writeRecordAtomically(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(info.path());
    TempFile temp(path);
    temp.create(folder, QFile::encodeName(info.fileName()));
    temp.keepModeOf(target);
    temp.write(bytes);
    temp.syncAndClose();
    temp.renameTo(target);
    syncFolder(path, folder);
    removeStaleTemporaries(info);
}

namespace fixedfield {

namespace {
// The part of [offset, offset + width) that lies inside a record of the given size, as a
// length starting at offset; 0 when none of it does.
qsizetype inside(qsizetype size, int offset, int width) {
    if (offset < 0 || width <= 0 || offset >= size) {
        return 0;
    }
    return qMin<qsizetype>(width, size - offset);
}
} // namespace

QString padded(const QString& text, int width) {
    if (width <= 0) {
        return {};
    }
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}

QString storable(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() <= 0xFF) {
            result.append(c);
            continue;
        }
        result.append(QLatin1Char('?'));
        // A character beyond the basic plane is one "?", not two.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        }
    }
    return result;
}

QString text(const QByteArray& record, int offset, int width) {
    const qsizetype n = inside(record.size(), offset, width);
    return padded(QString::fromLatin1(record.constData() + (n > 0 ? offset : 0), n), width);
}

void putText(QByteArray& record, int offset, int width, const QString& value) {
    const qsizetype n = inside(record.size(), offset, width);
    if (n == 0) {
        return;
    }
    const QByteArray bytes = padded(storable(value), width).toLatin1();
    std::memcpy(record.data() + offset, bytes.constData(), static_cast<size_t>(n));
}

qint16 int16(const QByteArray& record, int offset) {
    if (inside(record.size(), offset, 2) != 2) {
        return 0;
    }
    return qFromLittleEndian<qint16>(record.constData() + offset);
}

void putInt16(QByteArray& record, int offset, qint16 value) {
    if (inside(record.size(), offset, 2) != 2) {
        return;
    }
    qToLittleEndian<qint16>(value, record.data() + offset);
}

float single(const QByteArray& record, int offset) {
    if (inside(record.size(), offset, 4) != 4) {
        return 0;
    }
    const quint32 bits = qFromLittleEndian<quint32>(record.constData() + offset);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void putSingle(QByteArray& record, int offset, float value) {
    if (inside(record.size(), offset, 4) != 4) {
        return;
    }
    quint32 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian<quint32>(bits, record.data() + offset);
}

} // namespace fixedfield
