#include "common/qtprompts.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtPrompts prompts;
    prompts::setResponder(&prompts);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("VARNEK PRAXO"));
    window.resize(1024, 720);
    window.show();
    return app.exec();
}
