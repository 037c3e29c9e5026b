#include "gui/app/titlepage.h"

#include "gui/widgets/keyclick.h"
#include "gui/widgets/pictures.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

titlepage::titlepage()
    : picture_(new QLabel(this)), Command1(new QPushButton(QStringLiteral("Ok"), this)),
      Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("titlepage"));
    setWindowTitle(QStringLiteral("VARNEK PRAXO"));
    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setPixmap(pictures::pixmap(QStringLiteral("titlepage"), QSize(480, 320)));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    Command1->hide();
    Timer1->setObjectName(QStringLiteral("Timer1"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture_);
    layout->addWidget(Command1, 0, Qt::AlignHCenter);

    connect(Timer1, &QTimer::timeout, this, &titlepage::tick);
    connect(Command1, &QPushButton::clicked, this, [this] { unload(QDialog::Accepted); });
    keyclick::returnPressesFocusedButtons(this);
}

void titlepage::load() {
    ticks_ = 0;
    Timer1->setInterval(1);
    Timer1->start();
    const bool fromHelp = mode == 1;
    Command1->setVisible(fromHelp);
    Command1->setEnabled(fromHelp);
}

void titlepage::tick() {
    if (mode != 0)
        return;
    if (++ticks_ >= 100)
        unload(QDialog::Accepted);
}

void titlepage::unloading() {
    Timer1->stop();
}

// Esc presses "Ok", the cancel button, only while it is shown.
void titlepage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (Command1->isVisible() && Command1->isEnabled())
            Command1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void titlepage::reject() {
    unload();
}
