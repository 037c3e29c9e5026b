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

    void rateFieldsAlwaysEndInPerHour_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain number") << "12.5" << "12.5/hr";
        QTest::newRow("hr without slash") << "$12.5hr" << "$12.5/hr";
        QTest::newRow("slash r") << "$12.5/r" << "$12.5/hr";
        QTest::newRow("slash h") << "$12.5/h" << "$12.5/hr";
        QTest::newRow("emptied") << "" << "/hr";
        QTest::newRow("typed after the suffix") << "$10/hr5" << "$10/hr5/hr";
    }
    void rateFieldsAlwaysEndInPerHour() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        settings& window = openWindow();
        window.Text1[5]->setText(QStringLiteral("x"));
        window.Text1[5]->setText(typed);
        QCOMPARE(window.Text1[5]->text(), shown);
        window.Text1[7]->setText(QStringLiteral("3"));
        window.Text1[7]->setText(QString());
        QCOMPARE(window.Text1[7]->text(), QStringLiteral("%"));
        // Names have no rule.
        window.Text1[1]->setText(QStringLiteral("12"));
        QCOMPARE(window.Text1[1]->text(), QStringLiteral("12"));
    }

    void saveStoresTheConvertedRecord() {
        settings& window = openWindow();
        QStringList texts = defaults();
        texts[0] = QStringLiteral("A name that is longer than thirty characters");
        texts[4] = QStringLiteral("12.5/hr");
        texts[6] = QStringLiteral("$10/hr5/hr"); // not a number: stored as 0
        fill(window, texts);
        prompts().expectMessage(QStringLiteral("settings saved"));
        QTest::mouseClick(window.Command1[0], Qt::LeftButton);
        QVERIFY(!settings::loaded());
        const BizSettings saved = loadBizSettings(f->business().folder());
        QCOMPARE(saved.company, QStringLiteral("A name that is longer than thi"));
        QCOMPARE(saved.markup_rate, 1.5f);
        QCOMPARE(saved.eng_rate, 12.5f);
        QCOMPARE(saved.asm_rate, 10.0f);
        QCOMPARE(saved.test_rate, 0.0f);
        QCOMPARE(saved.sales_tax, 3.0f);
        // The open business works with the saved rates from now on.
        QCOMPARE(f->business().settings().eng_rate, 12.5f);
        QCOMPARE(f->business().settings().company, saved.company);

        // Opening it again shows the stored values in their display forms.
        settings& again = openWindow();
        QCOMPARE(again.Text1[3]->text(), QStringLiteral(" 1.5%"));
        QCOMPARE(again.Text1[4]->text(), QStringLiteral("$12.50/hr"));
        QCOMPARE(again.Text1[6]->text(), QStringLiteral("$0.00/hr"));
    }

    void badFieldsRefuseTheSave_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty name") << 0 << "";
        QTest::newRow("percent sign only") << 3 << "%";
        QTest::newRow("rate suffix only") << 5 << "/hr";
        QTest::newRow("two points") << 7 << "1.2.3%";
        QTest::newRow("inner blank") << 4 << "1 0/hr";
    }
    void badFieldsRefuseTheSave() {
        QFETCH(int, field);
        QFETCH(QString, text);
        settings& window = openWindow();
        fill(window, defaults());
        window.Text1[field]->setText(text);
        prompts().expectMessage(QStringLiteral("Please fill out settings correctly"));
        QTest::mouseClick(window.Command1[0], Qt::LeftButton);
        QVERIFY(settings::loaded());
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
