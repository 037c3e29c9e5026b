#pragma once

#include <QHBoxLayout>
#include <QPushButton>
#include <QString>

#include <array>
#include <cstddef>

// A window's row of command buttons Command1(0), Command1(1), ... pushed to the right, none of
// them pressed by Enter unless the window makes one its default.
template <std::size_t N>
QHBoxLayout* buttonRow(QWidget* owner, std::array<QPushButton*, N>& buttons,
                       const std::array<const char*, N>& captions) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (std::size_t i = 0; i < N; ++i) {
        buttons[i] = new QPushButton(QLatin1String(captions[i]), owner);
        buttons[i]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        buttons[i]->setAutoDefault(false);
        row->addWidget(buttons[i]);
    }
    return row;
}
