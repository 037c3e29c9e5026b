#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// One of the two code tables (classification or vendor): 200 descriptions of 30 characters,
// codes 1 to 200. Files classprt.dat and vendor.dat, 6000 bytes each.
class CodeTable {
public:
    static constexpr int count = 200;
    static constexpr int width = 30;
    static constexpr int fileSize = count * width;
    static constexpr const char* classFileName = "classprt.dat";
    static constexpr const char* vendorFileName = "vendor.dat";

    // Every entry a single blank padded to 30.
    CodeTable();

    // Entry of code 1 to 200, 30 characters; a blank entry for any other code.
    QString entry(int code) const;
    // Stores the text cut or padded to 30; codes outside 1 to 200 are ignored.
    void setEntry(int code, const QString& text);

    QByteArray encode() const;
    static std::optional<CodeTable> decode(const QByteArray& bytes);

private:
    std::array<QString, count> entries_;
};
