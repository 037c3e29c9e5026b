#pragma once

#include "core/common/csvwriter.h"
#include "core/sales/invoicelistrules.h"
#include "core/sales/invoicerules.h"

#include <span>
#include <vector>

class RecordSet;

// The invoice list and an invoice's lines as tables for a CSV file, each cell as the window
// shows it.
namespace salesexport {

// The listed invoices at their row positions, in the list's order: number, date, amount owed,
// amount paid and, in the all-customers list, the customer's tag. The record set is left on
// its first row.
csv::Table invoiceList(RecordSet& invoices, const std::vector<int>& positions,
                       const std::vector<invoicelist::CustomerTag>& tags, bool allCustomers);

// The lines in use with the five columns of the invoice editor's grid, under its captions.
csv::Table invoiceLines(std::span<const InvoiceLine> lines, const QStringList& captions);

} // namespace salesexport
