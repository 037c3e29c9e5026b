#pragma once

// A generated business for the window benchmarks: area 0 of a scratch home folder, filled by
// the caller's generator, opened as the program opens a business.

#include "core/business/bizregistry.h"
#include "core/business/bizworkspace.h"
#include "core/business/business.h"
#include "core/business/businessfiles.h"
#include "gui/app/mdiform1.h"

#include <QDir>
#include <QString>

#include <functional>

namespace bench {

// Makes the business's databases, runs the generator in its folder (the generators write by
// relative names) and opens the business in the main window.
inline void openGeneratedBusiness(const QString& home, const std::function<void()>& generate) {
    const QString area = QDir(home).filePath(QStringLiteral("0"));
    QDir(home).mkdir(QStringLiteral("0"));
    businessfiles::createBusinessDatabases(home, area);
    QDir::setCurrent(area);
    generate();
    BizRegistry registry = BizRegistry::empty();
    registry.occupy(0, QStringLiteral("Bench"));
    registry.biz_count = 1;
    registry.cur_biz = 0;
    registry.biz_state = 1;
    writeRegistry(home, registry);
    MDIForm1::get().openHome(home);
}

// The open business.
inline Business& business() {
    return *MDIForm1::get().session();
}

// Closes the business, lets `replace` change its files, and opens it again.
inline void reopenBusiness(const std::function<void()>& replace) {
    MDIForm1& main = MDIForm1::get();
    main.registry().biz_state = 0;
    main.reset();
    replace();
    main.registry().cur_biz = 0;
    main.registry().biz_state = 1;
    main.reset();
}

} // namespace bench
