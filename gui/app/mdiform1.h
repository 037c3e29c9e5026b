#pragma once

#include "gui/widgets/windowslot.h"

#include <QMainWindow>

#include <array>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolButton;

// The main window: menus, toolbar and status strip; owns the program state (appState()) and
// brings the window in line with it in reset().
class MDIForm1 : public QMainWindow, public WindowSlot<MDIForm1> {
    Q_OBJECT
public:
    MDIForm1();

    // Start-up: title page, home folder, registry, reset.
    void startup();
    // Brings current directory, captions, status label, menus and code tables in line with the
    // state of the open business.
    void reset();
    // The toolbar handler; the list entries of the Databases menu call it too.
    void Command1_Click(int index);

    QMdiArea* mdiArea() const { return mdiArea_; }
    // Shows a window as a sub-window of the main window.
    void showChild(QWidget* window);

    QWidget* Picture1;
    QWidget* Picture2;
    QLabel* Label1;
    std::array<QToolButton*, 4> Command1{};

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    QAction* addEntry(QMenu* menu, const char* name, const QString& caption);
    void setBusinessMenus(bool open);
    void loadCodeTables();

    void newBusiness();
    void loadBusiness();
    void closeBusiness();
    void showCodes(qint16 mode);
    void showSettings();
    void showHelp();
    void saveRegistry();

    QMdiArea* mdiArea_;
    QMenu* File = nullptr;
    QMenu* DatabaseMenu = nullptr;
    QAction* File_new = nullptr;
    QAction* File_load = nullptr;
    QAction* File_close = nullptr;
    QAction* SettingsMenu = nullptr;
};
