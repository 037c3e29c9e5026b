#include "core/common/clock.h"

namespace {
std::optional<QDate> fixed;
}

namespace appclock {

QDate today() {
    return fixed ? *fixed : QDate::currentDate();
}

void setToday(std::optional<QDate> date) {
    fixed = date;
}

} // namespace appclock
