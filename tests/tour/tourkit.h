#pragma once

#include <QPoint>
#include <QString>

class QListView;
class QWidget;

// What a user does with mouse and keyboard, done to the real windows for the guided tour, and
// the screenshots taken along the way.
namespace tourkit {

// The folder the screenshots are written to.
void setShotFolder(const QString& folder);
// Grabs the whole screen into <folder>/guide-NN-<name>.png, NN counting the shots in order.
void shoot(const QString& name);
// Grabs the whole screen into <folder>/<fileName>.png.
void shootAs(const QString& fileName);
// Lists the widgets that Tab visits in the window, in order, with their places.
void printFocusChain(QWidget* window);

// A left click (press and release) at a point of the widget, its centre by default.
void click(QWidget* widget, QPoint at = QPoint(-1, -1));
// Two clicks in quick succession, as the windowing system reports a double click.
void doubleClick(QWidget* widget, QPoint at = QPoint(-1, -1));
// A click on a line of a list.
void clickLine(QListView* list, int row);
// A key press and release sent to the widget.
void pressKey(QWidget* widget, int key);
// Replaces the text of a text box as typing it would, one change for the whole text.
void type(QWidget* lineEdit, const QString& text);

// Reports a failed expectation; the tour goes on and ends with a failure.
void check(bool condition, const QString& what);
// Reports a failure that the tour cannot go past and ends the program at once.
[[noreturn]] void fatal(const QString& what);
// A window that must be there at this point of the tour.
template <class T> T& must(T* window, const char* name) {
    if (!window)
        fatal(QStringLiteral("%1 is not open").arg(QLatin1String(name)));
    return *window;
}
int failures();

} // namespace tourkit
