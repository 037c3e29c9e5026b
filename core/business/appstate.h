#pragma once

#include "core/business/bizregistry.h"
#include "core/business/codetable.h"

#include <QString>

// The program state that lives for the whole run: the registry of businesses and the two code
// tables held in memory.
struct AppState {
    BizRegistry biz_registry = BizRegistry::empty();
    CodeTable class_codes;
    CodeTable vendor_codes;
    // The folder the program was started in. Every path is built from it; the registry's
    // 40-character home_folder only records it.
    QString homePath;

    bool businessOpen() const { return biz_registry.biz_state == 1; }
    // The open business's folder (meaningful while a business is open).
    QString businessFolder() const;
    QString registryPath() const;
};

AppState& appState();
