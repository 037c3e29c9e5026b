#pragma once

#include "core/items/itemcosting.h"

#include <QColor>
#include <QObject>

class LineGrid;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;
namespace staleprices {
class StaleLines;
}

// The item builder's signs of lines priced before their component's price changed
// (core/items/staleprices.h): the unit-price box of each such line in a colour of its own, the
// count "StalePrices" beside the item's fields, and the button "UpdatePrices".
class StaleMarks : public QObject {
public:
    static const QColor colour;
    static constexpr int priceColumn = ItemCell::unit_price; // the grid shows the line's cells

    explicit StaleMarks(QWidget* owner);

    // The label over the button, for the owner to place beside its fields.
    QVBoxLayout* layout() const { return layout_; }
    QPushButton* button() const { return button_; }

    // After the grid has shown its rows from line `top` on: marks the out-of-date lines among
    // them and shows the count; the button works only when the item may be `changed`.
    void show(const staleprices::StaleLines& stale, LineGrid& grid, int top, bool changed);

private:
    QVBoxLayout* layout_;
    QLabel* label_;
    QPushButton* button_;
};
