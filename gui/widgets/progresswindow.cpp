#include "gui/widgets/progresswindow.h"

#include <QProgressDialog>

ProgressWindow::ProgressWindow(QWidget* parent, const QString& label)
    : dialog_(std::make_unique<QProgressDialog>(label, QString(), 0, 100, parent)) {
    dialog_->setObjectName(QStringLiteral("ProgressWindow"));
    dialog_->setWindowTitle(QStringLiteral("VARNEK PRAXO"));
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setCancelButton(nullptr);
    dialog_->setMinimumDuration(500);
    dialog_->setAutoClose(false);
    dialog_->setValue(0);
}

ProgressWindow::~ProgressWindow() {
    dialog_->reset();
}

std::function<void(double)> ProgressWindow::callback() {
    QProgressDialog* dialog = dialog_.get();
    return [dialog](double done) {
        const int value = qBound(0, int(done * 100), 99);
        if (value != dialog->value())
            dialog->setValue(value);
    };
}
