#include "core/business/backuparchive.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSet>

#include <zip.h>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString formatName = QStringLiteral("VARNEK PRAXO backup");
// A manifest is a few hundred bytes per file; anything near this is no manifest of ours.
constexpr qint64 manifestLimit = 4 * 1024 * 1024;
constexpr qint64 chunk = 256 * 1024;

QString zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

bool isHex(const QByteArray& text) {
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// Makes the finished archive durable under its final name: the data on disk, the rename, then
// the folder's entry. A folder that cannot be synced (EINVAL) has nothing more to do.
void commit(const QString& temporary, const QString& target) {
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(target);
    const int fd = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        throw BackupError(QStringLiteral("Could not write %1: %2")
                              .arg(target, qt_error_string(error)));
    }
    ::close(fd);
    if (::rename(from.constData(), to.constData()) != 0)
        throw BackupError(QStringLiteral("Could not write %1: %2")
                              .arg(target, qt_error_string(errno)));
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void progressCallback(zip_t*, double done, void* state) {
    (*static_cast<const BackupProgress*>(state))(done);
}

} // namespace

BackupError::BackupError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

QByteArray BackupManifest::toJson() const {
    QJsonArray list;
    for (const Entry& entry : files) {
        list.append(QJsonObject{{QStringLiteral("name"), entry.name},
                                {QStringLiteral("size"), double(entry.size)},
                                {QStringLiteral("sha256"), QString::fromLatin1(entry.sha256)}});
    }
    const QJsonObject root{
        {QStringLiteral("format"), formatName},
        {QStringLiteral("version"), version},
        {QStringLiteral("business"), business},
        {QStringLiteral("created"), created.toUTC().toString(Qt::ISODate)},
        {QStringLiteral("program"), program},
        {QStringLiteral("files"), list}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

BackupManifest BackupManifest::fromJson(const QByteArray& json) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull() || !document.isObject())
        throw BackupError(QStringLiteral("its manifest is not readable (%1)")
                              .arg(parseError.errorString()));
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != formatName)
        throw BackupError(QStringLiteral("its manifest is not one of a VARNEK PRAXO backup"));
    const int fileVersion = root.value(QStringLiteral("version")).toInt(-1);
    if (fileVersion != version)
        throw BackupError(
            QStringLiteral("it has backup format %1; this program reads format %2")
                .arg(root.value(QStringLiteral("version")).toVariant().toString())
                .arg(version));
    BackupManifest manifest;
    manifest.business = root.value(QStringLiteral("business")).toString().trimmed();
    if (manifest.business.isEmpty())
        throw BackupError(QStringLiteral("its manifest names no business"));
    manifest.created = QDateTime::fromString(root.value(QStringLiteral("created")).toString(),
                                             Qt::ISODate);
    manifest.program = root.value(QStringLiteral("program")).toString();
    const QJsonValue list = root.value(QStringLiteral("files"));
    if (!list.isArray())
        throw BackupError(QStringLiteral("its manifest lists no files"));
    QSet<QString> names;
    for (const QJsonValue& value : list.toArray()) {
        const QJsonObject object = value.toObject();
        Entry entry;
        entry.name = object.value(QStringLiteral("name")).toString();
        const double size = object.value(QStringLiteral("size")).toDouble(-1);
        entry.sha256 = object.value(QStringLiteral("sha256")).toString().toLatin1();
        if (!backuparchive::isSafeName(entry.name) ||
            entry.name == QLatin1String(fileName))
            throw BackupError(QStringLiteral("its manifest lists a file by an unusable name (%1)")
                                  .arg(entry.name));
        if (names.contains(entry.name))
            throw BackupError(
                QStringLiteral("its manifest lists the file %1 twice").arg(entry.name));
        // Sizes are whole numbers that a double holds exactly.
        if (!(size >= 0 && size <= 9.0e15) || size != double(qint64(size)))
            throw BackupError(
                QStringLiteral("its manifest gives the file %1 no usable size").arg(entry.name));
        if (entry.sha256.size() != 64 || !isHex(entry.sha256))
            throw BackupError(
                QStringLiteral("its manifest gives the file %1 no SHA-256 sum").arg(entry.name));
        entry.size = qint64(size);
        names.insert(entry.name);
        manifest.files.push_back(std::move(entry));
    }
    return manifest;
}

const BackupManifest::Entry* BackupManifest::find(const QString& name) const {
    for (const Entry& entry : files) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

bool BackupManifest::sameFiles(const BackupManifest& other) const {
    if (files.size() != other.files.size())
        return false;
    for (const Entry& entry : files) {
        const Entry* match = other.find(entry.name);
        if (!match || match->size != entry.size || match->sha256 != entry.sha256)
            return false;
    }
    return true;
}

namespace backuparchive {

bool isSafeName(const QString& name) {
    if (name.isEmpty() || name.size() > 1024)
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c == QLatin1Char('\\') || c.unicode() == 0x7f)
            return false;
    }
    const QStringList parts = name.split(QLatin1Char('/'));
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    return true;
}

QByteArray sha256(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

void write(const QString& archivePath, const BackupManifest& manifest,
           const std::vector<Source>& files, const BackupProgress& progress) {
    const QFileInfo target(archivePath);
    const QString temporary =
        target.absoluteDir().filePath(QLatin1Char('.') + target.fileName() + QLatin1Char('.') +
                                      QString::number(QRandomGenerator::global()->generate(), 36) +
                                      QStringLiteral(".tmp"));
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(temporary).constData(),
                              ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        throw BackupError(
            QStringLiteral("Could not write %1: %2").arg(archivePath, zipErrorText(code)));
    const auto fail = [&](const QString& reason) {
        zip_discard(archive);
        QFile::remove(temporary);
        throw BackupError(QStringLiteral("Could not write %1: %2").arg(archivePath, reason));
    };

    // The buffers stay alive until the archive is closed: the zip reads them only then.
    const QByteArray manifestBytes = manifest.toJson();
    const auto add = [&](const QString& name, zip_source_t* source) {
        if (!source)
            fail(QString::fromUtf8(zip_strerror(archive)));
        const zip_int64_t index = zip_file_add(archive, name.toUtf8().constData(), source,
                                               ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            fail(QString::fromUtf8(zip_strerror(archive)));
        }
        // The fastest deflate level: databases shrink to about a third even so, and a backup
        // of a full business stays well under its time.
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 1);
    };
    add(QLatin1String(BackupManifest::fileName),
        zip_source_buffer(archive, manifestBytes.constData(), zip_uint64_t(manifestBytes.size()),
                          0));
    for (const Source& file : files) {
        if (file.bytes.isNull()) {
            add(file.name,
                zip_source_file(archive, QFile::encodeName(file.path).constData(), 0, -1));
        } else {
            add(file.name, zip_source_buffer(archive, file.bytes.constData(),
                                             zip_uint64_t(file.bytes.size()), 0));
        }
    }
    if (progress)
        zip_register_progress_callback_with_state(archive, 0.01, progressCallback, nullptr,
                                                  const_cast<BackupProgress*>(&progress));
    if (zip_close(archive) != 0)
        fail(QString::fromUtf8(zip_strerror(archive)));
    try {
        commit(temporary, target.absoluteFilePath());
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

Reader::Reader(const QString& path) : label_(path) {
    int code = 0;
    zip_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!zip_) {
        if (code == ZIP_ER_OPEN || code == ZIP_ER_READ)
            throw BackupError(
                QStringLiteral("%1 could not be read: %2").arg(path, zipErrorText(code)));
        refuse(QStringLiteral("it is damaged or is no zip archive (%1)").arg(zipErrorText(code)));
    }
    readManifest();
}

Reader::Reader(const QByteArray& bytes, const QString& label) : bytes_(bytes), label_(label) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(bytes_.constData(), zip_uint64_t(bytes_.size()), 0, &error);
    if (source)
        zip_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!zip_) {
        const QString text = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        if (source)
            zip_source_free(source);
        refuse(QStringLiteral("it is damaged or is no zip archive (%1)").arg(text));
    }
    zip_error_fini(&error);
    readManifest();
}

Reader::~Reader() {
    if (zip_)
        zip_discard(zip_);
}

void Reader::refuse(const QString& what) const {
    throw BackupError(
        QStringLiteral("%1 is not a usable VARNEK PRAXO backup: %2.").arg(label_, what));
}

void Reader::readManifest() {
    // A refused archive is closed here: the destructor of an object whose constructor throws
    // never runs.
    auto discard = qScopeGuard([this] {
        zip_discard(zip_);
        zip_ = nullptr;
    });
    const zip_int64_t count = zip_get_num_entries(zip_, 0);
    QSet<QString> entries;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(zip_, zip_uint64_t(i), 0);
        if (!name)
            refuse(QStringLiteral("an entry of it has no readable name"));
        const QString entry = QString::fromUtf8(name);
        if (entries.contains(entry))
            refuse(QStringLiteral("it holds %1 twice").arg(entry));
        entries.insert(entry);
    }
    const zip_int64_t index = zip_name_locate(zip_, BackupManifest::fileName, 0);
    if (index < 0)
        refuse(QStringLiteral("it holds no backup manifest (%1)")
                   .arg(QLatin1String(BackupManifest::fileName)));
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(zip_, zip_uint64_t(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE) || stat.size > zip_uint64_t(manifestLimit))
        refuse(QStringLiteral("its manifest is not readable"));
    zip_file_t* file = zip_fopen_index(zip_, zip_uint64_t(index), 0);
    if (!file)
        refuse(QStringLiteral("its manifest is not readable (%1)")
                   .arg(QString::fromUtf8(zip_strerror(zip_))));
    QByteArray json(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_fread(file, json.data(), stat.size);
    const QString fileError = QString::fromUtf8(zip_file_strerror(file));
    zip_fclose(file);
    if (read != zip_int64_t(stat.size))
        refuse(QStringLiteral("its manifest is not readable (%1)").arg(fileError));
    try {
        manifest_ = BackupManifest::fromJson(json);
    } catch (const BackupError& error) {
        refuse(error.message());
    }
    for (const BackupManifest::Entry& entry : manifest_.files) {
        if (!entries.contains(entry.name))
            refuse(QStringLiteral("the file %1 that its manifest lists is missing").arg(entry.name));
    }
    for (const QString& entry : entries) {
        if (entry != QLatin1String(BackupManifest::fileName) && !manifest_.find(entry))
            refuse(QStringLiteral("it holds a file its manifest does not list (%1)").arg(entry));
    }
    discard.dismiss();
}

void Reader::extract(const QString& folder, const BackupProgress& progress) {
    qint64 total = 0;
    for (const BackupManifest::Entry& entry : manifest_.files)
        total += entry.size;
    qint64 done = 0;
    QByteArray buffer(chunk, Qt::Uninitialized);
    for (const BackupManifest::Entry& entry : manifest_.files) {
        const zip_int64_t index = zip_name_locate(zip_, entry.name.toUtf8().constData(), 0);
        zip_file_t* file = index < 0 ? nullptr : zip_fopen_index(zip_, zip_uint64_t(index), 0);
        if (!file)
            refuse(QStringLiteral("the file %1 cannot be read (%2)")
                       .arg(entry.name, QString::fromUtf8(zip_strerror(zip_))));
        const auto close = qScopeGuard([file] { zip_fclose(file); });

        QFile out;
        if (!folder.isEmpty()) {
            const QString path = QDir(folder).filePath(entry.name);
            QDir().mkpath(QFileInfo(path).absolutePath());
            out.setFileName(path);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                throw BackupError(
                    QStringLiteral("Could not write %1: %2").arg(path, out.errorString()));
        }
        QCryptographicHash hash(QCryptographicHash::Sha256);
        qint64 size = 0;
        for (;;) {
            const zip_int64_t read = zip_fread(file, buffer.data(), zip_uint64_t(buffer.size()));
            if (read < 0)
                refuse(QStringLiteral("the file %1 is damaged (%2)")
                           .arg(entry.name, QString::fromUtf8(zip_file_strerror(file))));
            if (read == 0)
                break;
            size += read;
            // Never unpack more than the manifest promises.
            if (size > entry.size)
                refuse(QStringLiteral("the file %1 is larger than its manifest says").arg(entry.name));
            hash.addData(QByteArrayView(buffer.constData(), qsizetype(read)));
            if (out.isOpen() && out.write(buffer.constData(), read) != read)
                throw BackupError(QStringLiteral("Could not write %1: %2")
                                      .arg(out.fileName(), out.errorString()));
            if (progress && total > 0)
                progress(double(done + size) / double(total));
        }
        if (size != entry.size)
            refuse(QStringLiteral("the file %1 is smaller than its manifest says").arg(entry.name));
        if (hash.result().toHex() != entry.sha256)
            refuse(QStringLiteral("the file %1 does not match its SHA-256 sum").arg(entry.name));
        if (out.isOpen() && !out.flush())
            throw BackupError(
                QStringLiteral("Could not write %1: %2").arg(out.fileName(), out.errorString()));
        done += size;
    }
}

} // namespace backuparchive
