#include "gui/items/stalemarks.h"

#include "core/items/staleprices.h"
#include "gui/widgets/linegrid.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// Light orange: apart from the grid's yellow, cyan and green columns and from the grey of
// locked rows, on which the marks of a confirmed item show as well.
const QColor StaleMarks::colour(255, 196, 140);

StaleMarks::StaleMarks(QWidget* owner)
    : QObject(owner), layout_(new QVBoxLayout), label_(new QLabel(owner)),
      button_(new QPushButton(QStringLiteral("Update prices"), owner)) {
    label_->setObjectName(QStringLiteral("StalePrices"));
    label_->setAutoFillBackground(true);
    QPalette palette = label_->palette();
    palette.setColor(QPalette::Window, colour);
    label_->setPalette(palette);
    label_->setMargin(3);
    // The fields beside it keep their places when it hides.
    QSizePolicy policy = label_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label_->setSizePolicy(policy);
    label_->hide();
    button_->setObjectName(QStringLiteral("UpdatePrices"));
    button_->setAutoDefault(false);
    button_->setEnabled(false);
    button_->setToolTip(QStringLiteral("Take the current prices for the marked lines"));
    layout_->addWidget(label_);
    layout_->addWidget(button_);
    layout_->addStretch();
}

void StaleMarks::show(const staleprices::StaleLines& stale, LineGrid& grid, int top,
                      bool changed) {
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (stale.isStale(top + r))
            grid.markBox(priceColumn, r, colour);
    }
    const int count = stale.count();
    label_->setText(staleprices::countText(count));
    label_->setVisible(count > 0);
    button_->setEnabled(changed && count > 0);
}
