// Any bytes as a backup archive: the reader refuses them with a message or reads a manifest
// whose names stay inside the business folder, and checking the files' sums never writes,
// crashes or unpacks more than the manifest promises.
#include "fuzzcheck.h"

#include "core/business/backuparchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = FuzzInput(data, size).rest();
    try {
        backuparchive::Reader reader(bytes, QStringLiteral("fuzzed.praxo-backup"));
        const BackupManifest& manifest = reader.manifest();
        FUZZ_CHECK(!manifest.business.isEmpty(), "a manifest without a business was taken");
        for (const BackupManifest::Entry& entry : manifest.files) {
            FUZZ_CHECK(backuparchive::isSafeName(entry.name), entry.name);
            FUZZ_CHECK(entry.size >= 0 && entry.sha256.size() == 64, entry.name);
        }
        // The manifest written again reads back as the same.
        const BackupManifest again = BackupManifest::fromJson(manifest.toJson());
        FUZZ_CHECK(again.sameFiles(manifest) && again.business == manifest.business,
                   "the manifest does not round trip");
        reader.extract(QString());
    } catch (const BackupError& error) {
        FUZZ_CHECK(!error.message().isEmpty(), "a refusal without a reason");
    }
    return 0;
}
