// Any 346 bytes in loadbiz.dat: the registry decodes, encodes back to the same bytes, and the
// load window's lines and the slot rules work on it; any other size is refused.
#include "fuzzcheck.h"

#include "core/business/bizregistry.h"
#include "core/business/bizworkspace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = FuzzInput(data, size).rest();
    const std::optional<BizRegistry> decoded = BizRegistry::decode(bytes);
    FUZZ_CHECK(decoded.has_value() == (bytes.size() == BizRegistry::fileSize),
               QString::number(bytes.size()));
    if (!decoded)
        return 0;
    FUZZ_CHECK(decoded->encode() == bytes, "the record does not encode back to its bytes");

    BizRegistry registry = *decoded;
    const QStringList lines = registry.listLines();
    FUZZ_CHECK(lines.size() <= BizRegistry::slotCount, QString::number(lines.size()));
    for (const QString& line : lines) {
        const int slot = registry.slotNamed(line);
        FUZZ_CHECK(slot >= 0 && registry.slot_used[std::size_t(slot)] != 0, line);
    }
    for (int slot = -1; slot <= BizRegistry::slotCount; ++slot)
        FUZZ_CHECK(registry.areaFolderName(slot).size() <= BizRegistry::areaWidth,
                   QString::number(slot));

    const QString home = QStringLiteral("/home/user/praxo");
    for (int slot = -1; slot <= BizRegistry::slotCount; ++slot)
        (void)businessFolder(home, registry, slot);
    (void)registryPath(home);

    // Taking the lowest free slot and freeing it again: the record stays one record.
    const int free = registry.lowestFreeSlot();
    FUZZ_CHECK(free < 0 || registry.slot_used[std::size_t(free)] == 0, QString::number(free));
    if (free >= 0) {
        const QString name = QStringLiteral("Fuzzed business name that is long");
        registry.occupy(free, name);
        FUZZ_CHECK(registry.slot_used[std::size_t(free)] != 0 && registry.slotNamed(name) >= 0,
                   "the new business is not found by its name");
        registry.release(free);
        FUZZ_CHECK(registry.slot_used[std::size_t(free)] == 0, "the slot stays in use");
    }
    const QByteArray again = registry.encode();
    FUZZ_CHECK(again.size() == BizRegistry::fileSize, QString::number(again.size()));
    FUZZ_CHECK(BizRegistry::decode(again)->encode() == again,
               "a changed record does not round trip");
    return 0;
}
