#include "gui/widgets/fulltext.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolTip>

namespace fulltext {

QString withoutPadding(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

bool fits(const QLineEdit& box) {
    // The room inside the frame and the line edit's own side margins.
    QStyleOptionFrame option;
    option.initFrom(&box);
    const QRect inner =
        box.style()->subElementRect(QStyle::SE_LineEditContents, &option, &box);
    const QMargins margins = box.textMargins();
    const int room = inner.width() - margins.left() - margins.right() - 4;
    return box.fontMetrics().horizontalAdvance(withoutPadding(box.text())) <= room;
}

QString tipWithWhole(const QString& tip, const QString& whole, bool cut) {
    if (!cut || tip.contains(whole))
        return tip;
    return tip.isEmpty() ? whole : whole + QLatin1Char('\n') + tip;
}

bool showTip(QLineEdit& box, const QHelpEvent& event) {
    const QString tip = tipWithWhole(box.toolTip(), withoutPadding(box.text()), !fits(box));
    if (tip.isEmpty())
        return false;
    QToolTip::showText(event.globalPos(), tip, &box);
    return true;
}

} // namespace fulltext

void FullTextDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    option->text = fulltext::withoutPadding(option->text);
}

QString FullTextDelegate::shownText(const QAbstractItemView* view,
                                   const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QStyle* style = view->style();
    // The style draws the text inside its focus-frame margin on each side.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, view);
    return cell.fontMetrics.elidedText(cell.text, cell.textElideMode,
                                       textRect.width() - 2 * margin);
}

QString FullTextDelegate::shownText(const QAbstractItemView* view,
                                   const QModelIndex& index) const {
    QStyleOptionViewItem option;
    option.initFrom(view->viewport());
    option.font = view->font();
    option.fontMetrics = QFontMetrics(option.font);
    option.rect = view->visualRect(index);
    option.textElideMode = view->textElideMode();
    return shownText(view, option, index);
}

// No width of its own: a list lays such a line out across its whole visible width.
QSize FullTextDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    return {1, QStyledItemDelegate::sizeHint(option, index).height()};
}

bool FullTextDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString whole = fulltext::withoutPadding(index.data(Qt::DisplayRole).toString());
    const QString tip = fulltext::tipWithWhole(index.data(Qt::ToolTipRole).toString(), whole,
                                               shownText(view, option, index) != whole);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), tip, view->viewport(), view->visualRect(index));
    return true;
}
