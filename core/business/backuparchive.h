#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <stdexcept>
#include <vector>

struct zip;

// A backup archive: a standard zip file that holds a business's files and a manifest naming
// each of them with its size and SHA-256 sum, so that a restore can tell a whole archive from a
// damaged or foreign one before anything is made from it.

// Why a backup or a restore could not be done, in words for the user.
class BackupError : public std::runtime_error {
public:
    explicit BackupError(const QString& message);
    const QString& message() const { return message_; }

private:
    QString message_;
};

// How far a long step is, from 0 to 1.
using BackupProgress = std::function<void(double done)>;

struct BackupManifest {
    static constexpr const char* fileName = "manifest.json";
    static constexpr int version = 1;

    struct Entry {
        QString name;      // the path inside the business folder, "/" between parts
        qint64 size = 0;
        QByteArray sha256; // lower-case hexadecimal
    };
    QString business;  // the name as the registry held it, trimmed
    QDateTime created; // UTC
    QString program;   // the version of the program that wrote it
    std::vector<Entry> files;

    QByteArray toJson() const;
    // The manifest in the JSON, or BackupError naming what is wrong with it.
    static BackupManifest fromJson(const QByteArray& json);
    const Entry* find(const QString& name) const;
    // Same files with the same sizes and sums, in any order.
    bool sameFiles(const BackupManifest& other) const;
};

namespace backuparchive {

// The suffix of backup files, without the point.
inline constexpr const char* suffix = "praxo-backup";

// True for a name an archive may hold: a relative path of plain parts (no "..", no empty part,
// no backslash or control character).
bool isSafeName(const QString& name);

// The lower-case hexadecimal SHA-256 sum of the bytes.
QByteArray sha256(const QByteArray& bytes);

// A file for the archive: its bytes, or the file at `path` when `bytes` is null.
struct Source {
    QString name;
    QString path;
    QByteArray bytes;
};

// Writes the manifest and the files into a zip under a temporary name in the target's folder,
// syncs it and renames it into place, so that a failed backup never leaves a file that looks
// whole. Throws BackupError.
void write(const QString& archivePath, const BackupManifest& manifest,
           const std::vector<Source>& files, const BackupProgress& progress = {});

// Reads an archive: opening it reads and checks its manifest and its list of entries.
class Reader {
public:
    // `label` names the archive in messages (its path, when read from a file).
    explicit Reader(const QString& path);
    Reader(const QByteArray& bytes, const QString& label);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    const BackupManifest& manifest() const { return manifest_; }
    // Reads every file of the manifest and checks its size and sum, writing each under the
    // folder (none written when the folder is empty). Throws BackupError at the first fault;
    // files written before it stay for the caller to remove.
    void extract(const QString& folder, const BackupProgress& progress = {});

private:
    void readManifest();
    [[noreturn]] void refuse(const QString& what) const;

    QByteArray bytes_; // an archive read from memory
    QString label_;
    zip* zip_ = nullptr;
    BackupManifest manifest_;
};

} // namespace backuparchive
