#pragma once

#include <QStyledItemDelegate>

class QHelpEvent;
class QLineEdit;
class QString;

// Whole texts where a cell is too narrow: fixed-width fields pad their text with blanks, which
// must never pass for text that was cut, and text that really does not fit is shown whole in
// the cell's tooltip.
namespace fulltext {

// The text without the blanks that pad it to its field's width.
QString withoutPadding(const QString& text);

// True when the box shows its whole text.
bool fits(const QLineEdit& box);

// A tooltip headed by the whole text when the cell or box shows it cut, unless it says it already.
QString tipWithWhole(const QString& tip, const QString& whole, bool cut);

// Shows the box's tooltip for a help event, headed by the box's whole text when that does not
// fit; true when a tooltip was shown.
bool showTip(QLineEdit& box, const QHelpEvent& event);

} // namespace fulltext

// A list cell drawn without its padding blanks, as wide as its column so that it elides to the
// column's visible width; its tooltip shows the whole text when the cell elides it, ahead of
// the model's own tooltip.
class FullTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The text the cell shows in `option`'s rectangle, elided as the style elides it.
    QString shownText(const QAbstractItemView* view, const QStyleOptionViewItem& option,
                      const QModelIndex& index) const;
    // The same for the cell as the view lays it out now.
    QString shownText(const QAbstractItemView* view, const QModelIndex& index) const;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
