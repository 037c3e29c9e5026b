#include "gui/app/mdiform1.h"
#include "gui/widgets/qtprompts.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VARNEK PRAXO"));
    QtPrompts prompts;
    prompts::setResponder(&prompts);
    MDIForm1& window = MDIForm1::get();
    window.startup();
    window.showPlaced();
    return app.exec();
}
