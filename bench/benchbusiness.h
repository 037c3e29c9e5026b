#pragma once

// A generated business for the window benchmarks: area 0 of a scratch home folder, filled by
// the caller's generator, opened as the program opens a business.

#include "core/business/business.h"
#include "core/business/businessfiles.h"
#include "gui/app/mdiform1.h"

#include <QDir>
#include <QString>

#include <functional>

namespace bench {

// Makes the business's databases, enters its folder, runs the generator there and opens it.
inline void openGeneratedBusiness(const QString& home, const std::function<void()>& generate) {
    AppState& state = appState();
    state.homePath = home;
    const QString area = QDir(home).filePath(QStringLiteral("0"));
    businessfiles::createBusinessDatabases(home, area);
    QDir::setCurrent(area);
    generate();
    state.biz_registry.occupy(0, QStringLiteral("Bench"));
    state.biz_registry.cur_biz = 0;
    state.biz_registry.biz_state = 1;
    MDIForm1::get().reset();
}

} // namespace bench
