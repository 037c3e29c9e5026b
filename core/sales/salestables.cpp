#include "core/sales/salestables.h"

#include <iterator>

namespace {
using enum ColumnType;
} // namespace

namespace Customers {
namespace {
constexpr ColumnDef columns[] = {
    {"cust_no", Whole},     {"first_name", Text}, {"last_name", Text}, {"dob", Date},
    {"total_value", Money}, {"address", Text},    {"telephone", Text},
};
static_assert(std::size(columns) == columnCount);
} // namespace

constinit const TableDef table{"Customers", columns};
} // namespace Customers

namespace SalesInvoices {
namespace {
constexpr ColumnDef columns[] = {
    {"cust_no", Whole},      {"invoice_no", Whole},   {"update_date", Date},
    {"amount_paid", Money},  {"amount_owed", Money},  {"confirmed_date", Date},
    {"delivery_date", Date}, {"tax_percent", Single}, {"delivered", YesNo},
    {"salesperson", Text},   {"confirmed", YesNo},
};
static_assert(std::size(columns) == columnCount);
} // namespace

constinit const TableDef table{"sales_invoices", columns};
} // namespace SalesInvoices

namespace ItemsPerSale {
namespace {
constexpr ColumnDef columns[] = {
    {"invoice_no", Whole}, {"part_flag", YesNo},  {"ip_no", Whole},      {"delivery_days", Single},
    {"qty", Whole},        {"unit_price", Money}, {"description", Text},
};
static_assert(std::size(columns) == columnCount);
} // namespace

constinit const TableDef table{"items_per_sale", columns};
} // namespace ItemsPerSale

namespace Payments {
namespace {
constexpr ColumnDef columns[] = {
    {"invoice_no", Whole},
    {"payment_date", Date},
    {"amount", Money},
};
static_assert(std::size(columns) == columnCount);
} // namespace

constinit const TableDef table{"payments", columns, 2};
} // namespace Payments
