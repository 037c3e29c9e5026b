// A guided tour of VARNEK PRAXO: starts the real program in the current (empty) folder, does a
// business's typical work through the real windows and takes the user guide's screenshots.
// Usage: praxo_tour <screenshot-folder> [--focus] [--pause <ms>]
//   --focus   also print each window's tab order
//   --pause   time between steps (300 ms by default: time for a window manager to draw)
// scripts/screenshots.sh runs it under Xvfb; as a test it runs on the offscreen platform.

#include "tour.h"

#include "gui/app/mdiform1.h"
#include "core/common/clock.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTimer>

#include <cstdio>

void Tour::shot(const QString& name) {
    step(QStringLiteral("screenshot ") + name, [name] { tourkit::shoot(name); });
}

void Tour::focusOf(std::function<QWidget*()> window) {
    if (!printFocus)
        return;
    step(QStringLiteral("tab order"), [window] {
        if (QWidget* w = window())
            tourkit::printFocusChain(w);
    });
}

QAction& menuEntry(const char* name) {
    return tourkit::must(MDIForm1::get().findChild<QAction*>(QLatin1String(name)), name);
}

QMenu& menu(const char* name) {
    return tourkit::must(MDIForm1::get().findChild<QMenu*>(QLatin1String(name)), name);
}

void choose(const char* name) {
    QAction& entry = menuEntry(name);
    tourkit::check(entry.isEnabled(), QStringLiteral("menu entry %1 is enabled").arg(name));
    entry.trigger();
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VARNEK PRAXO"));
    const QStringList args = QApplication::arguments();
    if (args.size() < 2 || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: praxo_tour <screenshot-folder> [--focus] [--pause <ms>]\n");
        return 2;
    }
    // The tour makes a business in the folder it starts in, which must hold nothing else.
    if (!QDir::current().isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        std::fprintf(stderr, "praxo_tour: start it in an empty folder\n");
        return 2;
    }
    tourkit::setShotFolder(QDir(args[1]).absolutePath());
    // A fixed day, so that the dates in the screenshots stay the same from run to run.
    appclock::setToday(QDate(2025, 3, 3));

    TourPrompts prompts;
    const qsizetype pauseAt = args.indexOf(QStringLiteral("--pause"));
    const int pauseMs = pauseAt > 0 && pauseAt + 1 < args.size() ? args[pauseAt + 1].toInt() : 300;
    TourScript script(prompts, qMax(1, pauseMs));
    Tour tour{script, prompts, args.contains(QStringLiteral("--focus"))};
    addBusinessSteps(tour);
    addCatalogueSteps(tour);
    addItemSteps(tour);
    addBackupSteps(tour);
    addStalePriceSteps(tour);
    addSalesSteps(tour);

    // A tour that hangs in a window it failed to close ends rather than waits forever.
    QTimer::singleShot(240000, [] { tourkit::fatal(QStringLiteral("the tour took too long")); });

    MDIForm1& window = MDIForm1::get();
    window.startup();
    window.showPlaced();
    script.start();
    const int code = app.exec();

    tourkit::check(prompts.done(), QStringLiteral("boxes:\n") + prompts.report());
    tourkit::check(code == 0, QStringLiteral("the program's exit code %1").arg(code));
    std::printf("tour %s\n", tourkit::failures() == 0 ? "done" : "FAILED");
    return tourkit::failures() == 0 ? 0 : 1;
}
