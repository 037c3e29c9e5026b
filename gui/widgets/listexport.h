#pragma once

#include "core/common/csvwriter.h"

#include <QString>

class QPushButton;
class QWidget;

// Lists leave the program as CSV files that spreadsheets read.
namespace listexport {

// The "Export..." button of a list window (objectName "ExportList", also Ctrl+E).
QPushButton* exportButton(QWidget* owner);

// Asks for the file to write (the suggested name in the documents folder) and writes the
// table to it; a failure is told. Returns the file written, or an empty text.
QString exportTable(QWidget* parent, const QString& suggestedName, const csv::Table& table);

// The text of a cell or caption as a spreadsheet should get it: the blanks that only line
// the columns up on the screen taken off.
QString cellText(const QString& shown);

} // namespace listexport
