#include "core/items/itemtables.h"

#include <iterator>

namespace {
using enum ColumnType;
} // namespace

namespace AssembledItems {
namespace {
constexpr ColumnDef columns[] = {
    {"item_no", Whole},   {"item_desc", Text},      {"total_costs", Money},
    {"markup", Single},   {"total_labour", Single}, {"spare", Int16},
    {"confirmed", YesNo}, {"max_delivery", Money},  {"item_class", Whole},
};
static_assert(std::size(columns) == columnCount);
} // namespace

constinit const TableDef table{"Assembled Items", columns};
} // namespace AssembledItems

namespace PartsList {
namespace {
constexpr ColumnDef columns[] = {
    {"host_item_no", Whole}, {"part_flag", YesNo},      {"ip_no", Whole},
    {"qty", Whole},          {"unit_price", Money},     {"total_price", Money},
    {"asm_hours", Single},   {"eng_hours", Single},     {"test_hours", Single},
    {"ip_cost", Money},      {"delivery_days", Single},
};
static_assert(std::size(columns) == columnCount);
} // namespace

constinit const TableDef table{"parts list", columns};
} // namespace PartsList
