#include "core/business/bizsettings.h"

namespace {
// Field offsets in settings.dat: three texts, then four singles in file order.
constexpr int companyAt = 0;
constexpr int ceoAt = 30;
constexpr int typeAt = 60;
constexpr int markupAt = 90;
constexpr int engAt = 94;
constexpr int asmAt = 98;
constexpr int testAt = 102;
constexpr int taxAt = 106;
} // namespace

QByteArray BizSettings::encode() const {
    QByteArray bytes(fileSize, ' ');
    fixedfield::putText(bytes, companyAt, textWidth, company);
    fixedfield::putText(bytes, ceoAt, textWidth, ceo_name);
    fixedfield::putText(bytes, typeAt, textWidth, biz_type);
    fixedfield::putSingle(bytes, markupAt, markup_rate);
    fixedfield::putSingle(bytes, engAt, eng_rate);
    fixedfield::putSingle(bytes, asmAt, asm_rate);
    fixedfield::putSingle(bytes, testAt, test_rate);
    fixedfield::putSingle(bytes, taxAt, sales_tax);
    return bytes;
}

std::optional<BizSettings> BizSettings::decode(const QByteArray& bytes) {
    if (bytes.size() != fileSize) {
        return std::nullopt;
    }
    BizSettings settings;
    settings.company = fixedfield::text(bytes, companyAt, textWidth);
    settings.ceo_name = fixedfield::text(bytes, ceoAt, textWidth);
    settings.biz_type = fixedfield::text(bytes, typeAt, textWidth);
    settings.markup_rate = fixedfield::single(bytes, markupAt);
    settings.eng_rate = fixedfield::single(bytes, engAt);
    settings.asm_rate = fixedfield::single(bytes, asmAt);
    settings.test_rate = fixedfield::single(bytes, testAt);
    settings.sales_tax = fixedfield::single(bytes, taxAt);
    return settings;
}

BizSettings loadBizSettings(const QString& folder, RecordStatus* status) {
    const QString path = folder.isEmpty() ? QString::fromLatin1(BizSettings::fileName)
                                          : folder + QLatin1Char('/') + BizSettings::fileName;
    const RecordRead read = readRecord(path, BizSettings::fileSize);
    if (status != nullptr) {
        *status = read.status;
    }
    if (read.status == RecordStatus::Ok) {
        if (auto settings = BizSettings::decode(read.bytes)) {
            return *settings;
        }
    }
    // Zero rates and blank texts, held at their full width like a decoded record.
    BizSettings blank;
    blank.company = fixedfield::padded(QString(), BizSettings::textWidth);
    blank.ceo_name = blank.company;
    blank.biz_type = blank.company;
    return blank;
}
