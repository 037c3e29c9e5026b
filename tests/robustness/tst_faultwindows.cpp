// A failing disk as the user meets it: the window that saves shows the reason, stays open with
// what was typed, the saved data stays as it was, and pressing Save again works.
#include "faultvfs.h"

#include "core/business/bizsettings.h"
#include "core/common/recordfile.h"
#include "core/common/recordset.h"
#include "core/items/itemtables.h"
#include "gui/app/settings.h"
#include "gui/finder/databaseview.h"
#include "gui/finder/getpart.h"
#include "gui/items/changingitem.h"
#include "support/businessfixture.h"
#include "support/modal.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <sqlite3.h>

#include <cerrno>
#include <memory>

namespace {

QList<qint64> storedNumbers(Business& business, qint64 host) {
    RecordSet& lines = business.connection(Business::parts_list);
    QList<qint64> numbers;
    if (lines.recordCount() == 0)
        return numbers;
    for (lines.moveFirst(); !lines.eof(); lines.moveNext()) {
        if (lines.field(PartsList::host_item_no).toInt64() == host)
            numbers << lines.field(PartsList::ip_no).toInt64();
    }
    return numbers;
}

} // namespace

class TestFaultWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;

    ScriptedPrompts& prompts() { return f->prompts(); }

    settings& openSettings(const QString& company) {
        settings& window = settings::get(f->business());
        window.load();
        window.show();
        const QStringList texts{company,  "Jane",   "Tools",  "1.5%",
                                "$10/hr", "$10/hr", "$10/hr", "3%"};
        for (int i = 0; i < 8; ++i)
            window.Text1[i]->setText(texts[i]);
        return window;
    }

private slots:
    void initTestCase() { faultvfs::install(); }
    void init() { f = std::make_unique<BusinessFixture>(); }
    void cleanup() {
        recordfile_testing::failCall(0, 0);
        faultvfs::disarm();
        closeModalWindows();
        delete settings::loaded();
        delete getpart::loaded();
        delete changingitem::loaded();
        const bool done = prompts().done();
        const QString report = prompts().report();
        f.reset();
        QVERIFY2(done, qPrintable(report));
    }

    // Each file system call of the settings write failing in turn: creating the temporary file,
    // keeping the old file's mode, writing, syncing, closing, renaming, syncing the folder.
    void settingsWindowReportsAFullDisk_data() {
        QTest::addColumn<int>("call");
        for (int call = 1; call <= 8; ++call)
            QTest::addRow("call %d", call) << call;
    }
    void settingsWindowReportsAFullDisk() {
        QFETCH(int, call);
        const QString path = f->filePath(QLatin1String(BizSettings::fileName));
        const QString folder = f->business().folder();
        prompts().expectMessage(QStringLiteral("settings saved"));
        QTest::mouseClick(openSettings(QStringLiteral("Old Works")).Command1[0], Qt::LeftButton);
        const QByteArray old = readRecord(path, BizSettings::fileSize).bytes;
        const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(files.contains(QLatin1String(BizSettings::fileName)));
        // Rates the windows of the business take from now on.
        const auto taken = [&] { return f->business().settings().company.trimmed(); };
        QCOMPARE(taken(), QStringLiteral("Old Works"));

        settings& window = openSettings(QStringLiteral("New Works"));
        recordfile_testing::failCall(call, ENOSPC);
        prompts().expectMessageStartingWith(QStringLiteral("Could not write ") + path);
        QTest::mouseClick(window.Command1[0], Qt::LeftButton);
        QVERIFY(recordfile_testing::failed());
        QVERIFY(prompts().shown().last().contains(QStringLiteral("No space left on device")));
        QVERIFY(settings::loaded());
        QCOMPARE(window.Text1[0]->text(), QStringLiteral("New Works"));
        QCOMPARE(taken(), QStringLiteral("Old Works"));
        const auto company = [&] { return loadBizSettings(folder).company.trimmed(); };
        // Once the new file is renamed into place only the folder's sync can fail: the new
        // record is there; before that the old one is.
        QCOMPARE(company(), call <= 6 ? QStringLiteral("Old Works") : QStringLiteral("New Works"));
        QCOMPARE(QFileInfo(path).size(), qint64(BizSettings::fileSize));
        QVERIFY(readRecord(path, BizSettings::fileSize).bytes == old || call > 6);

        prompts().expectMessage(QStringLiteral("settings saved"));
        QTest::mouseClick(window.Command1[0], Qt::LeftButton);
        QVERIFY(!settings::loaded());
        QCOMPARE(company(), QStringLiteral("New Works"));
        QCOMPARE(taken(), QStringLiteral("New Works"));
        // No temporary file is left behind.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), files);
    }

    // The item builder's Save on a failing disk.
    void itemBuilderReportsADiskError_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("nth");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        using faultvfs::Op;
        QTest::newRow("first write")
            << int(Op::Write) << 1 << SQLITE_IOERR_WRITE << "disk I/O error";
        QTest::newRow("disk full")
            << int(Op::Write) << 3 << SQLITE_FULL << "database or disk is full";
        QTest::newRow("sync") << int(Op::Sync) << 2 << SQLITE_IOERR_FSYNC << "disk I/O error";
        QTest::newRow("journal removal")
            << int(Op::Delete) << 1 << SQLITE_IOERR_DELETE << "disk I/O error";
    }
    void itemBuilderReportsADiskError() {
        QFETCH(int, op);
        QFETCH(int, nth);
        QFETCH(int, error);
        QFETCH(QString, reason);
        f->addItem(7, QStringLiteral("Robot"));
        databaseview& finder = f->showList(3);
        Business& business = f->business();
        // The builder as the list opens it on its only line.
        changingitem& builder = changingitem::get(business);
        builder.area = qint16(finder.linePosition(0));
        builder.load(finder.cellText(0, 0).left(5), finder.cellText(2, 0));
        builder.show();
        getpart& picker = getpart::get(business);
        picker.mode = 0;
        picker.caller = &builder;
        picker.load();
        picker.is_part = -1;
        picker.Text1[2]->setText(QStringLiteral("0012     Bolt"));
        picker.Text1[3]->setText(QStringLiteral("$2.50"));
        picker.Text1[4]->setText(QStringLiteral("4"));
        builder.adder(0);

        faultvfs::failNth(faultvfs::Op(op), nth, error);
        prompts().expectMessageStartingWith(f->filePath(QStringLiteral("items.fdb")));
        QTest::mouseClick(builder.Command1[0], Qt::LeftButton);
        faultvfs::disarm();
        QVERIFY(faultvfs::fired());
        QVERIFY2(prompts().shown().last().contains(reason), qPrintable(prompts().shown().last()));
        QVERIFY(changingitem::loaded());
        QCOMPARE(builder.cnt, qint16(1));
        QCOMPARE(storedNumbers(business, 7), QList<qint64>{});

        prompts().expectMessage(QStringLiteral("saved"));
        QTest::mouseClick(builder.Command1[0], Qt::LeftButton);
        QVERIFY(!changingitem::loaded());
        QCOMPARE(storedNumbers(business, 7), QList<qint64>{12});
    }
};

QTEST_MAIN(TestFaultWindows)
#include "tst_faultwindows.moc"
