// Damaged files of a business as the user meets them: opening the business names every damaged
// file once, the business stays open, the windows that read a damaged file go on with what they
// have, and no file is written over unless the user asks for it.
#include "core/business/bizsettings.h"
#include "core/business/codetable.h"
#include "core/common/database.h"
#include "core/common/recordfile.h"
#include "core/common/recordset.h"
#include "core/items/itemtables.h"
#include "gui/app/settings.h"
#include "gui/catalogue/codepage.h"
#include "gui/catalogue/partpage.h"
#include "gui/finder/databaseview.h"
#include "gui/items/changingitem.h"
#include "gui/items/newitem.h"
#include "gui/sales/viewinvoice.h"
#include "support/businessfixture.h"
#include "support/modal.h"
#include "support/useractions.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRandomGenerator>
#include <QToolButton>
#include <QtTest>

#include <sqlite3.h>

namespace {

const QString header = QStringLiteral(
    "These files of the business are damaged and were not read. They are left as they are:");

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray noise(int size) {
    QRandomGenerator random(4711);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// Drops the first table of a database file with the engine itself, as another tool might.
void dropFirstTable(const QString& path, const char* table) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    const QByteArray sql = "DROP TABLE " + quotedName(table);
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QCOMPARE(rc, SQLITE_OK);
}

bool enabled(const char* action) {
    const QAction* found = MDIForm1::get().findChild<QAction*>(QLatin1String(action));
    return found && found->isEnabled();
}

QString settingsProblem(const QString& path, int size) {
    return QStringLiteral("%1: %2 bytes instead of 110; the rates count as 0 until the settings "
                          "are saved again")
        .arg(path)
        .arg(size);
}

} // namespace

class TestDamagedFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;

    ScriptedPrompts& prompts() { return f->prompts(); }
    QString area(const QString& name) const { return f->filePath(name); }

    // Closing and opening the business again, as Close Business and Load Business do.
    void reopenBusiness() {
        BizRegistry& registry = f->main().registry();
        registry.biz_state = 0;
        registry.cur_biz = -1;
        f->main().reset();
        QVERIFY(!f->main().session());
        registry.biz_state = 1;
        registry.cur_biz = 0;
        f->main().reset();
        QVERIFY(f->main().session());
    }
    void checkPrompts() { QVERIFY2(prompts().done(), qPrintable(prompts().report())); }

private slots:
    void init() { f = std::make_unique<BusinessFixture>(); }
    void cleanup() {
        closeModalWindows();
        delete Partpage::loaded();
        delete changingitem::loaded();
        delete newitem::loaded();
        delete viewinvoice::loaded();
        delete settings::loaded();
        delete Codepage::loaded();
        const bool done = prompts().done();
        const QString report = prompts().report();
        f.reset();
        QVERIFY2(done, qPrintable(report));
    }

    void damagedDatabaseIsNamedAndLeftAlone_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        const struct {
            const char* file;
            const char* table;
        } files[] = {
            {"parts.fdb", "Parts"}, {"items.fdb", "Assembled Items"}, {"cust.fdb", "Customers"}};
        for (const auto& file : files) {
            const QString name = QLatin1String(file.file);
            QTest::addRow("%s empty", file.file)
                << name << "empty"
                << "the file is empty or is not a database of this program";
            QTest::addRow("%s random", file.file) << name << "random"
                                                  << "";
            QTest::addRow("%s no table", file.file)
                << name << QString::fromLatin1(file.table)
                << QStringLiteral("the table \"%1\" is missing").arg(QLatin1String(file.table));
        }
    }
    void damagedDatabaseIsNamedAndLeftAlone() {
        QFETCH(QString, file);
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        const QString path = area(file);
        if (damage == QLatin1String("empty"))
            writeBytes(path, QByteArray());
        else if (damage == QLatin1String("random"))
            writeBytes(path, noise(4096));
        else
            dropFirstTable(path, qPrintable(damage));
        const QByteArray before = bytesOf(path);

        // The engine words its own reason for a file that is no database at all.
        prompts().expectMessageStartingWith(header + QLatin1Char('\n') + path +
                                            QStringLiteral(": ") + reason);
        reopenBusiness();
        checkPrompts();
        QCOMPARE(prompts().shown().last().count(QLatin1Char('\n')), 1); // that file alone
        // The business stays open for everything that does not need the file.
        QVERIFY(enabled("File_close") && enabled("SettingsMenu") && !enabled("File_new"));
        QVERIFY(
            MDIForm1::get().windowTitle().startsWith(QStringLiteral("VARNEK PRAXO - Test Works")));
        QCOMPARE(f->business().folder(), f->home.file(QStringLiteral("0")));

        // A list needs all six connections: refused with the file named, nothing opened.
        prompts().expectMessageStartingWith(
            QStringLiteral("The business's data could not be opened: ") + path);
        user::click(MDIForm1::get().Command1[1]);
        checkPrompts();
        QVERIFY(!databaseview::loaded());

        // Told once while the business is open; opening it again tells again.
        MDIForm1::get().reset();
        checkPrompts();
        prompts().expectMessageStartingWith(header + QLatin1Char('\n') + path);
        reopenBusiness();
        checkPrompts();
        QCOMPARE(bytesOf(path), before);
    }

    void everyDamagedFileIsNamedInOneMessage() {
        writeBytes(area(QStringLiteral("settings.dat")), QByteArray(60, 'x'));
        writeBytes(area(QStringLiteral("classprt.dat")), QByteArray(5999, ' '));
        writeBytes(area(QStringLiteral("vendor.dat")), QByteArray());
        writeBytes(area(QStringLiteral("items.fdb")), QByteArray());
        f->business().class_codes().setEntry(3, QStringLiteral("kept in memory"));
        const QStringList names{"items.fdb", "settings.dat", "classprt.dat", "vendor.dat"};
        QList<QByteArray> before;
        for (const QString& name : names)
            before << bytesOf(area(name));

        prompts().expectMessage(
            header + QLatin1Char('\n') + area(QStringLiteral("items.fdb")) +
            QStringLiteral(": the file is empty or is not a database of this program\n") +
            settingsProblem(area(QStringLiteral("settings.dat")), 60) + QLatin1Char('\n') +
            area(QStringLiteral("classprt.dat")) +
            QStringLiteral(": 5999 bytes instead of 6000\n") + area(QStringLiteral("vendor.dat")) +
            QStringLiteral(": 0 bytes instead of 6000"));
        reopenBusiness();
        checkPrompts();
        // The business opened again reads nothing from a damaged code file: its codes are blank,
        // and nothing of the session before is carried over.
        QCOMPARE(f->business().class_codes().entry(3).trimmed(), QString());
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(bytesOf(area(names[i])), before[i]);
    }

    // Told when the business opens, and not again while it stays open; the session tells a file
    // that changed since as new, and the business opened again tells what is damaged then.
    void aReplacedFileIsToldAgain() {
        const QString path = area(QStringLiteral("vendor.dat"));
        writeBytes(path, QByteArray(10, ' '));
        prompts().expectMessage(header + QLatin1Char('\n') + path +
                                QStringLiteral(": 10 bytes instead of 6000"));
        reopenBusiness();
        MDIForm1::get().reset();
        f->business().tellDamagedFiles();
        checkPrompts();
        // Replaced while the business is open: the next reset tells of it, once.
        writeBytes(path, QByteArray(20, ' '));
        prompts().expectMessage(header + QLatin1Char('\n') + path +
                                QStringLiteral(": 20 bytes instead of 6000"));
        MDIForm1::get().reset();
        checkPrompts();
        f->business().tellDamagedFiles();
        MDIForm1::get().reset();
        checkPrompts();
        prompts().expectMessage(header + QLatin1Char('\n') + path +
                                QStringLiteral(": 20 bytes instead of 6000"));
        reopenBusiness();
        checkPrompts();
        // Repaired: nothing to tell.
        writeBytes(path, QByteArray(CodeTable::fileSize, ' '));
        f->business().tellDamagedFiles();
        reopenBusiness();
        checkPrompts();
    }

    // A damaged settings.dat is told once, when the business opens; every window that takes
    // rates from the settings then goes on with zero rates and tells nothing more.
    void windowsReadingDamagedSettingsGoOnWithZeroRates_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("part editor") << "Partpage";
        QTest::newRow("new item dialog") << "newitem";
        QTest::newRow("item builder") << "changingitem";
        QTest::newRow("invoice editor") << "viewinvoice";
    }
    void windowsReadingDamagedSettingsGoOnWithZeroRates() {
        QFETCH(QString, window);
        const QString path = area(QStringLiteral("settings.dat"));
        writeBytes(path, QByteArray(111, '1'));
        const QByteArray before = bytesOf(path);
        f->addItem(0, QStringLiteral("Frame"));
        prompts().expectMessage(header + QLatin1Char('\n') + settingsProblem(path, 111));
        reopenBusiness();
        checkPrompts();
        QCOMPARE(f->business().settings().markup_rate, 0.0f);

        for (int opening = 0; opening < 2; ++opening) {
            if (window == QLatin1String("Partpage")) {
                databaseview& list = f->showList(0);
                QString suggested;
                whenShown<Partpage>([&suggested](Partpage& page) {
                    page.Text1[3]->setText(QStringLiteral("$10.00"));
                    user::doubleClick(page.Text1[4]);
                    suggested = page.Text1[4]->text();
                    user::click(page.Command1[1]);
                });
                prompts().expectQuestion(QStringLiteral("Discard your changes?"), QString(), true);
                user::click(list.Command1[0]); // Add part
                QCOMPARE(suggested, QStringLiteral("$0.00"));
            } else if (window == QLatin1String("newitem")) {
                user::click(MDIForm1::get().Command1[2]);
                newitem* dialog = newitem::loaded();
                QVERIFY(dialog);
                user::type(dialog->Text1[1], QStringLiteral("Bracket"));
                QString markup;
                whenShown<changingitem>([&markup](changingitem& builder) {
                    markup = builder.Text1[5]->text();
                    user::click(builder.Command1[2]);
                });
                user::click(dialog->Command1);
                QCOMPARE(markup, QStringLiteral("0.0000%"));
                RecordSet items(f->filePath(QStringLiteral("items.fdb")), AssembledItems::table);
                QCOMPARE(items.recordCount(), 2 + opening);
                items.moveFirst();
                items.move(items.recordCount() - 1);
                QCOMPARE(items.field(AssembledItems::markup).toFloat(), 0.0f);
            } else if (window == QLatin1String("changingitem")) {
                databaseview& list = f->showList(3);
                user::clickLine(list.List1[0], 0);
                QString markup;
                whenShown<changingitem>([&markup](changingitem& builder) {
                    markup = builder.Text1[5]->text();
                    user::click(builder.Command1[2]);
                });
                user::click(list.Command1[0]); // Edit/View item
                // The item's own mark-up.
                QCOMPARE(markup, QStringLiteral("1.5000%"));
            } else {
                // A new invoice, as the invoice list opens it.
                viewinvoice& editor = viewinvoice::get(f->business());
                editor.rec = -1;
                editor.sell = 1;
                QString tax;
                whenShown<viewinvoice>([&tax](viewinvoice& shown) {
                    tax = shown.Text1[8]->text();
                    user::click(shown.Command1[2]);
                });
                QVERIFY(editor.load());
                editor.runModal();
                QCOMPARE(tax, QStringLiteral("0.000 %"));
            }
            QCoreApplication::processEvents();
            checkPrompts();
        }
        QCOMPARE(bytesOf(path), before);
    }

    void settingsWindowReplacesADamagedFileOnlyOnSave() {
        const QString path = area(QStringLiteral("settings.dat"));
        writeBytes(path, QByteArray(7, 'z'));
        prompts().expectMessage(
            QStringLiteral("The settings file %1 is damaged and was not read.").arg(path));
        settings& window = settings::get(f->business());
        window.load();
        window.show();
        checkPrompts();
        user::click(window.Command1[1]);
        QCOMPARE(bytesOf(path), QByteArray(7, 'z'));

        prompts().expectMessage(
            QStringLiteral("The settings file %1 is damaged and was not read.").arg(path));
        settings& again = settings::get(f->business());
        again.load();
        again.show();
        const QStringList texts{"Works", "Ann", "Tools", "2%", "$1/hr", "$2/hr", "$3/hr", "4%"};
        for (int i = 0; i < 8; ++i)
            again.Text1[i]->setText(texts[i]);
        prompts().expectMessage(QStringLiteral("settings saved"));
        user::click(again.Command1[0]);
        RecordStatus status = RecordStatus::Missing;
        QCOMPARE(loadBizSettings(f->business().folder(), &status).sales_tax, 4.0f);
        QCOMPARE(status, RecordStatus::Ok);
        // The windows of the business take the saved rates.
        QCOMPARE(f->business().settings().sales_tax, 4.0f);
    }

    void codeWindowAsksBeforeReplacingADamagedFile_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("No keeps the file") << false;
        QTest::newRow("Yes writes the codes") << true;
    }
    void codeWindowAsksBeforeReplacingADamagedFile() {
        QFETCH(bool, replace);
        const QString path = area(QStringLiteral("classprt.dat"));
        writeBytes(path, QByteArray(3000, 'c'));
        Codepage& codes = Codepage::get(f->business());
        codes.mode = -1;
        codes.load();
        codes.show();
        codes.Text2[0]->setText(QStringLiteral("Fasteners"));
        prompts().expectQuestion(
            QStringLiteral("The code file %1 is damaged. Replace it with the codes shown?")
                .arg(path),
            QString(), replace);
        user::click(codes.Command1);
        checkPrompts();
        QVERIFY(!Codepage::loaded());
        const QByteArray after = bytesOf(path);
        if (!replace) {
            QCOMPARE(after, QByteArray(3000, 'c'));
        } else {
            QCOMPARE(after.size(), CodeTable::fileSize);
            QCOMPARE(CodeTable::decode(after)->entry(1).trimmed(), QStringLiteral("Fasteners"));
        }
        // The edit stands in memory either way, as after the close box.
        QCOMPARE(f->business().class_codes().entry(1).trimmed(), QStringLiteral("Fasteners"));
    }
};

QTEST_MAIN(TestDamagedFiles)
#include "tst_damagedfiles.moc"
