#include "gui/sales/invoiceprint.h"

#include "core/sales/invoicedocument.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QScreen>

#include <algorithm>
#include <array>
#include <vector>

namespace invoiceprint {

namespace {

const QMarginsF pageMargins(15, 15, 15, 15); // millimetres

constexpr int columnCount = 7;
// Shares of the width of the columns Line, Number, Kind, Unit Price, Qty and Total; the
// description takes what is left.
constexpr std::array<double, columnCount> shares = {0.055, 0.09, 0.065, 0, 0.13, 0.075, 0.16};
constexpr int descriptionColumn = 3;
constexpr std::array<bool, columnCount> alignRight = {true, false, false, false, true, true, true};

// The invoice's pages on one device: measured first, so that each page knows which rows it
// carries and how many pages there are, then painted. Every block is measured and painted by
// the same code, so the two cannot disagree.
class InvoicePages {
public:
    InvoicePages(const InvoiceDocument& doc, QPaintDevice& device);

    int pageCount() const { return int(pages_.size()); }
    // Paints page `n`; the painter is on that page.
    void paintPage(QPainter& painter, int n) const;

private:
    struct Page {
        int first = 0; // the rows [first, end)
        int end = 0;
        bool headings = true; // a page that only holds the totals has none
        bool totals = false;
    };

    double mm(double millimetres) const { return millimetres * dpi_ / 25.4; }
    QFontMetricsF metrics(const QFont& font) const { return QFontMetricsF(font, &device_); }
    // The page's top block: everything above the column headings. Painted when a painter is
    // given; returns its height.
    double top(QPainter* painter, int page) const;
    double headingsRow(QPainter* painter, double y) const;
    double totalsBlock(QPainter* painter, double y) const;
    void footer(QPainter& painter, int page) const;
    void row(QPainter& painter, int r, double y) const;
    // Text in a box of the given width, from its top left corner; right-aligned when asked.
    void text(QPainter& painter, const QFont& font, double x, double y, double width,
              const QString& s, bool right = false) const;

    const InvoiceDocument& doc_;
    QPaintDevice& device_;
    double dpi_;
    double width_;
    double height_;
    QFont body_, bold_, small_, name_, title_, draft_;
    double line_;   // line spacing of the body text
    double pad_;    // inside a cell
    std::array<double, columnCount> x_{};
    std::array<double, columnCount> w_{};
    std::vector<double> rowHeights_;
    std::vector<Page> pages_;
};

InvoicePages::InvoicePages(const InvoiceDocument& doc, QPaintDevice& device)
    : doc_(doc), device_(device), dpi_(device.logicalDpiY()), width_(device.width()),
      height_(device.height()) {
    const QFont base = QGuiApplication::font();
    const auto sized = [&](double points, bool bold) {
        QFont font = base;
        font.setPointSizeF(points);
        font.setBold(bold);
        // No ligatures, so that the PDF's text reads back as it was written ("confirmed").
        font.setStyleStrategy(QFont::PreferNoShaping);
        return font;
    };
    body_ = sized(9, false);
    bold_ = sized(9, true);
    small_ = sized(7.5, false);
    name_ = sized(15, true);
    title_ = sized(14, true);
    draft_ = sized(12, true);
    line_ = metrics(body_).lineSpacing();
    pad_ = mm(1);

    double fixed = 0;
    for (double share : shares)
        fixed += share * width_;
    double x = 0;
    for (int c = 0; c < columnCount; ++c) {
        const double w = c == descriptionColumn ? width_ - fixed : shares[std::size_t(c)] * width_;
        x_[std::size_t(c)] = x;
        w_[std::size_t(c)] = w;
        x += w;
    }

    // A description longer than its column wraps onto more lines of its row.
    const QFontMetricsF m = metrics(body_);
    const double textWidth = w_[descriptionColumn] - 2 * pad_;
    rowHeights_.reserve(doc.rows.size());
    for (const InvoiceDocument::Row& r : doc.rows) {
        double h = line_;
        if (m.horizontalAdvance(r.description) > textWidth)
            h = std::max(h, m.boundingRect(QRectF(0, 0, textWidth, 1e9),
                                           Qt::TextWordWrap | Qt::TextWrapAnywhere, r.description)
                                .height());
        rowHeights_.push_back(h + 2 * pad_);
    }

    const double bottom = height_ - 2 * line_; // the footer's room
    const int rows = int(doc.rows.size());
    Page page;
    double y = top(nullptr, 0) + headingsRow(nullptr, 0);
    for (int r = 0; r < rows; ++r) {
        const double h = rowHeights_[std::size_t(r)];
        // A row that is taller than a page on its own still gets a page of its own.
        if (y + h > bottom && r > page.first) {
            page.end = r;
            pages_.push_back(page);
            page = Page{r, r, true, false};
            y = top(nullptr, 1) + headingsRow(nullptr, 0);
        }
        y += h;
    }
    page.end = rows;
    if (y + totalsBlock(nullptr, 0) <= bottom) {
        page.totals = true;
        pages_.push_back(page);
    } else {
        pages_.push_back(page);
        pages_.push_back(Page{rows, rows, false, true});
    }
}

void InvoicePages::text(QPainter& painter, const QFont& font, double x, double y, double width,
                        const QString& s, bool right) const {
    painter.setFont(font);
    const double ascent = metrics(font).ascent();
    double at = x;
    if (right)
        at = x + width - metrics(font).horizontalAdvance(s);
    painter.drawText(QPointF(at, y + ascent), s);
}

double InvoicePages::top(QPainter* painter, int page) const {
    const QFontMetricsF nameMetrics = metrics(name_);
    const QFontMetricsF titleMetrics = metrics(title_);
    const QFontMetricsF draftMetrics = metrics(draft_);
    const bool first = page == 0;

    // The sender on the left, the title and the draft mark on the right.
    double left = 0;
    if (painter)
        text(*painter, first ? name_ : bold_, 0, 0, width_ * 0.6, doc_.businessName);
    left += first ? nameMetrics.lineSpacing() : line_;
    if (first) {
        for (const QString& s : doc_.businessLines) {
            if (painter)
                text(*painter, body_, 0, left, width_ * 0.6, s);
            left += line_;
        }
    }
    double right = 0;
    if (painter)
        text(*painter, title_, width_ * 0.5, 0, width_ * 0.5, doc_.title, true);
    right += titleMetrics.lineSpacing();
    if (doc_.draftMark) {
        if (painter) {
            painter->setPen(QColor(190, 0, 0));
            text(*painter, draft_, width_ * 0.4, right, width_ * 0.6, *doc_.draftMark, true);
            painter->setPen(Qt::black);
        }
        right += draftMetrics.lineSpacing();
    }
    double y = std::max(left, right) + line_;
    if (!first)
        return y;

    // The customer on the left, the invoice's facts on the right.
    double customer = y;
    if (painter)
        text(*painter, bold_, 0, customer, width_ * 0.5, QStringLiteral("Bill to"));
    customer += line_;
    for (const QString& s : doc_.customerLines) {
        if (painter)
            text(*painter, body_, 0, customer, width_ * 0.5, s);
        customer += line_;
    }
    double facts = y;
    const double labelX = width_ * 0.55;
    const double valueX = width_ * 0.72;
    for (const InvoiceDocument::Fact& fact : doc_.facts) {
        if (painter) {
            text(*painter, bold_, labelX, facts, valueX - labelX, fact.label);
            text(*painter, body_, valueX, facts, width_ - valueX, fact.value);
        }
        facts += line_;
    }
    return std::max(customer, facts) + line_;
}

double InvoicePages::headingsRow(QPainter* painter, double y) const {
    const double h = line_ + 2 * pad_;
    if (painter) {
        const QStringList headings = InvoiceDocument::headings();
        painter->fillRect(QRectF(0, y, width_, h), QColor(232, 232, 232));
        for (int c = 0; c < columnCount; ++c)
            text(*painter, bold_, x_[std::size_t(c)] + pad_, y + pad_,
                 w_[std::size_t(c)] - 2 * pad_, headings[c], alignRight[std::size_t(c)]);
    }
    return h;
}

void InvoicePages::row(QPainter& painter, int r, double y) const {
    const InvoiceDocument::Row& row = doc_.rows[std::size_t(r)];
    const std::array<const QString*, columnCount> cells = {
        &row.line, &row.number, &row.kind, &row.description, &row.unitPrice, &row.qty, &row.total};
    for (int c = 0; c < columnCount; ++c) {
        const auto i = std::size_t(c);
        const double inner = w_[i] - 2 * pad_;
        if (c == descriptionColumn && rowHeights_[std::size_t(r)] > line_ + 2 * pad_ + 0.5) {
            painter.setFont(body_);
            painter.drawText(QRectF(x_[i] + pad_, y + pad_, inner, rowHeights_[std::size_t(r)]),
                             Qt::TextWordWrap | Qt::TextWrapAnywhere | Qt::AlignLeft |
                                 Qt::AlignTop,
                             *cells[i]);
        } else {
            text(painter, body_, x_[i] + pad_, y + pad_, inner, *cells[i], alignRight[i]);
        }
    }
}

double InvoicePages::totalsBlock(QPainter* painter, double y) const {
    double at = y + line_ * 0.5;
    if (painter)
        painter->drawLine(QPointF(x_[4], at), QPointF(width_, at));
    at += line_ * 0.5;
    const std::size_t last = doc_.totals.size();
    for (std::size_t i = 0; i < last; ++i) {
        const InvoiceDocument::Fact& total = doc_.totals[i];
        // The balance due is what the customer is asked to pay.
        const QFont& font = i + 1 == last ? bold_ : body_;
        if (painter) {
            text(*painter, font, x_[descriptionColumn], at, x_[5] + w_[5] - x_[descriptionColumn],
                 total.label, true);
            text(*painter, font, x_[6] + pad_, at, w_[6] - 2 * pad_, total.value, true);
        }
        at += line_;
    }
    return at - y;
}

void InvoicePages::footer(QPainter& painter, int page) const {
    const double y = height_ - metrics(small_).lineSpacing();
    text(painter, small_, 0, y, width_ * 0.5, doc_.title);
    text(painter, small_, width_ * 0.5, y, width_ * 0.5,
         QStringLiteral("Page %1 of %2").arg(page + 1).arg(pageCount()), true);
}

void InvoicePages::paintPage(QPainter& painter, int n) const {
    const Page& page = pages_[std::size_t(n)];
    double y = top(&painter, n);
    if (page.headings)
        y += headingsRow(&painter, y);
    for (int r = page.first; r < page.end; ++r) {
        row(painter, r, y);
        y += rowHeights_[std::size_t(r)];
    }
    if (page.totals)
        totalsBlock(&painter, y);
    footer(painter, n);
}

} // namespace

int paint(const InvoiceDocument& doc, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const InvoicePages pages(doc, device);
    for (int n = 0; n < pages.pageCount(); ++n) {
        if (n > 0)
            device.newPage();
        pages.paintPage(painter, n);
    }
    painter.end();
    return pages.pageCount();
}

QPageSize defaultPageSize() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull() && printer.defaultPageSize().isValid())
        return printer.defaultPageSize();
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem
               ? QPageSize(QPageSize::Letter)
               : QPageSize(QPageSize::A4);
}

QString writePdf(const InvoiceDocument& doc, const QString& path, const QPageSize& size) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    int pages = 0;
    {
        QPdfWriter writer(&file);
        writer.setPageSize(size);
        writer.setPageMargins(pageMargins, QPageLayout::Millimeter);
        writer.setTitle(doc.title);
        writer.setCreator(QStringLiteral("VARNEK PRAXO"));
        pages = paint(doc, writer);
    }
    if (pages == 0) {
        file.cancelWriting();
        return QStringLiteral("the PDF could not be drawn");
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

void preview(const InvoiceDocument& doc, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(pageMargins, QPageLayout::Millimeter);
    printer.setDocName(doc.title);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    // A page that can be read without zooming first, on a screen that has the room.
    const QSize room = parent ? parent->screen()->availableSize() - QSize(40, 60) : QSize(760, 660);
    dialog.resize(QSize(760, 660).boundedTo(room));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&doc](QPrinter* target) { paint(doc, *target); });
    dialog.exec();
}

} // namespace invoiceprint
