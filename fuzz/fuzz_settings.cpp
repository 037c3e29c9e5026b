// Any bytes in settings.dat: 110 of them decode and encode back to the same bytes, any other
// size is refused; and the reader used when a window opens gives a usable record either way.
#include "fuzzcheck.h"

#include "core/business/bizsettings.h"
#include "core/common/recordfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstring>

namespace {
bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = FuzzInput(data, size).rest();
    const std::optional<BizSettings> decoded = BizSettings::decode(bytes);
    FUZZ_CHECK(decoded.has_value() == (bytes.size() == BizSettings::fileSize),
               QString::number(bytes.size()));
    if (decoded) {
        FUZZ_CHECK(decoded->encode() == bytes, "the record does not encode back to its bytes");
        for (const QString* text : {&decoded->company, &decoded->ceo_name, &decoded->biz_type})
            FUZZ_CHECK(text->size() == BizSettings::textWidth, *text);
    }

    // The same bytes as the file a window reads.
    static QTemporaryDir folder;
    QFile file(QDir(folder.path()).filePath(QLatin1String(BizSettings::fileName)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    RecordStatus status = RecordStatus::Missing;
    const BizSettings loaded = loadBizSettings(folder.path(), &status);
    FUZZ_CHECK((status == RecordStatus::Ok) == bool(decoded), QString::number(int(status)));
    if (decoded) {
        FUZZ_CHECK(loaded.company == decoded->company &&
                       sameBits(loaded.markup_rate, decoded->markup_rate),
                   "the reader and the decoder disagree");
    } else {
        FUZZ_CHECK(loaded.markup_rate == 0 && loaded.sales_tax == 0 &&
                       loaded.company == QString(BizSettings::textWidth, QLatin1Char(' ')),
                   "a damaged file does not give the blank record");
    }
    return 0;
}
