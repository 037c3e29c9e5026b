#pragma once

#include <QColor>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <span>
#include <vector>

class QEvent;
class QPoint;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPalette;
class QScrollBar;
class QWidget;

// The lines of a document shown in a grid of read-only boxes: a header over each column, one
// row per visible line and a scroll bar beside them. The owner fills the rows from its lines;
// the grid paints active and greyed rows and reports clicks and pointer moves on its boxes.
// The boxes are named "Text<column + 2>(<row>)", the headers "Label2(<column>)", the scroll bar
// "VScroll1". Tab runs along a row, then to the next; Return or Space on a box acts as a click;
// Up and Down move between rows, scrolling at the top and bottom, and Page Up and Page Down
// scroll by a page.
class LineGrid : public QObject {
    Q_OBJECT
public:
    struct Column {
        QString header;
        QColor colour;          // background of an active box
        Qt::CursorShape cursor; // pointer over an active box
        int stretch = 0;        // share of the width left over
    };

    // Builds the grid's controls on `owner`; the owner places layout() among its own.
    LineGrid(QWidget* owner, std::vector<Column> columns, int rows);

    QGridLayout* layout() const { return layout_; }
    int columnCount() const { return int(columns_.size()); }
    int rowCount() const { return rows_; }
    QLineEdit* box(int column, int row) const;
    QLabel* header(int column) const { return headers_[std::size_t(column)]; }
    QScrollBar* scrollBar() const { return scroll_; }

    // Hands out the boxes column by column, for owners that keep one array per column.
    template <class... Arrays> void copyColumns(Arrays&... arrays) const {
        int column = 0;
        (copyColumn(column++, arrays.data(), int(arrays.size())), ...);
    }
    template <std::size_t N> void copyHeaders(std::array<QLabel*, N>& labels) const {
        for (std::size_t c = 0; c < N; ++c)
            labels[c] = header(int(c));
    }

    // Shows the first columnCount() cells in `row`, each from its start. An inactive row is
    // greyed and its boxes carry the cross pointer.
    void showRow(int row, std::span<const QString> cells, bool active);
    // Gives one box of a shown row a background of its own, until the row is shown again.
    void markBox(int column, int row, const QColor& colour);
    void setBoxesEnabled(bool enabled);

    // Lets the user remove the line a row shows: Delete on one of its boxes, or "Remove line" in
    // the boxes' context menu (greyed where `removable` says no), asks for it with
    // removeRequested. Lines are numbered from 0 at the top of the scrolled list. Once set, the
    // right button opens that menu instead of clicking.
    void setRemovable(std::function<bool(int line)> removable);

signals:
    // A mouse press or double-click, or Return or Space, on a box.
    void clicked(int column, int row);
    // The pointer moved over a box, or a tooltip is about to show on it.
    void hovered(int column, int row);
    // Delete or "Remove line" on a row whose line may be removed.
    void removeRequested(int line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void copyColumn(int column, QLineEdit** out, int count) const;
    static void fitToColumn(QLineEdit* box, int stretch);
    void stepRow(int column, int row, int step);
    void showLineMenu(QWidget* box, int line, const QPoint& globalPos);

    QWidget* owner_;
    QGridLayout* layout_;
    std::vector<Column> columns_;
    int rows_;
    std::vector<QLineEdit*> boxes_; // row by row
    std::vector<QLabel*> headers_;
    QScrollBar* scroll_ = nullptr;
    std::function<bool(int line)> removable_;
};

// True for a key press that stands for a click: Return, Enter or Space, not repeated by holding.
bool isKeyClick(const QEvent* event);
