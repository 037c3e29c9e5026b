#include "core/business/bizregistry.h"

#include "core/common/recordfile.h"

namespace {
// Field offsets in loadbiz.dat.
constexpr int homeAt = 0;
constexpr int slotUsedAt = 40;
constexpr int nameAt = 60;
constexpr int areaAt = 260;
constexpr int countAt = 340;
constexpr int curAt = 342;
constexpr int stateAt = 344;

constexpr bool validSlot(int slot) {
    return slot >= 0 && slot < BizRegistry::slotCount;
}

QString unusedName(const char* marker, int width) {
    return fixedfield::padded(QLatin1String(marker), width);
}
} // namespace

BizRegistry BizRegistry::empty() {
    BizRegistry registry;
    registry.home_folder = fixedfield::padded(QString(), homeWidth);
    registry.slot_used.fill(0);
    registry.biz_name.fill(unusedName("null", nameWidth));
    registry.area_name.fill(unusedName("null", areaWidth));
    registry.biz_count = 0;
    registry.cur_biz = -1;
    registry.biz_state = -1;
    return registry;
}

QByteArray BizRegistry::encode() const {
    QByteArray bytes(fileSize, ' ');
    fixedfield::putText(bytes, homeAt, homeWidth, home_folder);
    for (int i = 0; i < slotCount; ++i) {
        fixedfield::putInt16(bytes, slotUsedAt + 2 * i, slot_used[i]);
        fixedfield::putText(bytes, nameAt + nameWidth * i, nameWidth, biz_name[i]);
        fixedfield::putText(bytes, areaAt + areaWidth * i, areaWidth, area_name[i]);
    }
    fixedfield::putInt16(bytes, countAt, biz_count);
    fixedfield::putInt16(bytes, curAt, cur_biz);
    fixedfield::putInt16(bytes, stateAt, biz_state);
    return bytes;
}

std::optional<BizRegistry> BizRegistry::decode(const QByteArray& bytes) {
    if (bytes.size() != fileSize) {
        return std::nullopt;
    }
    BizRegistry registry;
    registry.home_folder = fixedfield::text(bytes, homeAt, homeWidth);
    for (int i = 0; i < slotCount; ++i) {
        registry.slot_used[i] = fixedfield::int16(bytes, slotUsedAt + 2 * i);
        registry.biz_name[i] = fixedfield::text(bytes, nameAt + nameWidth * i, nameWidth);
        registry.area_name[i] = fixedfield::text(bytes, areaAt + areaWidth * i, areaWidth);
    }
    registry.biz_count = fixedfield::int16(bytes, countAt);
    registry.cur_biz = fixedfield::int16(bytes, curAt);
    registry.biz_state = fixedfield::int16(bytes, stateAt);
    return registry;
}

void BizRegistry::setHomeFolder(const QString& path) {
    home_folder = fixedfield::padded(fixedfield::storable(path), homeWidth);
}

void BizRegistry::occupy(int slot, const QString& name) {
    if (!validSlot(slot)) {
        return;
    }
    biz_name[slot] = fixedfield::padded(fixedfield::storable(name), nameWidth);
    area_name[slot] = areaNameFor(slot);
    slot_used[slot] = -1;
}

void BizRegistry::release(int slot) {
    // Releasing a free slot must not count a business off a second time.
    if (!validSlot(slot) || slot_used[slot] == 0) {
        return;
    }
    biz_name[slot] = unusedName("NULL", nameWidth);
    area_name[slot] = unusedName("NULL", areaWidth);
    slot_used[slot] = 0;
    --biz_count;
}

QString BizRegistry::areaNameFor(int slot) {
    // The number as text with a blank where a minus sign would stand.
    QString number = QString::number(slot);
    if (slot >= 0) {
        number.prepend(QLatin1Char(' '));
    }
    return fixedfield::padded(number, areaWidth);
}

int BizRegistry::lowestFreeSlot() const {
    for (int i = 0; i < slotCount; ++i) {
        if (slot_used[i] == 0) {
            return i;
        }
    }
    return -1;
}

int BizRegistry::slotNamed(const QString& name20) const {
    // Names are stored padded, so a line of the load window (or any longer text) is compared
    // by its first 20 characters, blanks and case counting.
    const QString wanted = fixedfield::padded(name20, nameWidth);
    for (int i = 0; i < slotCount; ++i) {
        // A freed slot keeps the name "NULL"; it never names a business.
        if (slot_used[i] != 0 && biz_name[i] == wanted) {
            return i;
        }
    }
    return -1;
}

QStringList BizRegistry::listLines() const {
    QStringList lines;
    for (int i = 0; i < slotCount; ++i) {
        if (slot_used[i] != 0) {
            lines.append(fixedfield::padded(biz_name[i], nameWidth) + QLatin1String("     /") +
                         fixedfield::padded(area_name[i], areaWidth));
        }
    }
    return lines;
}

QString BizRegistry::areaFolderName(int slot) const {
    return validSlot(slot) ? area_name[slot].trimmed() : QString();
}
