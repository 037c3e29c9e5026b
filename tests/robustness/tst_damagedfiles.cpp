// Damaged files of a business as the user meets them: opening the business names every damaged
// file once, the business stays open, the windows that read a damaged file go on with what they
// have, and no file is written over unless the user asks for it.
#include "support/finderfixture.h"

#include "core/business/bizsettings.h"
#include "core/business/damagedfiles.h"
#include "gui/app/settings.h"
#include "gui/catalogue/codepage.h"
#include "core/business/codetable.h"
#include "gui/catalogue/partpage.h"
#include "core/common/recordfile.h"
#include "gui/items/changingitem.h"
#include "gui/items/newitem.h"
#include "gui/sales/viewinvoice.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
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

    std::unique_ptr<FinderFixture> f;

    ScriptedPrompts& prompts() { return f->prompts; }
    QString area(const QString& name) const { return f->home.file(QStringLiteral("0/") + name); }

    // Closing and opening the business again, as File_close and Load Business do.
    void reopenBusiness() {
        BizRegistry& registry = appState().biz_registry;
        registry.biz_state = 0;
        registry.cur_biz = -1;
        MDIForm1::get().reset();
        registry.biz_state = 1;
        registry.cur_biz = 0;
        MDIForm1::get().reset();
    }
    void checkPrompts() { QVERIFY2(prompts().done(), qPrintable(prompts().report())); }

private slots:
    void init() { f = std::make_unique<FinderFixture>(); }
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
        QCOMPARE(QDir::currentPath(), f->home.file(QStringLiteral("0")));

        // A list needs all six connections: refused with the file named, nothing opened.
        prompts().expectMessageStartingWith(
            QStringLiteral("The business's data could not be opened: ") + path);
        MDIForm1::get().Command1[1]->click();
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
        appState().class_codes.setEntry(3, QStringLiteral("kept in memory"));
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
        // A damaged code file leaves the table in memory as it was.
        QCOMPARE(appState().class_codes.entry(3).trimmed(), QStringLiteral("kept in memory"));
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(bytesOf(area(names[i])), before[i]);
    }

    void aReplacedFileIsToldAgain() {
        const QString path = area(QStringLiteral("vendor.dat"));
        writeBytes(path, QByteArray(10, ' '));
        prompts().expectMessage(header + QLatin1Char('\n') + path +
                                QStringLiteral(": 10 bytes instead of 6000"));
        reopenBusiness();
        MDIForm1::get().reset();
        checkPrompts();
        writeBytes(path, QByteArray(20, ' '));
        prompts().expectMessage(header + QLatin1Char('\n') + path +
                                QStringLiteral(": 20 bytes instead of 6000"));
        MDIForm1::get().reset();
        checkPrompts();
        // Repaired: nothing to tell.
        writeBytes(path, QByteArray(CodeTable::fileSize, ' '));
        MDIForm1::get().reset();
        checkPrompts();
    }

    // Every window that takes rates from settings.dat tells once and goes on with zero rates.
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
        FinderFixture::addItem(0, QStringLiteral("Frame"));
        databaseview::get(); // the windows are opened from a loaded data finder
        damagedfiles::forgetTold();
        const QString told = header + QLatin1Char('\n') + settingsProblem(path, 111);

        for (int opening = 0; opening < 2; ++opening) {
            if (opening == 0)
                prompts().expectMessage(told);
            if (window == QLatin1String("Partpage")) {
                Partpage& page = Partpage::get();
                page.newpart = -1;
                page.load();
                page.show();
                page.Text1[3]->setText(QStringLiteral("$10.00"));
                QTest::mouseDClick(page.Text1[4], Qt::LeftButton);
                QCOMPARE(page.Text1[4]->text(), QStringLiteral("$0.00"));
                page.Command1[1]->click();
            } else if (window == QLatin1String("newitem")) {
                newitem& dialog = newitem::get();
                dialog.load();
                dialog.Text1[1]->setText(QStringLiteral("Bracket"));
                whenShown<changingitem>([](changingitem& builder) {
                    QCOMPARE(builder.Text1[5]->text(), QStringLiteral("0.0000%"));
                    builder.Command1[2]->click();
                });
                dialog.Command1->click();
                RecordSet items(QStringLiteral("items.fdb"), AssembledItems::table);
                items.moveFirst();
                items.move(items.recordCount() - 1);
                QCOMPARE(items.field(AssembledItems::markup).toFloat(), 0.0f);
            } else if (window == QLatin1String("changingitem")) {
                changingitem& builder = changingitem::get();
                builder.area = 0;
                builder.load();
                QCOMPARE(builder.Text1[5]->text(), QStringLiteral("1.5000%"));
                builder.Command1[2]->click();
            } else {
                viewinvoice& editor = viewinvoice::get();
                editor.rec = -1;
                editor.sell = 1;
                editor.load();
                QCOMPARE(editor.Text1[8]->text(), QStringLiteral("0.000 %"));
                editor.Command1[2]->click();
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
        settings& window = settings::get();
        window.load();
        checkPrompts();
        window.Command1[1]->click();
        QCOMPARE(bytesOf(path), QByteArray(7, 'z'));

        prompts().expectMessage(
            QStringLiteral("The settings file %1 is damaged and was not read.").arg(path));
        settings& again = settings::get();
        again.load();
        const QStringList texts{"Works", "Ann", "Tools", "2%", "$1/hr", "$2/hr", "$3/hr", "4%"};
        for (int i = 0; i < 8; ++i)
            again.Text1[i]->setText(texts[i]);
        prompts().expectMessage(QStringLiteral("settings saved"));
        again.Command1[0]->click();
        RecordStatus status = RecordStatus::Missing;
        QCOMPARE(loadBizSettings(area(QString()), &status).sales_tax, 4.0f);
        QCOMPARE(status, RecordStatus::Ok);
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
        Codepage& codes = Codepage::get();
        codes.mode = -1;
        codes.load();
        codes.Text2[0]->setText(QStringLiteral("Fasteners"));
        prompts().expectQuestion(
            QStringLiteral("The code file %1 is damaged. Replace it with the codes shown?")
                .arg(path),
            QString(), replace);
        codes.Command1->click();
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
        QCOMPARE(appState().class_codes.entry(1).trimmed(), QStringLiteral("Fasteners"));
    }
};

QTEST_MAIN(TestDamagedFiles)
#include "tst_damagedfiles.moc"
