// The record-file reader on any file content and expected size, and the field accessors at
// any offset and width: nothing is read or written outside the record, and what is written
// inside reads back.
#include "fuzzcheck.h"

#include "core/common/recordfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const auto expected = input.take<int16_t>();
    const auto offset = input.take<int16_t>();
    const auto width = input.take<int16_t>();
    const auto number = input.take<int16_t>();
    const auto single = input.take<float>();
    const QByteArray bytes = input.rest();

    static QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("record.dat"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    const RecordRead read = readRecord(path, expected);
    const bool fits = bytes.size() == expected;
    FUZZ_CHECK((read.status == RecordStatus::Ok) == fits, QString::number(int(read.status)));
    FUZZ_CHECK(!fits || read.bytes == bytes, "the record read is not the file");
    FUZZ_CHECK(read.actualSize == bytes.size(), QString::number(read.actualSize));

    QByteArray record = bytes;
    const QString text = fixedfield::text(record, offset, width);
    FUZZ_CHECK(text.size() == (width > 0 ? width : 0), QString::number(text.size()));

    const QString written = input.restUtf8().left(64);
    fixedfield::putText(record, offset, width, written);
    fixedfield::putInt16(record, offset, number);
    const bool int16Inside = offset >= 0 && offset + 2 <= record.size();
    FUZZ_CHECK(!int16Inside || fixedfield::int16(record, offset) == number, "int16 read back");
    fixedfield::putSingle(record, offset, single);
    const bool singleInside = offset >= 0 && offset + 4 <= record.size();
    const float back = fixedfield::single(record, offset);
    FUZZ_CHECK(!singleInside || std::memcmp(&back, &single, sizeof back) == 0, "single read back");
    FUZZ_CHECK(record.size() == bytes.size(), "a field write changed the record's size");
    if (offset < 0 || offset >= bytes.size())
        FUZZ_CHECK(record == bytes, "a field outside the record was written");
    else
        FUZZ_CHECK(record.left(offset) == bytes.left(offset), "bytes before the field changed");
    return 0;
}
