#include "core/catalogue/partstable.h"

#include <iterator>

namespace Parts {
namespace {
using enum ColumnType;
constexpr ColumnDef columns[] = {
    {"part_no", Whole},       {"description", Text}, {"vendor_code", Whole},
    {"unit_cost", Money},     {"unit_price", Money}, {"class_code", Whole},
    {"general_stock", YesNo}, {"stock_qty", Whole},  {"delivery_days", Double},
    {"last_delivery", Date},  {"features", Text},    {"picture_file", Text},
    {"manufacturer", Text},
};
static_assert(std::size(columns) == columnCount);
} // namespace

constinit const TableDef table{"Parts", columns};
} // namespace Parts
