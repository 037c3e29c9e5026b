#pragma once

#include "core/business/bizregistry.h"
#include "gui/widgets/windowhost.h"
#include "gui/widgets/windowslot.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolButton;

// The main window: menus, toolbar and status strip. It holds the registry of businesses and the
// session of the open business, which it opens, hands to every window it opens, and closes.
class MDIForm1 : public QMainWindow, public WindowSlot<MDIForm1>, public WindowHost {
    Q_OBJECT
public:
    MDIForm1();
    ~MDIForm1() override;

    // Start-up: title page, then the home folder (the current directory), registry, reset.
    void startup();
    // Shows the main window where and as large as it was left in the home folder.
    void showPlaced();
    // Start-up without the title page: takes the folder as the home folder, reads its registry
    // and opens the business it names.
    void openHome(const QString& homeFolder);
    // Brings the session, captions, status label and menus in line with the registry: opens the
    // business it names (closing any other first) or, with none open, closes the session.
    void reset();
    // The toolbar handler; the list entries of the Databases menu call it too.
    void Command1_Click(int index);

    BizRegistry& registry() { return biz_registry; }
    const QString& homeFolder() const { return homePath_; }
    // The open business, or nullptr.
    Business* session() const { return session_.get(); }
    // Writes the registry, telling the user when it cannot be written.
    void saveRegistry();

    QMdiArea* mdiArea() const { return mdiArea_; }
    void showChild(QWidget* window) override;
    void finderUnloaded() override;

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
    static void keepInside(QMdiSubWindow* frame, QSize room);

    void openSession(int slot);
    void closeSession();
    void newBusiness();
    void loadBusiness();
    void closeBusiness();
    void showCodes(qint16 mode);
    void showStaleItems();
    void showSettings();
    void showHelp();
    void backUpBusiness();
    void restoreBusiness();
    void backUpAutomatically();

    BizRegistry biz_registry = BizRegistry::empty();
    // The folder the program was started in; every path is built from it.
    QString homePath_;
    std::unique_ptr<Business> session_;
    QMdiArea* mdiArea_;
    QMenu* File = nullptr;
    QMenu* DatabaseMenu = nullptr;
    QAction* File_new = nullptr;
    QAction* File_load = nullptr;
    QAction* File_close = nullptr;
    QAction* SettingsMenu = nullptr;
    QAction* File_backup = nullptr;
    QAction* File_restore = nullptr;
};
