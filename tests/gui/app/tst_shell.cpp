// The main window and the business operations, driven through menus and controls.
#include "core/business/bizregistry.h"
#include "core/business/bizsettings.h"
#include "core/business/bizworkspace.h"
#include "core/business/business.h"
#include "core/common/recordfile.h"
#include "gui/app/loadpage.h"
#include "gui/app/mdiform1.h"
#include "gui/app/settingback.h"
#include "gui/app/settings.h"
#include "support/modal.h"
#include "support/scriptedprompts.h"
#include "support/temphome.h"
#include "support/useractions.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {
const QString spaces21(21, QLatin1Char(' '));

// A menu entry chosen with the mouse; it must be there and enabled.
void choose(const char* name) {
    MDIForm1& window = MDIForm1::get();
    QAction* action = window.findChild<QAction*>(QLatin1String(name));
    QVERIFY2(action, name);
    QVERIFY2(action->isEnabled(), name);
    const QString entry = QLatin1String(name);
    const QString menu = entry.startsWith(QLatin1String("File_")) ? QStringLiteral("File") : entry;
    user::chooseMenu(&window, menu, entry);
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

void clickLine(QListWidget* list, int row) {
    QListWidgetItem* line = list->item(row);
    list->scrollToItem(line);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(line).center());
}

bool enabled(const char* name) {
    QAction* action = MDIForm1::get().findChild<QAction*>(QLatin1String(name));
    return action && action->isEnabled();
}

BizRegistry& registry() {
    return MDIForm1::get().registry();
}

// The folder of the open business, or empty.
QString openFolder() {
    const Business* session = MDIForm1::get().session();
    return session ? session->folder() : QString();
}

QString padded(const QString& text, int width) {
    return text.leftJustified(width, QLatin1Char(' '), true);
}
} // namespace

class TestShell : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempHome> home;
    std::unique_ptr<ScriptedPrompts> prompts;

    // The registry as stored in the home folder.
    BizRegistry storedRegistry() const {
        const RecordRead read = readRecord(registryPath(home->path()), BizRegistry::fileSize);
        return BizRegistry::decode(read.bytes).value_or(BizRegistry::empty());
    }
    // Starts the program as a user would: in the home folder, the current directory.
    void start() {
        MDIForm1& window = MDIForm1::get();
        window.startup();
        window.show();
    }
    // Ends the program: its close writes the registry.
    void stop() {
        MDIForm1::get().close();
        delete MDIForm1::loaded();
        QApplication::processEvents();
    }
    // New Business with the given name, accepting the settings defaults.
    void newBusiness(const QString& name, int area) {
        prompts->expectInput(QStringLiteral("Enter name of business (> 4 char): "),
                             QStringLiteral("New Business Name"), name);
        prompts->expectMessage(QStringLiteral("new business added at area %1").arg(area));
        choose("File_new");
        settings* window = settings::loaded();
        QVERIFY(window && window->isVisible());
        prompts->expectMessage(QStringLiteral("settings saved"));
        click(window->Command1[0]);
        QApplication::processEvents();
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        prompts = std::make_unique<ScriptedPrompts>();
    }
    void cleanup() {
        closeModalWindows();
        delete MDIForm1::loaded();
        QApplication::processEvents();
        QVERIFY2(prompts->done(), qPrintable(prompts->report()));
        prompts.reset();
        home.reset();
    }

    void firstStartGreetsANewUser() {
        start();
        MDIForm1& window = MDIForm1::get();
        QCOMPARE(window.windowTitle(), QStringLiteral("VARNEK PRAXO"));
        QCOMPARE(window.Label1->text(),
                 QStringLiteral("Welcome new user") + spaces21 + padded(home->path(), 40));
        QVERIFY(enabled("File_new") && enabled("File_load") && enabled("File_exit"));
        QVERIFY(!enabled("File_close") && !enabled("DatabaseMenu") && !enabled("SettingsMenu"));

        // Exiting in the first-run state keeps the state at -1.
        stop();
        QCOMPARE(storedRegistry().biz_state, qint16(-1));
    }

    void listsNeedAnOpenBusiness() {
        start();
        for (int button = 0; button < 4; ++button) {
            prompts->expectMessage(QStringLiteral("Please open up a business"));
            click(MDIForm1::get().Command1[button]);
        }
    }

    void newBusinessMakesItsFolderRegistryAndSettings() {
        start();
        newBusiness(QStringLiteral("Acme Tools Ltd"), 1);
        QVERIFY(!settingback::loaded());
        for (const char* file : {"parts.fdb", "items.fdb", "cust.fdb"})
            QVERIFY2(QFile::exists(home->file(QStringLiteral("0/%1").arg(QLatin1String(file)))),
                     file);

        const QByteArray bytes = [&] {
            QFile file(home->file(QStringLiteral("loadbiz.dat")));
            file.open(QIODevice::ReadOnly);
            return file.readAll();
        }();
        QCOMPARE(bytes.size(), 346);
        const BizRegistry stored = storedRegistry();
        QCOMPARE(stored.biz_count, qint16(1));
        QCOMPARE(stored.cur_biz, qint16(0));
        QCOMPARE(stored.biz_state, qint16(1));
        QCOMPARE(stored.slot_used[0], qint16(-1));
        QCOMPARE(bytes.mid(260, 8), QByteArray(" 0      "));

        const RecordRead read = readRecord(home->file(QStringLiteral("0/settings.dat")), 110);
        QCOMPARE(read.status, RecordStatus::Ok);
        const BizSettings saved = *BizSettings::decode(read.bytes);
        QCOMPARE(saved.company, padded(QStringLiteral("Acme Tools Ltd"), 30));
        QCOMPARE(saved.markup_rate, 1.5f);
        QCOMPARE(saved.eng_rate, 10.0f);
        QCOMPARE(saved.asm_rate, 10.0f);
        QCOMPARE(saved.test_rate, 10.0f);
        QCOMPARE(saved.sales_tax, 3.0f);

        MDIForm1& window = MDIForm1::get();
        QCOMPARE(window.windowTitle(),
                 QStringLiteral("VARNEK PRAXO - ") + padded(QStringLiteral("Acme Tools Ltd"), 20));
        QCOMPARE(window.Label1->text(), QStringLiteral("Business opened successfully: "));
        QVERIFY(!enabled("File_new") && !enabled("File_load"));
        QVERIFY(enabled("File_close") && enabled("DatabaseMenu") && enabled("SettingsMenu"));

        // The settings window shows the stored values again, then leaves without writing.
        whenShown<settings>([](settings& w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Organizational Settings: ") +
                                          padded(QStringLiteral("Acme Tools Ltd"), 30));
            QCOMPARE(w.Text1[3]->text(), QStringLiteral(" 1.5%"));
            QCOMPARE(w.Text1[4]->text(), QStringLiteral("$10.00/hr"));
            QCOMPARE(w.Text1[7]->text(), QStringLiteral(" 3%"));
            QVERIFY(w.Command1[1]->isEnabled());
            click(w.Command1[1]);
        });
        choose("SettingsMenu");
        QVERIFY(!settings::loaded());
    }

    void shortNameCreatesNothing() {
        start();
        prompts->expectInput(QStringLiteral("Enter name of business (> 4 char): "),
                             QStringLiteral("New Business Name"), QStringLiteral("Acme"));
        choose("File_new");
        QApplication::processEvents();
        QVERIFY(!settingback::loaded());
        QVERIFY(!QDir(home->file(QStringLiteral("0"))).exists());
        QCOMPARE(registry().biz_count, qint16(0));
    }

    void openBusinessSurvivesARestartAndCloseDoesNot() {
        start();
        newBusiness(QStringLiteral("Acme Tools Ltd"), 1);
        stop();
        start();
        QCOMPARE(MDIForm1::get().windowTitle(),
                 QStringLiteral("VARNEK PRAXO - ") + padded(QStringLiteral("Acme Tools Ltd"), 20));
        QCOMPARE(openFolder(), QDir(home->file(QStringLiteral("0"))).absolutePath());

        choose("File_close");
        const BizRegistry stored = storedRegistry();
        QCOMPARE(stored.cur_biz, qint16(-1));
        QCOMPARE(stored.biz_state, qint16(0));
        QVERIFY(!MDIForm1::get().session());
        stop();
        start();
        QCOMPARE(MDIForm1::get().Label1->text(), QStringLiteral("Please open a business"));
        QCOMPARE(MDIForm1::get().windowTitle(),
                 QStringLiteral("VARNEK PRAXO") + spaces21 + padded(home->path(), 40));
    }

    void loadOpensAndDeleteRebuildsTheList() {
        start();
        newBusiness(QStringLiteral("First Business"), 1);
        choose("File_close");
        newBusiness(QStringLiteral("Second Business"), 2);
        choose("File_close");

        // Delete the first: the window comes back with one line fewer; the folder stays.
        prompts->expectQuestion(
            QStringLiteral("are you sure about deleting %1?").arg(padded("First Business", 20)),
            QString(), true);
        whenShown<loadpage>([](loadpage& page) {
            QCOMPARE(page.List1->count(), 2);
            QCOMPARE(page.List1->item(1)->text(), padded(QStringLiteral("Second Business"), 20) +
                                                      QStringLiteral("     / 1      "));
            clickLine(page.List1, 0);
            click(page.Command2);
            whenShown<loadpage>([](loadpage& again) {
                QCOMPARE(again.List1->count(), 1);
                clickLine(again.List1, 0);
                click(again.Command1[0]);
            });
        });
        choose("File_load");
        QVERIFY(QDir(home->file(QStringLiteral("0"))).exists());
        QCOMPARE(registry().cur_biz, qint16(1));
        QCOMPARE(storedRegistry().biz_count, qint16(1));
        QCOMPARE(storedRegistry().slot_used[0], qint16(0));
        QCOMPARE(openFolder(), QDir(home->file(QStringLiteral("1"))).absolutePath());

        // A new business takes the freed slot 0; the old folder is kept aside, not reused.
        choose("File_close");
        QFile marker(home->file(QStringLiteral("0/old-data.txt")));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();
        newBusiness(QStringLiteral("Third Business"), 1);
        QCOMPARE(registry().cur_biz, qint16(0));
        QVERIFY(QFile::exists(home->file(QStringLiteral("0.deleted-1/old-data.txt"))));
        QVERIFY(!QFile::exists(home->file(QStringLiteral("0/old-data.txt"))));
        QCOMPARE(storedRegistry().biz_count, qint16(2));
    }

    void damagedOrStaleRegistryStartsWithNothingOpen() {
        {
            QFile file(home->file(QStringLiteral("loadbiz.dat")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(100, 'x'));
        }
        prompts->expectMessage(
            QStringLiteral("The business registry %1 is damaged (100 bytes "
                           "instead of 346). It was kept as %1.damaged, and "
                           "the program starts with no businesses.")
                .arg(QDir(home->path()).filePath(QStringLiteral("loadbiz.dat"))));
        start();
        QCOMPARE(registry().biz_state, qint16(-1));
        QVERIFY(QFile::exists(home->file(QStringLiteral("loadbiz.dat.damaged"))));

        // A registry whose open business lost its folder.
        newBusiness(QStringLiteral("Vanished Ltd"), 1);
        stop();
        QVERIFY(QDir(home->file(QStringLiteral("0"))).removeRecursively());
        prompts->expectMessage(
            QStringLiteral("The folder of business \"Vanished Ltd\" could not be found (%1). No "
                           "business is open.")
                .arg(QDir(home->path()).filePath(QStringLiteral("0"))));
        start();
        QCOMPARE(registry().biz_state, qint16(0));
        QVERIFY(!MDIForm1::get().session());
        QVERIFY(enabled("File_load"));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
