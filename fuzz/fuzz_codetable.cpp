// Any 6000 bytes in classprt.dat or vendor.dat: the table decodes, encodes back to the same
// bytes, and every entry reads as 30 characters; any other size is refused.
#include "fuzzcheck.h"

#include "core/business/codetable.h"
#include "core/common/recordfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    // Short inputs stand for a whole table: the fuzzer's bytes repeated, unless they are meant
    // to be a file of the wrong size (first byte odd).
    const auto shape = input.take<uint8_t>();
    QByteArray bytes = input.rest();
    if ((shape & 1) == 0 && !bytes.isEmpty()) {
        while (bytes.size() < CodeTable::fileSize)
            bytes += bytes;
        bytes.truncate(CodeTable::fileSize);
    }
    const std::optional<CodeTable> decoded = CodeTable::decode(bytes);
    FUZZ_CHECK(decoded.has_value() == (bytes.size() == CodeTable::fileSize),
               QString::number(bytes.size()));
    if (!decoded)
        return 0;
    FUZZ_CHECK(decoded->encode() == bytes, "the table does not encode back to its bytes");
    CodeTable table = *decoded;
    for (int code = -1; code <= CodeTable::count + 1; ++code)
        FUZZ_CHECK(table.entry(code).size() == CodeTable::width, QString::number(code));

    // Editing an entry with text taken from the file: only that entry changes.
    const int code = 1 + shape % CodeTable::count;
    const QString text = QString::fromUtf8(bytes.left(40)) + QChar(0x20AC);
    table.setEntry(code, text);
    const QByteArray edited = table.encode();
    FUZZ_CHECK(edited.size() == CodeTable::fileSize, QString::number(edited.size()));
    const qsizetype at = qsizetype(code - 1) * CodeTable::width;
    FUZZ_CHECK(edited.left(at) == bytes.left(at) &&
                   edited.mid(at + CodeTable::width) == bytes.mid(at + CodeTable::width),
               "another entry changed");
    // The file holds what Latin-1 can hold of the entry.
    FUZZ_CHECK(CodeTable::decode(edited)->entry(code) ==
                   fixedfield::padded(fixedfield::storable(table.entry(code)), CodeTable::width),
               table.entry(code));
    return 0;
}
