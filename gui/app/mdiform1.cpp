#include "gui/app/mdiform1.h"

#include "core/business/business.h"
#include "core/business/bizworkspace.h"
#include "core/business/damagedfiles.h"
#include "gui/app/backupcommands.h"
#include "gui/app/loadpage.h"
#include "gui/app/settingback.h"
#include "gui/app/settings.h"
#include "gui/app/titlepage.h"
#include "gui/app/windowplace.h"
#include "gui/catalogue/codepage.h"
#include "gui/finder/databaseview.h"
#include "gui/items/newitem.h"
#include "gui/items/staleitems.h"
#include "core/common/prompts.h"
#include "core/common/recordfile.h"
#include "core/common/textnum.h"
#include "gui/widgets/pictures.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString spaces21(21, QLatin1Char(' '));

// Toolbar pictures and hints, by button index.
struct ToolbarButton {
    const char* picture;
    const char* tip;
};
const ToolbarButton toolbarButtons[4] = {{"customers", "Customers"},
                                         {"parts", "Parts list"},
                                         {"newitem", "New item"},
                                         {"items", "Assembled items"}};

// Sizes and left offsets of the toolbar buttons, in twips.
constexpr int buttonWidthTwips = 1215;
constexpr int buttonHeightTwips = 975;
constexpr int buttonLeftTwips[4] = {120, 2040, 3960, 5880};
constexpr int twipsPerPixel = 15;
} // namespace

MDIForm1::MDIForm1()
    : Picture1(new QWidget), Picture2(new QWidget), Label1(new QLabel(Picture1)),
      mdiArea_(new QMdiArea) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("VARNEK PRAXO "));
    setWindowIcon(pictures::icon(QStringLiteral("icon")));
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    mdiArea_->setBackground(QColor(96, 110, 128));
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(QStringLiteral("Please open up a business"));
    Label1->setTextFormat(Qt::PlainText);

    auto* status = new QHBoxLayout(Picture1);
    status->setContentsMargins(8, 2, 8, 2);
    status->addWidget(Label1);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Picture2);
    layout->addWidget(mdiArea_, 1);
    layout->addWidget(Picture1);
    setCentralWidget(central);

    buildMenus();
    buildToolbar();
    resize(1024, 740);
}

QAction* MDIForm1::addEntry(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

void MDIForm1::buildMenus() {
    File = menuBar()->addMenu(QStringLiteral("&File") + QString(24, QLatin1Char(' ')));
    File->setObjectName(QStringLiteral("File"));
    File->menuAction()->setObjectName(QStringLiteral("File"));
    File_new = addEntry(File, "File_new", QStringLiteral("&New Business"));
    File_load = addEntry(File, "File_load", QStringLiteral("&Load Business"));
    File_close = addEntry(File, "File_close", QStringLiteral("&Close Business"));
    QAction* exit = addEntry(File, "File_exit", QStringLiteral("E&xit"));
    // The backup entries stand between the business entries and Exit.
    File_backup = addEntry(File, "File_backup", QStringLiteral("Back Up Business..."));
    File_restore = addEntry(File, "File_restore", QStringLiteral("Restore Business..."));
    File->insertAction(exit, File_backup);
    File->insertAction(exit, File_restore);
    File->insertSeparator(exit);

    DatabaseMenu = menuBar()->addMenu(QStringLiteral("  &Databases") +
                                      QString(30, QLatin1Char(' ')));
    DatabaseMenu->setObjectName(QStringLiteral("DatabaseMenu"));
    DatabaseMenu->menuAction()->setObjectName(QStringLiteral("DatabaseMenu"));
    QAction* classCodes =
        addEntry(DatabaseMenu, "DatabaseMenu_Class", QStringLiteral("&Classification Code"));
    QAction* vendorCodes =
        addEntry(DatabaseMenu, "DatabaseMenu_Vender", QStringLiteral("&Vendor Codes"));
    addEntry(DatabaseMenu, "DatabaseView_Divider", QString(31, QLatin1Char('_')));
    QAction* customers = addEntry(DatabaseMenu, "DatabaseView_cust", QStringLiteral("C&ustomers"));
    QAction* parts = addEntry(DatabaseMenu, "DatbaseView_parts", QStringLiteral("&Parts list"));
    QAction* items =
        addEntry(DatabaseMenu, "DatabaseView_items", QStringLiteral("&Assembled Items"));
    QAction* staleItems =
        addEntry(DatabaseMenu, "DatabaseView_stale", QStringLiteral("&Out-of-date item prices"));

    SettingsMenu =
        menuBar()->addAction(QStringLiteral("  &Settings") + QString(23, QLatin1Char(' ')));
    SettingsMenu->setObjectName(QStringLiteral("SettingsMenu"));
    QAction* help = menuBar()->addAction(QString(6, QLatin1Char(' ')) + QStringLiteral("&Help") +
                                         QString(9, QLatin1Char(' ')));
    help->setObjectName(QStringLiteral("HelpMenu"));

    connect(File_new, &QAction::triggered, this, &MDIForm1::newBusiness);
    connect(File_load, &QAction::triggered, this, &MDIForm1::loadBusiness);
    connect(File_close, &QAction::triggered, this, &MDIForm1::closeBusiness);
    connect(exit, &QAction::triggered, this, &MDIForm1::close);
    connect(classCodes, &QAction::triggered, this, [this] { showCodes(-1); });
    connect(vendorCodes, &QAction::triggered, this, [this] { showCodes(0); });
    connect(customers, &QAction::triggered, this, [this] { Command1_Click(0); });
    connect(parts, &QAction::triggered, this, [this] { Command1_Click(1); });
    connect(items, &QAction::triggered, this, [this] { Command1_Click(3); });
    connect(staleItems, &QAction::triggered, this, &MDIForm1::showStaleItems);
    connect(SettingsMenu, &QAction::triggered, this, &MDIForm1::showSettings);
    connect(help, &QAction::triggered, this, &MDIForm1::showHelp);
    connect(File_backup, &QAction::triggered, this, &MDIForm1::backUpBusiness);
    connect(File_restore, &QAction::triggered, this, &MDIForm1::restoreBusiness);
}

void MDIForm1::buildToolbar() {
    const QSize size(buttonWidthTwips / twipsPerPixel, buttonHeightTwips / twipsPerPixel);
    Picture2->setFixedHeight(size.height() + 10);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton(Picture2);
        button->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        button->setToolTip(QLatin1String(toolbarButtons[i].tip));
        button->setIcon(pictures::icon(QLatin1String(toolbarButtons[i].picture)));
        button->setIconSize(size - QSize(8, 8));
        button->setGeometry(buttonLeftTwips[i] / twipsPerPixel, 5, size.width(), size.height());
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[i] = button;
    }
}

MDIForm1::~MDIForm1() {
    closeSession();
}

void MDIForm1::startup() {
    titlepage& title = titlepage::get();
    title.mode = 0;
    title.load();
    title.exec();
    openHome(QDir::currentPath());
}

void MDIForm1::showPlaced() {
    windowplace::show(*this, homePath_);
}

void MDIForm1::openHome(const QString& homeFolder) {
    closeSession();
    homePath_ = QDir(homeFolder).absolutePath();
    biz_registry = BizRegistry::empty();
    const QString notice = readRegistryAtStartup(homePath_, biz_registry);
    if (!notice.isEmpty())
        prompts::message(notice, QString(), PromptIcon::Exclamation);
    reset();
}

void MDIForm1::setBusinessMenus(bool open) {
    DatabaseMenu->menuAction()->setEnabled(open);
    SettingsMenu->setEnabled(open);
    File_close->setEnabled(open);
    File_load->setEnabled(!open);
    File_new->setEnabled(!open);
    File_backup->setEnabled(open);
    File_restore->setEnabled(!open);
}

void MDIForm1::reset() {
    BizRegistry& registry = biz_registry;
    registry.setHomeFolder(homePath_);
    if (registry.biz_state == 1 && registry.cur_biz >= 0 &&
        registry.cur_biz < BizRegistry::slotCount) {
        if (session_ && session_->slot() != registry.cur_biz)
            closeSession();
        if (!session_)
            openSession(registry.cur_biz);
        else
            // A file damaged or replaced since the business opened is told of as well.
            session_->tellDamagedFiles();
        if (session_) {
            setWindowTitle(QStringLiteral("VARNEK PRAXO - ") + registry.biz_name[registry.cur_biz]);
            Label1->setText(QStringLiteral("Business opened successfully: "));
            setBusinessMenus(true);
            return;
        }
    }
    closeSession();
    setBusinessMenus(false);
    if (registry.biz_state == -1) {
        setWindowTitle(QStringLiteral("VARNEK PRAXO"));
        Label1->setText(QStringLiteral("Welcome new user") + spaces21 + registry.home_folder);
    } else {
        setWindowTitle(QStringLiteral("VARNEK PRAXO") + spaces21 + registry.home_folder);
        Label1->setText(QStringLiteral("Please open a business"));
    }
}

// Opens the session of the registry's open business; a business whose folder is gone is not
// opened, and the registry says no business is open.
void MDIForm1::openSession(int slot) {
    BizRegistry& registry = biz_registry;
    const QString folder = businessFolder(homePath_, registry, slot);
    if (!QDir(folder).exists()) {
        const QString name = registry.biz_name[slot].trimmed();
        registry.biz_state = 0;
        registry.cur_biz = -1;
        prompts::message(QStringLiteral("The folder of business \"%1\" could not be found (%2). "
                                        "No business is open.")
                             .arg(name, folder),
                         QString(), PromptIcon::Exclamation);
        return;
    }
    session_ = std::make_unique<Business>(slot, registry.biz_name[slot], folder);
    // A damaged file is told of and left alone; the business stays open for the rest.
    session_->tellDamagedFiles();
}

// Every window of the business unloads first, then its databases close.
void MDIForm1::closeSession() {
    std::unique_ptr<Business> closing = std::move(session_);
    if (closing)
        closing->close();
}

void MDIForm1::Command1_Click(int index) {
    // Unloading the data finder resets the status label, so a legend is never appended twice.
    if (databaseview* finder = databaseview::loaded())
        finder->unload();
    if (biz_registry.biz_state < 1 || !session_) {
        prompts::message(QStringLiteral("Please open up a business"));
        return;
    }
    Business& business = *session_;
    switch (index) {
    case 0:
        databaseview::showList(business, *this, 1);
        break;
    case 1:
        if (databaseview::showList(business, *this, 0))
            Label1->setText(Label1->text() +
                            QStringLiteral("         G = general Stock       S = special"));
        break;
    case 2:
        if (databaseview::showList(business, *this, 3)) {
            // One new item dialog: asked for again, it comes forward with what was typed.
            newitem& dialog = newitem::get(business);
            dialog.host = this;
            dialog.load();
            showChild(&dialog);
        }
        break;
    case 3:
        if (databaseview::showList(business, *this, 3))
            Label1->setText(Label1->text() +
                            QStringLiteral("         C = confirmed item       U = not confirmed yet"));
        break;
    }
}

void MDIForm1::showChild(QWidget* window) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        frame->show();
        mdiArea_->setActiveSubWindow(frame);
        frame->raise();
        return;
    }
    QMdiSubWindow* frame = mdiArea_->addSubWindow(window);
    frame->setObjectName(window->objectName() + QStringLiteral("Frame"));
    frame->show();
    keepInside(frame, mdiArea_->viewport()->size());
}

// A window larger than the main window's area is made to fit it, and one placed past its edge
// is moved back in, so that its buttons are never out of reach.
void MDIForm1::keepInside(QMdiSubWindow* frame, QSize room) {
    frame->resize(frame->size().boundedTo(room).expandedTo(frame->minimumSize()));
    const int x = qMax(0, qMin(frame->x(), room.width() - frame->width()));
    const int y = qMax(0, qMin(frame->y(), room.height() - frame->height()));
    frame->move(x, y);
}

void MDIForm1::finderUnloaded() {
    reset();
}

void MDIForm1::saveRegistry() {
    try {
        writeRegistry(homePath_, biz_registry);
    } catch (const FileError& error) {
        prompts::message(registryErrorText(error.reason()), QString(), PromptIcon::Critical);
    }
}

void MDIForm1::newBusiness() {
    BizRegistry& registry = biz_registry;
    if (registry.biz_count >= BizRegistry::slotCount || registry.lowestFreeSlot() < 0)
        return;
    // No business is open here (the entry is disabled then), but no window of one may stay.
    closeSession();
    settingback& backdrop = settingback::get();
    showChild(&backdrop);
    backdrop.parentWidget()->showMaximized();

    const QString name = prompts::input(QStringLiteral("Enter name of business (> 4 char): "),
                                        QStringLiteral("New Business Name"), QPoint(3300, 4000));
    if (name.size() <= 4) {
        backdrop.unload();
        return;
    }
    int slot = -1;
    try {
        slot = createBusiness(homePath_, registry, name);
    } catch (const FileError& error) {
        prompts::message(QStringLiteral("The business could not be created: %1").arg(error.message()),
                         QString(), PromptIcon::Critical);
    } catch (const std::exception& error) {
        prompts::message(QStringLiteral("The business could not be created: %1")
                             .arg(QString::fromUtf8(error.what())),
                         QString(), PromptIcon::Critical);
    }
    if (slot < 0) {
        backdrop.unload();
        return;
    }
    prompts::message(QStringLiteral("new business added at area") + numberText(double(slot + 1)));
    saveRegistry();
    reset();
    if (!session_) {
        backdrop.unload();
        return;
    }

    settings& window = settings::get(*session_);
    window.load();
    window.Command1[1]->setEnabled(false);
    const QString defaults[8] = {registry.biz_name[slot],
                                 QStringLiteral("Enter CEO's name here"),
                                 QStringLiteral("Enter type of business"),
                                 QStringLiteral("1.5%"),
                                 QStringLiteral("$10/hr"),
                                 QStringLiteral("$10/hr"),
                                 QStringLiteral("$10/hr"),
                                 QStringLiteral("3%")};
    for (int i = 0; i < 8; ++i)
        window.Text1[i]->setText(defaults[i]);
    showSettings();
}

void MDIForm1::showSettings() {
    if (!session_)
        return;
    const bool fresh = !settings::loaded();
    settings& window = settings::get(*session_);
    if (fresh)
        window.load();
    const settingback* backdrop = settingback::loaded();
    if (backdrop && backdrop->isVisible()) {
        window.setModal(false);
        window.show();
        window.raise();
        window.activateWindow();
        return;
    }
    window.runModal();
}

void MDIForm1::loadBusiness() {
    // After a deletion the window is shown again, so that its list is rebuilt.
    for (;;) {
        loadpage& page = loadpage::get();
        page.load();
        if (page.runModal() != loadpage::Reopen)
            return;
    }
}

void MDIForm1::closeBusiness() {
    backUpAutomatically();
    biz_registry.cur_biz = -1;
    biz_registry.biz_state = 0;
    saveRegistry();
    reset();
}

void MDIForm1::showCodes(qint16 mode) {
    if (!session_)
        return;
    Codepage& codes = Codepage::get(*session_);
    codes.mode = mode;
    codes.load();
    codes.runModal();
}

void MDIForm1::showStaleItems() {
    // An item saved from the list changes what an open data finder shows.
    if (databaseview* finder = databaseview::loaded())
        finder->unload();
    if (!session_)
        return;
    staleitems& list = staleitems::get(*session_);
    if (list.load())
        list.runModal();
}

void MDIForm1::showHelp() {
    titlepage& title = titlepage::get();
    title.mode = 1;
    title.load();
    title.exec();
}

// Exit: every window of the open business unloads, the registry is written, and the program
// ends, whatever other window is still shown.
void MDIForm1::closeEvent(QCloseEvent* event) {
    windowplace::save(*this, homePath_);
    backUpAutomatically();
    closeSession();
    if (settingback* backdrop = settingback::loaded())
        backdrop->unload();
    saveRegistry();
    event->accept();
    QCoreApplication::quit();
}

void MDIForm1::backUpBusiness() {
    if (session_)
        backupcommands::backUp(this, *session_);
}

// A restored business is opened at once, as a new business is.
void MDIForm1::restoreBusiness() {
    if (session_)
        return;
    if (backupcommands::restore(this, homePath_, biz_registry))
        reset();
}

// Every close of a business with Close Business or Exit leaves a backup of it, unless nothing
// changed since the last one.
void MDIForm1::backUpAutomatically() {
    if (session_)
        backupcommands::automatic(this, homePath_, *session_);
}
