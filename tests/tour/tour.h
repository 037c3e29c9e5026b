#pragma once

#include "tourkit.h"
#include "tourprompts.h"
#include "tourscript.h"

#include <QString>

#include <functional>

class QAction;
class QMenu;
class QWidget;

// The tour's script and prompts, with the small vocabulary its chapters are written in.
struct Tour {
    TourScript& script;
    TourPrompts& prompts;
    bool printFocus = false; // list each window's tab order along the way

    void step(const QString& what, std::function<void()> run) { script.add(what, std::move(run)); }
    // A screenshot of the screen as the steps before have left it.
    void shot(const QString& name);
    // The tab order of a window, when asked for.
    void focusOf(std::function<QWidget*()> window);
};

// The main window's menu entries and menus, by name.
QAction& menuEntry(const char* name);
QMenu& menu(const char* name);
// Chooses a menu entry, which must be enabled.
void choose(const char* name);

// The chapters of the tour, in the order of a business's work.
void addBusinessSteps(Tour& tour);  // first start, New Business, settings, codes
void addCatalogueSteps(Tour& tour); // the parts
void addItemSteps(Tour& tour);      // two assembled items, one inside the other
void addSalesSteps(Tour& tour);     // a customer, an invoice, confirmation and delivery
void addBackupSteps(Tour& tour);    // the parts list exported, a backup of the business
void addStalePriceSteps(Tour& tour); // a part's cost rises; the items' old prices updated
void addInvoiceOutputSteps(Tour& tour); // a line removed, print and PDF, payments
