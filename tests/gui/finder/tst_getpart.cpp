// The part and item picker, driven through its controls with a stand-in for its caller.
#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "core/items/itemtables.h"
#include "gui/finder/getpart.h"
#include "gui/finder/pickercaller.h"
#include "support/businessfixture.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

namespace {
const QString blank13(13, QLatin1Char(' '));

// The item builder or invoice editor as the picker sees it; records each handed-back choice.
class FakeCaller : public PickerCaller {
public:
    qint16 onto = 0;
    qint16 cnt = 0;
    PickerLine line;
    QStringList taken; // "ar|is_part|cur_hours|Text1(2)|Text1(3)|Text1(4)"

    qint16 pickerOnto() const override { return onto; }
    qint16 pickerCnt() const override { return cnt; }
    PickerLine pickerLine() const override { return line; }
    void adder(qint16 ar) override {
        getpart* p = getpart::loaded();
        taken << QStringLiteral("%1|%2|%3|%4|%5|%6")
                     .arg(ar)
                     .arg(p->is_part)
                     .arg(double(p->cur_hours))
                     .arg(p->Text1[2]->text(), p->Text1[3]->text(), p->Text1[4]->text());
        p->unload();
    }
};

Money money(double amount) {
    return Money::fromDouble(amount).value();
}

// The fixture of the running test, whose business the picker lists.
BusinessFixture* fixture = nullptr;

// Rows with the costs, codes, delivery times and pictures the picker filters and shows.
void addPart(int number, const QString& name, double cost, int code, double days,
             const QString& picture = QString()) {
    RecordSet rows(fixture->filePath(QStringLiteral("parts.fdb")), Parts::table);
    rows.addNew();
    rows.setField(Parts::part_no, number);
    rows.setField(Parts::description, name);
    rows.setField(Parts::unit_cost, money(cost));
    rows.setField(Parts::class_code, code);
    rows.setField(Parts::delivery_days, days);
    rows.setField(Parts::picture_file, picture);
    rows.update();
}

void addItem(int number, const QString& name, double cost, int code, double days) {
    RecordSet rows(fixture->filePath(QStringLiteral("items.fdb")), AssembledItems::table);
    rows.addNew();
    rows.setField(AssembledItems::item_no, number);
    rows.setField(AssembledItems::item_desc, name);
    rows.setField(AssembledItems::total_costs, money(cost));
    rows.setField(AssembledItems::item_class, code);
    rows.setField(AssembledItems::max_delivery, money(days));
    rows.update();
}

// The numbers of the listed candidates.
QStringList listed(const getpart& p) {
    QStringList numbers;
    for (int i = 0; i < p.List2->count(); ++i)
        numbers << p.List2->item(i)->text().section(QLatin1Char(' '), 0, 0);
    return numbers;
}
} // namespace

class TestGetpart : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<BusinessFixture> f;
    ScriptedPrompts* prompts = nullptr;
    FakeCaller caller;

    getpart& open(qint16 mode) {
        getpart& p = getpart::get(f->business());
        p.mode = mode;
        p.caller = &caller;
        p.load();
        p.show();
        return p;
    }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void pick(QListWidget* list, int row) {
        QVERIFY(list->isVisible());
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void askQty(getpart& p, const QString& answer) {
        prompts->expectInput(QStringLiteral("Enter int (#)"), QStringLiteral("input qty"), answer);
        click(p.Text1[4]);
    }
    void choose(getpart& p, int row) {
        click(p.Text1[2]);
        pick(p.List2, row);
    }

private slots:
    void init() {
        f = std::make_unique<BusinessFixture>();
        fixture = f.get();
        prompts = &f->prompts();
        caller.onto = 4; // the entry row of a caller with four lines
        caller.cnt = 4;
        caller.line = PickerLine();
        caller.taken.clear();
        addPart(1, QStringLiteral("Bolt"), 5.0, 0, 2.5);
        addPart(2, QStringLiteral("Gear"), 10000.0, 5, 3.0);
        addPart(3, QStringLiteral("Motor"), 10000.01, -1, 7.0);
        addPart(4, QStringLiteral("Frame"), 25000.0, 7, 1.0);
        addItem(2, QStringLiteral("Gearbox"), 40.0, 0, 4.25);
        addItem(5, QStringLiteral("Robot"), 900.0, 5, 9.0);
    }
    void cleanup() {
        const bool done = prompts->done();
        const QString report = prompts->report();
        prompts = nullptr;
        fixture = nullptr;
        f.reset();
        QVERIFY2(done, qPrintable(report));
    }

    void highestCost_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<bool>("refused");
        const QStringList start{QStringLiteral("0001"), QStringLiteral("0002")};
        QTest::newRow("at start") << QString() << QStringLiteral("$10000.00") << start << false;
        QTest::newRow("raised") << QStringLiteral("30000") << QStringLiteral("$30000.00")
                                << QStringList{"0001", "0002", "0003", "0004"} << false;
        QTest::newRow("lowered, with its unit")
            << QStringLiteral("$5") << QStringLiteral("$5.00") << QStringList{"0001"} << false;
        QTest::newRow("to the cent beyond a single")
            << QStringLiteral("131072.01") << QStringLiteral("$131072.01")
            << QStringList{"0001", "0002", "0003", "0004", "0008"} << false;
        QTest::newRow("empty keeps")
            << QStringLiteral("") << QStringLiteral("$10000.00") << start << false;
        QTest::newRow("letters refused")
            << QStringLiteral("ten") << QStringLiteral("$10000.00") << start << true;
        QTest::newRow("two points refused")
            << QStringLiteral("1.2.3") << QStringLiteral("$10000.00") << start << true;
        QTest::newRow("negative refused")
            << QStringLiteral("-5") << QStringLiteral("$10000.00") << start << true;
    }
    void highestCost() {
        QFETCH(QString, answer);
        QFETCH(bool, refused);
        addPart(8, QStringLiteral("Press"), 131072.01, 0, 1.0);
        addPart(9, QStringLiteral("Lathe"), 131072.02, 0, 1.0);
        getpart& p = open(0);
        if (!answer.isNull()) {
            prompts->expectInput(QStringLiteral("Enter value (#.##)"),
                                 QStringLiteral("highest amount"), answer);
            if (refused)
                prompts->expectMessage(QStringLiteral(
                    "Please enter the highest amount as a number from 0 to 100000000000000."));
            click(p.Text1[1]);
        }
        QTEST(p.Text1[1]->text(), "field");
        QTEST(listed(p), "numbers");
    }

    void typeFilter_data() {
        QTest::addColumn<bool>("items");
        QTest::addColumn<int>("line");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("all parts, negative code too")
            << false << 0 << QStringList{"0001", "0002", "0003"};
        QTest::newRow("parts MISC") << false << 1 << QStringList{"0001"};
        QTest::newRow("parts 005") << false << 6 << QStringList{"0002"};
        QTest::newRow("items MISC") << true << 1 << QStringList{"0002"};
        QTest::newRow("items 005") << true << 6 << QStringList{"0005"};
    }
    void typeFilter() {
        QFETCH(bool, items);
        QFETCH(int, line);
        prompts->expectInput(QStringLiteral("Enter value (#.##)"), QStringLiteral("highest amount"),
                             QStringLiteral("20000"));
        getpart& p = open(0);
        click(p.Text1[1]);
        if (items)
            click(p.Option1[1]);
        QCOMPARE(p.Text1[0]->isEnabled(), !items);
        QCOMPARE(p.Text1[8]->isEnabled(), items);
        QListWidget* types = items ? p.List3 : p.List1;
        QCOMPARE(types->count(), 202);
        QCOMPARE(types->item(1)->text(), QStringLiteral("000     MISC"));
        click(p.Text1[items ? 8 : 0]);
        pick(types, line);
        QVERIFY(!types->isVisible());
        QCOMPARE(p.Text1[items ? 8 : 0]->text(), types->item(line)->text());
        QTEST(listed(p), "numbers");
    }

    void addChoice_data() {
        QTest::addColumn<QString>("qtyAnswer"); // null: not asked
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QString>("qty");
        QTest::addColumn<bool>("refused"); // the answer
        QTest::addColumn<bool>("accepted");
        QTest::newRow("qty 1 set by the choice") << QString() << true << "1" << false << true;
        QTest::newRow("qty 1 typed") << "1" << true << "1" << false << true;
        QTest::newRow("highest qty") << "999999999" << true << "999999999" << false << true;
        QTest::newRow("empty keeps qty") << "" << true << "1" << false << true;
        QTest::newRow("qty 0 refused") << "0" << true << "1" << true << true;
        QTest::newRow("letters refused") << "x" << true << "1" << true << true;
        QTest::newRow("no number refused") << "1 0" << true << "1" << true << true;
        QTest::newRow("not whole refused") << "2.5" << true << "1" << true << true;
        QTest::newRow("a billion refused") << "1000000000" << true << "1" << true << true;
        QTest::newRow("no choice refused") << "3" << false << "3" << false << false;
    }
    void addChoice() {
        QFETCH(QString, qtyAnswer);
        QFETCH(bool, chosen);
        QFETCH(bool, refused);
        QFETCH(bool, accepted);
        getpart& p = open(0);
        if (chosen)
            choose(p, 0);
        if (!qtyAnswer.isNull()) {
            prompts->expectInput(QStringLiteral("Enter int (#)"), QStringLiteral("input qty"),
                                 qtyAnswer);
            if (refused)
                prompts->expectMessage(QStringLiteral(
                    "Please enter the quantity as a whole number from 1 to 999999999."));
            click(p.Text1[4]);
        }
        QTEST(p.Text1[4]->text(), "qty");
        const QString handedBack =
            QStringLiteral("4|-1|2.5|0001     Bolt|$5.00|") + p.Text1[4]->text();
        if (!accepted)
            prompts->expectMessage(
                QStringLiteral("Must select a part or item first and give qty > 1"));
        click(p.Command1);
        QCOMPARE(getpart::loaded() == nullptr, accepted);
        QCOMPARE(caller.taken.size(), accepted ? 1 : 0);
        if (accepted)
            QCOMPARE(caller.taken[0], handedBack);
    }

    void choiceKeepsATypedQuantity() {
        getpart& p = open(0);
        askQty(p, QStringLiteral("7"));
        choose(p, 1);
        QCOMPARE(p.Text1[2]->text(), QStringLiteral("0002     Gear"));
        QCOMPARE(p.Text1[3]->text(), QStringLiteral("$10000.00"));
        QCOMPARE(p.Text1[4]->text(), QStringLiteral("7"));
        QCOMPARE(p.Text1[2]->toolTip(), QStringLiteral("3.00 days delivery"));
        QVERIFY(!p.List2->isVisible());
    }

    void switchingKindsClearsOnlyTheChoice() {
        getpart& p = open(0);
        choose(p, 0);
        click(p.Option1[1]);
        QCOMPARE(p.is_part, qint16(0));
        QCOMPARE(p.Text1[2]->text(), blank13);
        QCOMPARE(p.Text1[3]->text(), QStringLiteral("$5.00"));
        QCOMPARE(p.Text1[4]->text(), QStringLiteral("1"));
        QCOMPARE(p.cur_hours, 2.5f);
        QCOMPARE(listed(p), (QStringList{"0002", "0005"}));
        click(p.Option1[0]);
        QCOMPARE(p.is_part, qint16(-1));
        QCOMPARE(listed(p), (QStringList{"0001", "0002"}));
    }

    void popupsCloseOnOtherClicks() {
        getpart& p = open(0);
        click(p.Text1[0]);
        QVERIFY(p.List1->isVisible());
        QCOMPARE(p.focusWidget(), p.Command2);
        click(p.Text1[2]);
        QVERIFY(!p.List1->isVisible() && p.List2->isVisible());
        click(p.Picture1); // the window's empty area
        QVERIFY(!p.List2->isVisible());
    }

    void hoursShownOnlyForTheItemBuilder_data() {
        QTest::addColumn<qint16>("mode");
        QTest::newRow("item builder") << qint16(0);
        QTest::newRow("invoice editor") << qint16(-1);
    }
    void hoursShownOnlyForTheItemBuilder() {
        QFETCH(qint16, mode);
        getpart& p = open(mode);
        for (int i = 5; i <= 7; ++i) {
            QCOMPARE(p.Text1[i]->isVisible(), mode == 0);
            QCOMPARE(p.Label1[i]->isVisible(), mode == 0);
        }
    }

    void hoursChain_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("refusedAt"); // the answer refused, -1 none
        QTest::addColumn<QStringList>("hours");
        QTest::newRow("assembly asks all three") << 5 << QStringList{"1.5", "", "2 Hr"} << -1
                                                 << QStringList{"1.50 Hr", "0.00", "2.00 Hr"};
        QTest::newRow("engineering asks two, refused the first")
            << 6 << QStringList{"1 5", "2"} << 0 << QStringList{"0.00", "0.00", "2.00 Hr"};
        QTest::newRow("testing asks one, too many")
            << 7 << QStringList{"100000.5"} << 0 << QStringList{"0.00", "0.00", "0.00"};
        QTest::newRow("testing asks one")
            << 7 << QStringList{"0.125"} << -1 << QStringList{"0.00", "0.00", "0.13 Hr"};
    }
    void hoursChain() {
        QFETCH(int, field);
        QFETCH(QStringList, answers);
        QFETCH(int, refusedAt);
        const char* titles[3] = {"Assembly", "Engineering", "testing"};
        const char* kinds[3] = {"assembly", "engineering", "testing"};
        for (int i = 0; i < answers.size(); ++i) {
            prompts->expectInput(
                QStringLiteral("Enter value (#.##)"),
                QLatin1String(titles[field - 5 + i]) + QStringLiteral(" labour hours"), answers[i]);
            if (i == refusedAt)
                prompts->expectMessage(
                    QStringLiteral("Please enter the %1 hours as a number from 0 to 100000.")
                        .arg(QLatin1String(kinds[field - 5 + i])));
        }
        getpart& p = open(0);
        click(p.Text1[field]);
        const QStringList shown{p.Text1[5]->text(), p.Text1[6]->text(), p.Text1[7]->text()};
        QTEST(shown, "hours");
    }

    void prefill_data() {
        QTest::addColumn<qint16>("mode");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("code");
        QTest::addColumn<qint16>("isPart");
        QTest::addColumn<QString>("tip");
        QTest::newRow("builder part") << qint16(0) << "P"
                                      << "0002     Gear" << qint16(-1) << "3.00 days delivery";
        QTest::newRow("builder item") << qint16(0) << "I"
                                      << "0002     Gearbox" << qint16(0) << "4.25 days delivery";
        QTest::newRow("invoice part") << qint16(-1) << "P"
                                      << "0002     Gear" << qint16(-1) << "3.00 days delivery";
        QTest::newRow("invoice item") << qint16(-1) << "I"
                                      << "0002     Gearbox" << qint16(0) << "4.25 days delivery";
        QTest::newRow("no such row") << qint16(0) << "P"
                                     << "0099     Gone" << qint16(-1) << "0.00 days delivery";
    }
    void prefill() {
        QFETCH(qint16, mode);
        QFETCH(QString, kind);
        QFETCH(QString, code);
        QFETCH(qint16, isPart);
        caller.onto = 1;
        caller.line = {code,
                       QStringLiteral("$40.00"),
                       QStringLiteral("03"),
                       QStringLiteral("1.50 Hr"),
                       QStringLiteral("0.00"),
                       QStringLiteral("0.00"),
                       kind};
        getpart& p = open(mode);
        QCOMPARE(p.is_part, isPart);
        QCOMPARE(p.Option1[1]->isChecked(), isPart == 0);
        QCOMPARE(p.Text1[2]->text(), code);
        QCOMPARE(p.Text1[3]->text(), QStringLiteral("$40.00"));
        QCOMPARE(p.Text1[4]->text(), QStringLiteral("03"));
        QCOMPARE(p.Text1[5]->text(),
                 mode == 0 ? QStringLiteral("1.50 Hr") : QStringLiteral("0.00"));
        QTEST(p.Text1[2]->toolTip(), "tip");
        const QStringList parts{"0001", "0002"};
        const QStringList items{"0002", "0005"};
        QCOMPARE(listed(p), isPart ? parts : items);
        // Accepting without choosing again keeps the line's kind.
        click(p.Command1);
        QCOMPARE(caller.taken.size(), 1);
        QCOMPARE(caller.taken[0].section(QLatin1Char('|'), 0, 1),
                 QStringLiteral("1|%1").arg(isPart));
    }

    void numbersAboveFourDigitsRefused_data() {
        QTest::addColumn<bool>("prefilled");
        QTest::newRow("chosen from the list") << false;
        QTest::newRow("handed over by the caller") << true;
    }
    void numbersAboveFourDigitsRefused() {
        QFETCH(bool, prefilled);
        addPart(12345, QStringLiteral("Big"), 1.0, 0, 1.0);
        if (prefilled) {
            caller.onto = 0;
            caller.line = {QStringLiteral("12345     Big"),
                           QStringLiteral("$1.00"),
                           QStringLiteral("01"),
                           {},
                           {},
                           {},
                           QStringLiteral("P")};
        }
        getpart& p = open(0);
        prompts->expectMessage(
            QStringLiteral("Part or item numbers above 9999 cannot be used here"));
        if (prefilled) {
            click(p.Command1);
        } else {
            QCOMPARE(p.List2->item(2)->text(), QStringLiteral("12345     Big"));
            choose(p, 2);
            QCOMPARE(p.Text1[2]->text(), blank13);
            QCOMPARE(p.Text1[4]->text(), QStringLiteral("0"));
        }
        QVERIFY(caller.taken.isEmpty());
        QVERIFY(getpart::loaded());
    }

    void pictureOfAChosenPart() {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(f->filePath(QStringLiteral("gear.png"))));
        QFile bad(f->filePath(QStringLiteral("BAD.PNG")));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("not a picture") > 0);
        bad.close();
        addPart(6, QStringLiteral("Wheel"), 1.0, 0, 1.0, QStringLiteral("GEAR.PNG"));
        addPart(7, QStringLiteral("Axle"), 1.0, 0, 1.0, QStringLiteral("BAD.PNG"));
        addPart(8, QStringLiteral("Hub"), 1.0, 0, 1.0, QStringLiteral("../0/GEAR.PNG"));
        getpart& p = open(0);
        choose(p, 2);
        QVERIFY(!p.Picture1->pixmap().isNull());
        const qint64 shown = p.Picture1->pixmap().cacheKey();
        choose(p, 3);
        choose(p, 4);
        QCOMPARE(p.Picture1->pixmap().cacheKey(), shown);
    }
};

QTEST_MAIN(TestGetpart)
#include "tst_getpart.moc"
