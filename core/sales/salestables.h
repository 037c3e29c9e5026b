#pragma once

#include "core/common/tabledef.h"

// The customers and sales of cust.fdb: tables "Customers", "sales_invoices" (one row per invoice)
// and "items_per_sale" (one row per invoice line). Columns by ordinal.
namespace Customers {
enum Col : int {
    cust_no,     // whole number
    first_name,  // text
    last_name,   // text
    dob,         // date
    total_value, // money
    address,     // text
    telephone,   // text
    columnCount
};
extern const TableDef table;
} // namespace Customers

namespace SalesInvoices {
enum Col : int {
    cust_no,        // whole number
    invoice_no,     // whole number
    update_date,    // date
    amount_paid,    // money
    amount_owed,    // money
    confirmed_date, // date, empty until confirmed
    delivery_date,  // date, empty until confirmed
    tax_percent,    // single: 8.25 means 8.25 %
    delivered,      // yes/no
    salesperson,    // text
    confirmed,      // yes/no
    columnCount
};
extern const TableDef table;
} // namespace SalesInvoices

namespace ItemsPerSale {
enum Col : int {
    invoice_no,    // whole number
    part_flag,     // yes/no: true for a part, false for an assembled item
    ip_no,         // whole number
    delivery_days, // single
    qty,           // whole number
    unit_price,    // money
    description,   // text
    columnCount
};
extern const TableDef table;
} // namespace ItemsPerSale

// One row per payment received on an invoice; the invoice's amount_paid is always their sum.
namespace Payments {
enum Col : int {
    invoice_no,   // whole number: sales_invoices.invoice_no
    payment_date, // date the payment was recorded
    amount,       // money, more than 0
    columnCount
};
extern const TableDef table;
} // namespace Payments
