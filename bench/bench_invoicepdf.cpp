// The PDF of an invoice of 3,000 lines, written as "Save as PDF..." writes it (laid out on A4,
// headings repeated on every page, totals at the end), against a bare QPdfWriter that draws the
// same cells at fixed places with no measuring or page layout. The target is under 2 s.

#include "core/business/bizsettings.h"
#include "core/sales/invoicedocument.h"
#include "gui/sales/invoiceprint.h"
#include "benchutil.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

constexpr int lines = 3000;
constexpr int runs = 5;

InvoiceDocument bigInvoice() {
    std::vector<InvoiceLine> rows;
    rows.reserve(lines);
    for (int i = 0; i < lines; ++i) {
        const int qty = 1 + i % 9;
        const int cents = 125 + (i * 37) % 9000;
        rows.push_back({QStringLiteral("%1  %2").arg(i % 10000, 4, 10, QLatin1Char('0'))
                            .arg(i % 2 ? QLatin1Char('I') : QLatin1Char('P')),
                        QStringLiteral("Line %1 of the big order, hex bolt M%2").arg(i).arg(i % 20),
                        QStringLiteral("$%1.%2").arg(cents / 100).arg(cents % 100, 2, 10,
                                                                      QLatin1Char('0')),
                        QStringLiteral("%1").arg(qty, 2, 10, QLatin1Char('0')),
                        QStringLiteral("$%1.%2").arg(cents * qty / 100).arg(cents * qty % 100, 2,
                                                                            10, QLatin1Char('0')),
                        QStringLiteral("2")});
    }
    invoicerules::InvoiceBoxes boxes;
    boxes.invoiceNo = QStringLiteral("0012");
    boxes.custNo = QStringLiteral("0003");
    boxes.updateDate = QStringLiteral("Jun 01, 2023");
    boxes.confirmedDate = QStringLiteral("Jun 02, 2023");
    boxes.deliveryDate = QStringLiteral("Jun 09, 2023");
    boxes.salesperson = QStringLiteral("SAM");
    boxes.owed = QStringLiteral("$123456.78");
    boxes.paid = QStringLiteral("$100.00");
    boxes.tax = QStringLiteral("8.250 %");
    boxes.confirmed = true;
    BizSettings settings;
    settings.company = QStringLiteral("Bench Works");
    settings.ceo_name = QStringLiteral("A. Owner");
    settings.biz_type = QStringLiteral("Machine shop");
    return invoicedocument::make(boxes, rows, settings, QString(),
                                 invoicedocument::Customer{QStringLiteral("Ann Lee"),
                                                           QStringLiteral("1 Mill Road"),
                                                           QStringLiteral("555-0101")});
}

// The same cells drawn at fixed places, 60 rows a page.
void barePdf(const InvoiceDocument& doc, const QString& path) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    const int step = writer.height() / 62;
    const int column = writer.width() / 7;
    int y = step;
    for (const InvoiceDocument::Row& row : doc.rows) {
        if (y > writer.height() - step) {
            writer.newPage();
            y = step;
        }
        const QString* cells[] = {&row.line, &row.number, &row.kind, &row.description,
                                  &row.unitPrice, &row.qty, &row.total};
        for (int c = 0; c < 7; ++c)
            painter.drawText(c * column, y, *cells[c]);
        y += step;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("invoice.pdf"));
    const InvoiceDocument doc = bigInvoice();

    std::printf("Invoice PDF: %d lines on A4 (median of %d runs)\n", lines, runs);
    const double pdf = bench::medianOf(runs, [&] {
        invoiceprint::writePdf(doc, path, QPageSize(QPageSize::A4));
    });
    const double bare = bench::medianOf(runs, [&] { barePdf(doc, path); });
    std::printf("%-34s %9.2f ms   %-24s %9.2f ms   ratio %6.3f   (target %s)\n",
                "PDF of a 3,000-line invoice", pdf, "bare QPdfWriter", bare, pdf / bare,
                "under 2000 ms");
    return pdf < 2000 ? 0 : 1;
}
