#pragma once

#include "core/common/tabledef.h"

// The assembled items of items.fdb: table "Assembled Items", one row per item, and table
// "parts list", one row per component line of an item. Columns by ordinal.
namespace AssembledItems {
enum Col : int {
    item_no,      // whole number
    item_desc,    // text
    total_costs,  // money: the item's price
    markup,       // single: the mark-up factor
    total_labour, // single: hours
    spare,        // 16-bit integer, written 0
    confirmed,    // yes/no
    max_delivery, // money: days
    item_class,   // whole number 0 to 200
    columnCount
};
extern const TableDef table;
} // namespace AssembledItems

namespace PartsList {
enum Col : int {
    host_item_no,  // whole number: item_no of the owning item
    part_flag,     // yes/no: true for a part, false for an assembled item
    ip_no,         // whole number: the part's or item's number
    qty,           // whole number
    unit_price,    // money
    total_price,   // money
    asm_hours,     // single
    eng_hours,     // single
    test_hours,    // single
    ip_cost,       // money
    delivery_days, // single
    columnCount
};
extern const TableDef table;
} // namespace PartsList
