#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <optional>

// The registry of businesses, file loadbiz.dat in the home folder (346 bytes). In memory the
// texts are held padded to their widths, as in the file.
struct BizRegistry {
    static constexpr int slotCount = 10;
    static constexpr int fileSize = 346;
    static constexpr int homeWidth = 40;
    static constexpr int nameWidth = 20;
    static constexpr int areaWidth = 8;
    static constexpr const char* fileName = "loadbiz.dat";

    QString home_folder;                       // 40 characters
    std::array<qint16, slotCount> slot_used{}; // -1 in use, 0 free
    std::array<QString, slotCount> biz_name;   // 20 characters each
    std::array<QString, slotCount> area_name;  // 8 characters each
    qint16 biz_count = 0;
    qint16 cur_biz = -1;
    qint16 biz_state = -1; // -1 first run, 0 none open, 1 open

    // The state before any registry is read: every slot free and "null", first run.
    static BizRegistry empty();

    QByteArray encode() const;
    // Empty when the bytes are not exactly one record.
    static std::optional<BizRegistry> decode(const QByteArray& bytes);

    void setHomeFolder(const QString& path);
    // Puts a business into a slot: name cut or padded to 20, area name, in use.
    void occupy(int slot, const QString& name);
    // Frees a slot: "NULL" name and area, free, one business fewer.
    void release(int slot);

    // The area folder name of a slot: the number with a leading blank, padded to 8 (" 0").
    static QString areaNameFor(int slot);
    // The lowest free slot, or -1 when all ten are in use.
    int lowestFreeSlot() const;
    // The first slot (0 to 9) whose name equals the text exactly, or -1.
    int slotNamed(const QString& name20) const;
    // The lines of the load window: name (20), five blanks and a slash, area name (8), for
    // every slot in use, in slot order.
    QStringList listLines() const;
    // The trimmed area name of a slot, the name of its folder under the home folder.
    QString areaFolderName(int slot) const;
};
