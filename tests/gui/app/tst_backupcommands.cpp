// Backups, restores and list exports as a user makes them: through the File menu and the lists'
// Export buttons, the file dialogs answered by name.
#include "core/business/backuparchive.h"
#include "core/business/businessbackup.h"
#include "core/business/bizworkspace.h"
#include "core/catalogue/partstable.h"
#include "core/common/clock.h"
#include "core/common/recordset.h"
#include "core/items/itemtables.h"
#include "core/sales/salestables.h"
#include "gui/finder/databaseview.h"
#include "gui/finder/getpart.h"
#include "gui/items/changingitem.h"
#include "gui/sales/showinvoices.h"
#include "gui/sales/viewinvoice.h"
#include "support/businessfixture.h"
#include "support/scriptedfiles.h"
#include "support/modaldriver.h"
#include "support/useractions.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

bool enabled(const char* entry) {
    auto* action = MDIForm1::get().findChild<QAction*>(QLatin1String(entry));
    return action && action->isEnabled();
}

// The lines of a CSV file as written, without the byte-order mark.
QStringList csvLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return {QStringLiteral("no byte-order mark")};
    return QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// The rows of every table of the business, read afresh from its files.
QStringList tableCounts(const BusinessFixture& f) {
    return {QString::number(f.countRows("parts.fdb", Parts::table)),
            QString::number(f.countRows("items.fdb", AssembledItems::table)),
            QString::number(f.countRows("items.fdb", PartsList::table)),
            QString::number(f.countRows("cust.fdb", Customers::table)),
            QString::number(f.countRows("cust.fdb", SalesInvoices::table)),
            QString::number(f.countRows("cust.fdb", ItemsPerSale::table))};
}

} // namespace

class TestBackupCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;
    std::unique_ptr<ScriptedFiles> files;

    QString homeFile(const QString& name) const { return f->home.file(name); }
    void choose(const char* entry) {
        user::chooseMenu(&f->main(), QStringLiteral("File"), QLatin1String(entry));
    }
    void reopen() {
        f->main().registry().cur_biz = 0;
        f->main().registry().biz_state = 1;
        f->main().reset();
    }

private slots:
    void init() {
        appclock::setToday(QDate(2025, 3, 3));
        f = std::make_unique<BusinessFixture>(BusinessFixture::Contents::Sample);
        files = std::make_unique<ScriptedFiles>();
    }
    void cleanup() {
        for (QWidget* window : {static_cast<QWidget*>(changingitem::loaded()),
                                static_cast<QWidget*>(getpart::loaded()),
                                static_cast<QWidget*>(viewinvoice::loaded()),
                                static_cast<QWidget*>(showinvoices::loaded())})
            delete window;
        const bool answered = files->done();
        files.reset();
        QVERIFY2(f->prompts().done(), qPrintable(f->prompts().report()));
        f.reset();
        appclock::setToday(std::nullopt);
        QVERIFY(answered);
    }

    void entriesFollowTheBusiness() {
        QVERIFY(enabled("File_backup") && !enabled("File_restore"));
        choose("File_close");
        QVERIFY(!enabled("File_backup") && enabled("File_restore"));
    }

    // Backed up while the item builder holds a line not saved, closed, deleted and restored:
    // the restored business has the saved rows, and opens.
    void backUpDeleteRestore() {
        const QStringList saved = tableCounts(*f);
        databaseview& items = f->showList(3);
        items.selectLine(0);
        changingitem& builder = changingitem::get(f->business());
        builder.area = qint16(items.linePosition(0));
        builder.load(items.cellText(0, 0).left(5), items.cellText(2, 0));
        builder.show();
        const int storedLines = builder.cnt;
        getpart& picker = getpart::get(f->business());
        picker.mode = 0;
        picker.caller = &builder;
        picker.load();
        picker.is_part = -1;
        picker.Text1[2]->setText(QStringLiteral("0003     Washer"));
        picker.Text1[3]->setText(QStringLiteral("$0.10"));
        picker.Text1[4]->setText(QStringLiteral("1"));
        builder.adder(qint16(storedLines));
        QCOMPARE(int(builder.cnt), storedLines + 1);

        const QString archive = homeFile(QStringLiteral("works.praxo-backup"));
        files->answer(archive);
        f->prompts().expectMessage(QStringLiteral("The business was backed up to ") + archive);
        choose("File_backup");
        QVERIFY(files->asked().first().startsWith(QStringLiteral("save|Back Up Business|")));
        QVERIFY(files->asked().first().endsWith(QStringLiteral("/Test Works-") +
                                                QStringLiteral("2025-03-03") +
                                                QStringLiteral(".praxo-backup")));
        QTemporaryDir unpacked;
        backuparchive::Reader(archive).extract(unpacked.path());
        QCOMPARE(RecordSet(QDir(unpacked.path()).filePath(QStringLiteral("items.fdb")),
                           PartsList::table)
                     .recordCount(),
                 saved[2].toInt());

        delete changingitem::loaded();
        const QString folder = f->business().folder();
        choose("File_close");
        // The user deletes the business: its slot is freed and its folder goes.
        f->main().registry().release(0);
        f->main().saveRegistry();
        QVERIFY(QDir(folder).removeRecursively());

        files->answer(archive);
        f->prompts().expectMessage(
            QStringLiteral("The business \"Test Works\" was restored into area 1."));
        choose("File_restore");
        QVERIFY(f->main().session());
        QCOMPARE(f->main().session()->name().trimmed(), QStringLiteral("Test Works"));
        QCOMPARE(tableCounts(*f), saved);
        QVERIFY(enabled("File_backup") && !enabled("File_restore"));
    }

    void refusedArchiveMakesNothing() {
        choose("File_close");
        const QString archive = homeFile(QStringLiteral("letter.praxo-backup"));
        QFile letter(archive);
        QVERIFY(letter.open(QIODevice::WriteOnly));
        letter.write("not a backup");
        letter.close();
        const QStringList before = QDir(f->home.path()).entryList(QDir::AllEntries | QDir::Hidden);
        const QByteArray registry = f->main().registry().encode();
        files->answer(archive);
        f->prompts().expectMessageStartingWith(QStringLiteral("Nothing was restored. ") + archive +
                                               QStringLiteral(" is not a usable VARNEK PRAXO "
                                                              "backup: it is damaged or is no "
                                                              "zip archive"));
        choose("File_restore");
        QVERIFY(!f->main().session());
        QCOMPARE(f->main().registry().encode(), registry);
        QCOMPARE(QDir(f->home.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    }

    // One backup at each close that follows a change, none after a close that follows none.
    void closingBacksUp() {
        const QString folder =
            businessbackup::automaticFolder(f->home.path(), QStringLiteral("Test Works"));
        choose("File_close");
        QCOMPARE(businessbackup::automaticBackups(folder).size(), 1);
        reopen();
        choose("File_close");
        QCOMPARE(businessbackup::automaticBackups(folder).size(), 1);
        reopen();
        f->addPart(9, QStringLiteral("Hinge"), 1.25);
        f->main().close();
        QCOMPARE(businessbackup::automaticBackups(folder).size(), 2);
    }

    void finderExports_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("button") << false;
        QTest::newRow("Ctrl+E") << true;
    }
    void finderExports() {
        QFETCH(bool, byKey);
        databaseview& finder = f->showList(0);
        const QString path = homeFile(QStringLiteral("parts.csv"));
        files->answer(path);
        if (byKey) {
            f->main().activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f->main()));
            finder.List1[0]->setFocus();
            user::press(Qt::Key_E, Qt::ControlModifier);
            // A button's shortcut clicks it the way a short press of the mouse does.
            QVERIFY(waitUntil([this] { return !files->asked().isEmpty(); }));
        } else {
            user::click(finder.findChild<QPushButton*>(QStringLiteral("ExportList")));
        }
        QCOMPARE(files->asked().size(), 1);
        QVERIFY(files->asked().first().endsWith(QStringLiteral("/Main parts list.csv")));
        QCOMPARE(csvLines(path),
                 (QStringList{"Part #,Manufacturer,Description,Type,Selling Price",
                              "0001  G,Maker Bolt,Bolt,MISC,$0.50", "0002  G,Maker Nut,Nut,MISC,$0.30",
                              "0003  G,Maker Washer,Washer,MISC,$0.10",
                              "0004  S,Maker Plate,Plate,MISC,$12.00"}));
    }

    void invoiceListExports() {
        showinvoices& list = showinvoices::get(f->business());
        list.cust = -1;
        list.load();
        list.show();
        const QString path = homeFile(QStringLiteral("invoices.csv"));
        files->answer(path);
        user::click(list.ExportList);
        QCOMPARE(csvLines(path),
                 (QStringList{"Invoice #,Date,Amount Owed,Amount Paid,Customer",
                              "0000,05/01/2026,$1.62,$0.00,\"C0000:  LEE,A\"",
                              "0001,05/01/2026,$26.48,$0.00,\"C0001:  SMITH,J\""}));
    }

    void invoiceLinesExport() {
        viewinvoice& editor = viewinvoice::get(f->business());
        editor.rec = 0;
        editor.sell = 1;
        QVERIFY(editor.load());
        editor.show();
        const QString path = homeFile(QStringLiteral("lines.csv"));
        files->answer(path);
        user::click(editor.ExportList);
        QVERIFY(files->asked().first().endsWith(QStringLiteral("/Invoice 0000.csv")));
        QCOMPARE(csvLines(path), (QStringList{"I/P #,Description,Unit Price,Qty,Total Price",
                                              "0001  P,Bolt,$0.50,03,$1.50"}));
    }
};

QTEST_MAIN(TestBackupCommands)
#include "tst_backupcommands.moc"
