// The business settings window: its input rules, its save and its refusals.
#include "core/business/bizsettings.h"
#include "core/common/recordfile.h"
#include "gui/app/settings.h"
#include "support/businessfixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

class TestSettingsWindow : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<BusinessFixture> f;

    ScriptedPrompts& prompts() { return f->prompts(); }
    QString settingsFile() const { return f->filePath(QLatin1String(BizSettings::fileName)); }
    settings& openWindow() {
        settings& window = settings::get(f->business());
        window.load();
        window.show();
        return window;
    }
    void fill(settings& window, const QStringList& texts) {
        for (int i = 0; i < 8; ++i)
            window.Text1[i]->setText(texts[i]);
    }
    static QStringList defaults() {
        return {"Acme", "Jane", "Tools", "1.5%", "$10/hr", "$10/hr", "$10/hr", "3%"};
    }

private slots:
    void init() { f = std::make_unique<BusinessFixture>(); }
    void cleanup() {
        const bool done = prompts().done();
        const QString report = prompts().report();
        f.reset();
        QVERIFY2(done, qPrintable(report));
    }

    // A number's unit is added when the field is left, and only to a number typed without it:
    // nothing typed is doubled or dropped.
    void unitAddedWhenLeft_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::newRow("rate with its units") << 4 << "$45/hr" << "$45/hr";
        QTest::newRow("plain rate") << 5 << "12.5" << "12.5/hr";
        QTest::newRow("hr without slash") << 5 << "$12.5hr" << "$12.5/hr";
        QTest::newRow("slash r") << 5 << "$12.5/r" << "$12.5/hr";
        QTest::newRow("slash h") << 6 << "$12.5/h" << "$12.5/hr";
        QTest::newRow("typed after the suffix") << 6 << "$10/hr5" << "$10/hr5";
        QTest::newRow("tax with its sign") << 7 << "8.25%" << "8.25%";
        QTest::newRow("plain mark-up") << 3 << "2" << "2%";
        QTest::newRow("letters") << 3 << "abc" << "abc";
        QTest::newRow("name") << 1 << "12" << "12";
    }
    void unitAddedWhenLeft() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, left);
        settings& window = openWindow();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QLineEdit* edit = window.Text1[field];
        edit->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->text(), left);
    }

    // Numbers typed with their units or without are stored as those numbers.
    void saveStoresTheConvertedRecord() {
        settings& window = openWindow();
        fill(window, {"Acme", "Jane", "Tools", "1.5", "$45/hr", "12.5", "$30hr", "8.25%"});
        prompts().expectMessage(QStringLiteral("settings saved"));
        QTest::mouseClick(window.Command1[0], Qt::LeftButton);
        QVERIFY(!settings::loaded());
        const BizSettings saved = loadBizSettings(f->business().folder());
        QCOMPARE(saved.markup_rate, 1.5f);
        QCOMPARE(saved.eng_rate, 45.0f);
        QCOMPARE(saved.asm_rate, 12.5f);
        QCOMPARE(saved.test_rate, 30.0f);
        QCOMPARE(saved.sales_tax, 8.25f);
        // The open business works with the saved rates from now on.
        QCOMPARE(f->business().settings().eng_rate, 45.0f);
        QCOMPARE(f->business().settings().company, saved.company);

        // Opening it again shows the stored values in their display forms.
        settings& again = openWindow();
        QCOMPARE(again.Text1[3]->text(), QStringLiteral(" 1.5%"));
        QCOMPARE(again.Text1[4]->text(), QStringLiteral("$45.00/hr"));
        QCOMPARE(again.Text1[7]->text(), QStringLiteral(" 8.25%"));
    }

    // A name is stopped at 30 characters while typing, never cut unseen when saved.
    void namesStopAtTheirWidth() {
        settings& window = openWindow();
        for (int i = 0; i < 3; ++i) {
            QTest::keyClicks(window.Text1[i], QString(35, QLatin1Char('n')));
            QCOMPARE(window.Text1[i]->text(), QString(30, QLatin1Char('n')));
        }
    }

    void badFieldsRefuseTheSave_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString settingsRefusal = QStringLiteral("Please fill out settings correctly");
        QTest::newRow("empty name") << 0 << "" << settingsRefusal;
        QTest::newRow("mark-up in letters") << 3 << "abc" << settingsRefusal;
        QTest::newRow("percent sign only") << 3 << "%" << settingsRefusal;
        QTest::newRow("rate suffix only") << 5 << "/hr" << settingsRefusal;
        QTest::newRow("typed after the suffix") << 6 << "$10/hr5" << settingsRefusal;
        QTest::newRow("unit twice") << 4 << "$45/hr/hr" << settingsRefusal;
        QTest::newRow("two points") << 7 << "1.2.3%" << settingsRefusal;
        QTest::newRow("inner blank") << 4 << "1 0/hr" << settingsRefusal;
        QTest::newRow("negative mark-up")
            << 3 << "-1%" << "Please enter the mark-up rate as a number from 0 to 10000.";
        QTest::newRow("rate too high") << 5 << "$2000000/hr"
                                       << "Please enter the assembly labour rate as a number "
                                          "from 0 to 1000000.";
        QTest::newRow("tax over 100")
            << 7 << "150%" << "Please enter the sales tax as a number from 0 to 100.";
    }
    void badFieldsRefuseTheSave() {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        settings& window = openWindow();
        fill(window, defaults());
        window.Text1[field]->setText(text);
        prompts().expectMessage(message);
        QTest::mouseClick(window.Command1[0], Qt::LeftButton);
        QVERIFY(settings::loaded());
        QCOMPARE(window.Text1[field]->text(), text);
        QVERIFY(!QFile::exists(settingsFile()));
        QCOMPARE(f->business().settings().markup_rate, 0.0f);
    }

    void aFailedWriteKeepsTheOldFile() {
        settings& window = openWindow();
        fill(window, defaults());
        prompts().expectMessage(QStringLiteral("settings saved"));
        QTest::mouseClick(window.Command1[0], Qt::LeftButton);

        // The file's place taken by a folder makes the write fail.
        const QString path = settingsFile();
        QFile::remove(path);
        QVERIFY(QDir(f->business().folder()).mkdir(QLatin1String(BizSettings::fileName)));
        prompts().expectMessage(
            QStringLiteral("The settings file %1 is damaged and was not read.").arg(path));
        settings& again = openWindow();
        fill(again, defaults());
        again.Text1[3]->setText(QStringLiteral("2%"));
        prompts().expectMessageStartingWith(QStringLiteral("Could not write ") + path);
        QTest::mouseClick(again.Command1[0], Qt::LeftButton);
        QVERIFY(settings::loaded());
        QVERIFY(QFileInfo(path).isDir());
        // The business keeps the rates it had, not the ones that could not be written.
        QCOMPARE(f->business().settings().markup_rate, 1.5f);
    }
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
