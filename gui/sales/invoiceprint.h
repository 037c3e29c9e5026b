#pragma once

#include <QPageSize>
#include <QString>

class QPagedPaintDevice;
class QWidget;
struct InvoiceDocument;

// The invoice on paper: laid out on the pages of a printer or a PDF file of any page size, the
// column headings repeated on every page that carries lines, the totals after the last line and
// "Page n of m" at the foot of each page. Drawn line by line with QPainter, which writes a
// 3,000-line invoice many times faster than a text document's table would.
namespace invoiceprint {

// Paints the document on the device's pages, starting on its current page. Returns the number
// of pages, 0 when the device cannot be painted on.
int paint(const InvoiceDocument& doc, QPagedPaintDevice& device);

// The page size of the default printer, or of the machine's locale when there is no printer
// (US Letter where that is the usage, A4 elsewhere).
QPageSize defaultPageSize();

// Writes the document as a PDF file of the page size, whole or not at all. Returns the reason
// when the file could not be written, an empty text otherwise.
QString writePdf(const InvoiceDocument& doc, const QString& path, const QPageSize& size);

// Qt's print preview of the document, shown modally (objectName "PrintPreview"); the user
// prints from it, to a printer or to a PDF file.
void preview(const InvoiceDocument& doc, QWidget* parent);

} // namespace invoiceprint
