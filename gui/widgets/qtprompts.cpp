#include "gui/widgets/qtprompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>

namespace {
QWidget* parentWindow() {
    return QApplication::activeWindow();
}

QMessageBox::Icon boxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Information:
        break;
    }
    return QMessageBox::NoIcon;
}

// 1440 twips make an inch.
QPoint twipsToPixels(QPoint twips) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return QPoint(int(twips.x() * dpi / 1440.0), int(twips.y() * dpi / 1440.0));
}
} // namespace

void QtPrompts::message(const QString& text, const QString& title, PromptIcon icon) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parentWindow());
    box.exec();
}

bool QtPrompts::question(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    parentWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString QtPrompts::input(const QString& prompt, const QString& title,
                         std::optional<QPoint> positionTwips) {
    QInputDialog dialog(parentWindow());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    if (positionTwips)
        dialog.move(twipsToPixels(*positionTwips));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}
