#pragma once

#include "core/common/recordfile.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The settings of a business, file settings.dat in its folder (110 bytes).
struct BizSettings {
    static constexpr int fileSize = 110;
    static constexpr int textWidth = 30;
    static constexpr const char* fileName = "settings.dat";

    QString company;  // 30 characters
    QString ceo_name; // 30 characters
    QString biz_type; // 30 characters
    float markup_rate = 0; // a multiplying factor: 1.5 gives 1.5 times the cost
    float eng_rate = 0;    // money per hour
    float asm_rate = 0;
    float test_rate = 0;
    float sales_tax = 0; // percent

    QByteArray encode() const;
    static std::optional<BizSettings> decode(const QByteArray& bytes);
};

// What a window that needs rates reads when it opens: the record from the file in the given
// folder, or a zero and blank record when the file is missing or damaged. The status tells which.
BizSettings loadBizSettings(const QString& folder, RecordStatus* status = nullptr);
