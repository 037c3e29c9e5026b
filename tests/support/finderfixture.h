#pragma once

#include "core/business/appstate.h"
#include "core/business/businessfiles.h"
#include "gui/app/mdiform1.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "support/scriptedprompts.h"
#include "core/common/textnum.h"
#include "gui/finder/databaseview.h"
#include "core/items/itemtables.h"
#include "core/sales/salestables.h"
#include "support/modal.h"
#include "support/temphome.h"

#include <QDir>

#include <memory>

// An open business "Test Works" in area 0 of a fresh home folder, with the main window loaded
// (not started) so that lists can be shown in it.
struct FinderFixture {
    TempHome home;
    ScriptedPrompts prompts;

    FinderFixture() {
        AppState& state = appState();
        state = AppState();
        state.homePath = home.path();
        businessfiles::createBusinessDatabases(home.path(), home.file(QStringLiteral("0")));
        state.biz_registry.occupy(0, QStringLiteral("Test Works"));
        state.biz_registry.biz_count = 1;
        state.biz_registry.cur_biz = 0;
        state.biz_registry.biz_state = 1;
        QDir::setCurrent(home.file(QStringLiteral("0")));
        MDIForm1::get().reset();
        MDIForm1::get().show();
    }
    ~FinderFixture() {
        closeModalWindows();
        delete databaseview::loaded();
        delete MDIForm1::loaded();
        QCoreApplication::processEvents();
        QDir::setCurrent(home.path());
    }

    static void addPart(qint64 number, const QString& description, double price,
                        qint64 classCode = 0, bool general = true, qint64 qty = 0) {
        RecordSet parts(QStringLiteral("parts.fdb"), Parts::table);
        parts.addNew();
        parts.setField(Parts::part_no, number);
        parts.setField(Parts::description, description);
        parts.setField(Parts::vendor_code, qint64(0));
        parts.setField(Parts::unit_cost, *Money::fromDouble(price / 2));
        parts.setField(Parts::unit_price, *Money::fromDouble(price));
        parts.setField(Parts::class_code, classCode);
        parts.setField(Parts::general_stock, general);
        parts.setField(Parts::stock_qty, qty);
        parts.setField(Parts::delivery_days, 2.0);
        parts.setField(Parts::last_delivery, baseDate());
        parts.setField(Parts::picture_file, QString());
        parts.setField(Parts::manufacturer, QStringLiteral("Maker ") + description);
        parts.update();
    }

    static void addItem(qint64 number, const QString& description, bool confirmed = false,
                        float markup = 1.5f, double days = 0) {
        RecordSet items(QStringLiteral("items.fdb"), AssembledItems::table);
        items.addNew();
        items.setField(AssembledItems::item_no, number);
        items.setField(AssembledItems::item_desc, description);
        items.setField(AssembledItems::total_costs, Money());
        items.setField(AssembledItems::markup, markup);
        items.setField(AssembledItems::total_labour, 0.0f);
        items.setField(AssembledItems::spare, qint64(0));
        items.setField(AssembledItems::confirmed, confirmed);
        items.setField(AssembledItems::max_delivery, *Money::fromDouble(days));
        items.setField(AssembledItems::item_class, qint64(0));
        items.update();
    }

    static void addComponent(qint64 host, bool isPart, qint64 number) {
        RecordSet lines(QStringLiteral("items.fdb"), PartsList::table);
        lines.addNew();
        lines.setField(PartsList::host_item_no, host);
        lines.setField(PartsList::part_flag, isPart);
        lines.setField(PartsList::ip_no, number);
        lines.setField(PartsList::qty, qint64(1));
        lines.update();
    }

    static int countRows(const QString& file, const TableDef& table) {
        RecordSet records(file, table);
        return records.recordCount();
    }
};
