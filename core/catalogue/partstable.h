#pragma once

#include "core/common/tabledef.h"

// The parts catalogue, table "Parts" of parts.fdb. Columns by ordinal: rs.field(Parts::unit_price).
namespace Parts {
enum Col : int {
    part_no,       // whole number, below 32768
    description,   // text
    vendor_code,   // whole number 0 to 200; 0 is the unknown vendor
    unit_cost,     // money
    unit_price,    // money
    class_code,    // whole number 0 to 200; 0 is miscellaneous
    general_stock, // yes/no
    stock_qty,     // whole number
    delivery_days, // double, in days
    last_delivery, // date; the base date (value 0) means none
    features,      // text, may be null
    picture_file,  // text
    manufacturer,  // text
    columnCount
};
extern const TableDef table;
} // namespace Parts
