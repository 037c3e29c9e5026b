#include "core/business/codetable.h"

#include "core/common/recordfile.h"

namespace {
bool validCode(int code) {
    return code >= 1 && code <= CodeTable::count;
}

QString blankEntry() {
    return fixedfield::padded(QStringLiteral(" "), CodeTable::width);
}
} // namespace

CodeTable::CodeTable() {
    entries_.fill(blankEntry());
}

QString CodeTable::entry(int code) const {
    return validCode(code) ? entries_[code - 1] : blankEntry();
}

void CodeTable::setEntry(int code, const QString& text) {
    if (validCode(code)) {
        entries_[code - 1] = fixedfield::padded(fixedfield::storable(text), width);
    }
}

QByteArray CodeTable::encode() const {
    QByteArray bytes(fileSize, ' ');
    for (int i = 0; i < count; ++i) {
        fixedfield::putText(bytes, i * width, width, entries_[i]);
    }
    return bytes;
}

std::optional<CodeTable> CodeTable::decode(const QByteArray& bytes) {
    if (bytes.size() != fileSize) {
        return std::nullopt;
    }
    CodeTable table;
    for (int i = 0; i < count; ++i) {
        table.entries_[i] = fixedfield::text(bytes, i * width, width);
    }
    return table;
}
