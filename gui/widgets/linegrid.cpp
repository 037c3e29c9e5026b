#include "gui/widgets/linegrid.h"

#include "gui/widgets/fulltext.h"
#include "gui/widgets/keyclick.h"

#include <QGridLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

namespace {

const char* const columnProperty = "gridColumn";
const char* const rowProperty = "gridRow";

void setBackground(QWidget* box, const QColor& colour) {
    QPalette palette = box->palette();
    if (palette.color(QPalette::Base) == colour)
        return;
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

// The background of a greyed row. Light is next to white in the usual styles, so that greyed
// rows would pass for empty ones; Midlight is a plain grey.
QColor inactiveColour(const QPalette& palette) {
    return palette.color(QPalette::Midlight);
}

// A grid box asks for no more than its minimum width, so that the room a window has beyond
// that goes to the column that stretches.
class GridBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    QSize sizeHint() const override {
        return {minimumWidth(), QLineEdit::sizeHint().height()};
    }
};

} // namespace

bool isKeyClick(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->isAutoRepeat())
        return false;
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
           key->key() == Qt::Key_Space;
}

LineGrid::LineGrid(QWidget* owner, std::vector<Column> columns, int rows)
    : QObject(owner), owner_(owner), layout_(new QGridLayout), columns_(std::move(columns)),
      rows_(rows) {
    layout_->setHorizontalSpacing(1);
    layout_->setVerticalSpacing(1);
    const int count = columnCount();
    for (int c = 0; c < count; ++c) {
        auto* label = new QLabel(columns_[std::size_t(c)].header, owner);
        label->setObjectName(QStringLiteral("Label2(%1)").arg(c));
        layout_->addWidget(label, 0, c);
        layout_->setColumnStretch(c, columns_[std::size_t(c)].stretch);
        headers_.push_back(label);
    }
    // Made row by row, so that the tab order runs along each row.
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < count; ++c) {
            const Column& column = columns_[std::size_t(c)];
            auto* box = new GridBox(owner);
            box->setObjectName(QStringLiteral("Text%1(%2)").arg(c + 2).arg(r));
            box->setReadOnly(true);
            box->setMouseTracking(true);
            box->setProperty(columnProperty, c);
            box->setProperty(rowProperty, r);
            box->installEventFilter(this);
            // A locked grid is greyed already; its text must stay readable on the grey.
            QPalette palette = box->palette();
            palette.setColor(QPalette::Disabled, QPalette::Text,
                             palette.color(QPalette::Active, QPalette::Text));
            box->setPalette(palette);
            setBackground(box, column.colour);
            box->setCursor(column.cursor);
            fitToColumn(box, column.stretch);
            layout_->addWidget(box, r + 1, c);
            boxes_.push_back(box);
        }
    }
    scroll_ = new QScrollBar(Qt::Vertical, owner);
    scroll_->setObjectName(QStringLiteral("VScroll1"));
    scroll_->setRange(0, 0);
    layout_->addWidget(scroll_, 1, count, rows_, 1);
}

// A column that shares the width left over (the description) starts wide enough for a usual
// text and takes the room as the window grows; the others keep about the width of their
// figures, so that a wide window widens the description.
void LineGrid::fitToColumn(QLineEdit* box, int stretch) {
    const int charWidth = box->fontMetrics().averageCharWidth();
    if (stretch > 0) {
        box->setMinimumWidth(charWidth * 11 * stretch);
        box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        box->setMinimumWidth(charWidth * 9);
        box->setMaximumWidth(charWidth * 15);
        box->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
}

QLineEdit* LineGrid::box(int column, int row) const {
    return boxes_[std::size_t(row * columnCount() + column)];
}

void LineGrid::copyColumn(int column, QLineEdit** out, int count) const {
    for (int r = 0; r < count && r < rows_; ++r)
        out[r] = box(column, r);
}

void LineGrid::showRow(int row, std::span<const QString> cells, bool active) {
    const QColor grey = inactiveColour(owner_->palette());
    for (int c = 0; c < columnCount(); ++c) {
        const Column& column = columns_[std::size_t(c)];
        QLineEdit* target = box(c, row);
        target->setText(cells[std::size_t(c)]);
        target->setCursorPosition(0); // a long text shows its start
        setBackground(target, active ? column.colour : grey);
        target->setCursor(active ? column.cursor : Qt::CrossCursor);
        // Tab passes over greyed rows; a click still reaches them.
        target->setFocusPolicy(active ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void LineGrid::markBox(int column, int row, const QColor& colour) {
    setBackground(box(column, row), colour);
}

void LineGrid::setBoxesEnabled(bool enabled) {
    for (QLineEdit* target : boxes_)
        target->setEnabled(enabled);
}

void LineGrid::stepRow(int column, int row, int step) {
    const int next = row + step;
    if (next >= 0 && next < rows_)
        box(column, next)->setFocus(Qt::OtherFocusReason);
    else
        scroll_->setValue(scroll_->value() + step);
}

void LineGrid::setRemovable(std::function<bool(int line)> removable) {
    removable_ = std::move(removable);
}

void LineGrid::showLineMenu(QWidget* box, int line, const QPoint& globalPos) {
    auto* menu = new QMenu(box);
    menu->setObjectName(QStringLiteral("LineMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* remove = menu->addAction(QStringLiteral("Remove line"));
    remove->setObjectName(QStringLiteral("RemoveLine"));
    remove->setEnabled(removable_(line));
    // Asked once the menu has closed, so that the question is not opened from inside it.
    connect(remove, &QAction::triggered, this, [this, line] { emit removeRequested(line); },
            Qt::QueuedConnection);
    menu->popup(globalPos);
}

bool LineGrid::eventFilter(QObject* watched, QEvent* event) {
    const QVariant column = watched->property(columnProperty);
    if (!column.isValid() || keyclick::reachesDisabled(watched, event))
        return QObject::eventFilter(watched, event);
    const int c = column.toInt();
    const int r = watched->property(rowProperty).toInt();
    if (removable_) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            return true;
        if (type == QEvent::ContextMenu) {
            showLineMenu(static_cast<QWidget*>(watched), r + scroll_->value(),
                         static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        emit clicked(c, r);
        return true;
    case QEvent::MouseMove:
    case QEvent::Enter:
        emit hovered(c, r);
        return false;
    case QEvent::ToolTip:
        // The owner sets the box's tooltip first; a text cut by the box's width heads it.
        emit hovered(c, r);
        return fulltext::showTip(*box(c, r), *static_cast<QHelpEvent*>(event));
    case QEvent::KeyPress: {
        if (isKeyClick(event)) {
            emit clicked(c, r);
            return true;
        }
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
            break;
        switch (key->key()) {
        case Qt::Key_Up:
            stepRow(c, r, -1);
            return true;
        case Qt::Key_Down:
            stepRow(c, r, 1);
            return true;
        case Qt::Key_PageUp:
            scroll_->setValue(scroll_->value() - rows_);
            return true;
        case Qt::Key_PageDown:
            scroll_->setValue(scroll_->value() + rows_);
            return true;
        case Qt::Key_Delete:
            if (!removable_ || key->isAutoRepeat())
                break;
            if (removable_(r + scroll_->value()))
                emit removeRequested(r + scroll_->value());
            return true;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
