#include "core/common/numfilter.h"

QString numfilter(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || u == u'.' || u == u' '))
            return QStringLiteral("0");
    }
    return text;
}
