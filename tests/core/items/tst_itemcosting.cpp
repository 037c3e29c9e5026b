// The costing of an assembled item and the rules of its line table: formulas on the screen
// texts, the mark-up answer, merging a choice into the lines, the scroll range, and loading
// and saving the lines.
#include "core/business/bizsettings.h"
#include "core/business/businessfiles.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemcosting.h"
#include "core/items/itemlines.h"
#include "core/items/itemtables.h"
#include "support/temphome.h"

#include <QDir>
#include <QtTest>

#include <memory>

using namespace itemcosting;

namespace {

BizSettings workedRates() {
    BizSettings rates;
    rates.asm_rate = 10;
    rates.eng_rate = 20;
    rates.test_rate = 30;
    return rates;
}

ItemLine line(const QString& code, const QString& price, const QString& qty,
              const QString& hours = QStringLiteral("0.00 Hr"), const QString& days = "0") {
    ItemLine l;
    l.fill(blankCell());
    l[ItemCell::ip_code] = code;
    l[ItemCell::unit_price] = price;
    l[ItemCell::qty] = qty;
    l[ItemCell::total_price] = lineTotalPrice(price, qty);
    l[ItemCell::asm_hours] = hours;
    l[ItemCell::eng_hours] = QStringLiteral("0.00 Hr");
    l[ItemCell::test_hours] = QStringLiteral("0.00 Hr");
    l[ItemCell::delivery_days] = days;
    return l;
}

// The worked line: $2.50 times 4, with 1.5, 0.5 and 0.25 hours.
ItemLine workedLine() {
    ItemLine l = line(QStringLiteral("0012  P"), QStringLiteral("$2.50"), QStringLiteral("04"),
                      QStringLiteral("1.50 Hr"));
    l[ItemCell::eng_hours] = QStringLiteral("0.50 Hr");
    l[ItemCell::test_hours] = QStringLiteral("0.25 Hr");
    l[ItemCell::ip_cost] = lineCost(l, workedRates(), 1.5f);
    return l;
}

PickedChoice choice(const QString& number, bool isPart, const QString& qty,
                    const QString& hours = QStringLiteral("1.50 Hr"), float days = 2.5f) {
    PickedChoice c;
    c.isPart = isPart;
    c.entry = number + QStringLiteral("     Component ") + number;
    c.unitCost = QStringLiteral("$2.00");
    c.qty = qty;
    c.asmHours = hours;
    c.engHours = QStringLiteral("0.00");
    c.testHours = QStringLiteral("0.00");
    c.deliveryDays = days;
    return c;
}

// Asks nothing: the question must not come.
const std::function<bool()> noQuestion = [] {
    QTest::qFail("the multiply question was asked", __FILE__, __LINE__);
    return false;
};

} // namespace

class TestItemCosting : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempHome> home;

    void addRow(RecordSet& rs, const QList<Value>& values) {
        rs.addNew();
        for (int i = 0; i < values.size(); ++i)
            rs.setField(i, values[i]);
        rs.update();
    }
    void addLine(RecordSet& rs, qint64 host, bool isPart, qint64 number, qint64 qty = 1) {
        addRow(rs, {host, isPart, number, qty, *Money::fromDouble(2.5), *Money::fromDouble(10),
                    1.5f, 0.5f, 0.25f, *Money::fromDouble(63.75), 2.5f});
    }
    void addPart(RecordSet& rs, qint64 number, const QString& description) {
        addRow(rs, {number, description});
    }
    void addItem(RecordSet& rs, qint64 number, const QString& description) {
        addRow(rs, {number, description, Money(), 1.5f, 0.0f, 0, false, Money(), 0});
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        businessfiles::createBusinessDatabases(home->path(), home->file(QStringLiteral("0")));
        QDir::setCurrent(home->file(QStringLiteral("0")));
    }
    void cleanup() {
        QDir::setCurrent(home->path());
        home.reset();
    }

    void readingRules_data() {
        QTest::addColumn<double>("read");
        QTest::addColumn<double>("expected");
        QTest::newRow("amount") << amountOf("$12.50").toDouble() << 12.5;
        QTest::newRow("hours") << double(hoursOf("1.50 Hr")) << 1.5;
        QTest::newRow("bare picker hours") << double(hoursOf("0.00")) << 0.0;
        QTest::newRow("blank cell hours") << double(hoursOf("  ")) << 0.0;
        QTest::newRow("quantity") << double(qtyOf("04")) << 4.0;
        QTest::newRow("mark-up box") << double(markupOf("1.5000%")) << 1.5;
        QTest::newRow("total labour box") << double(totalLabourOf("4.25 hours")) << 4.25;
        QTest::newRow("delivery box") << maxDeliveryOf("7.50 Days").toDouble() << 7.5;
        QTest::newRow("class box") << double(itemClassOf("012     Cables")) << 12.0;
        QTest::newRow("item number box") << double(wholeNumberOf("0012 ")) << 12.0;
    }
    void readingRules() {
        QFETCH(double, read);
        QFETCH(double, expected);
        QCOMPARE(read, expected);
    }

    void workedLineCosts() {
        const ItemLine l = workedLine();
        QCOMPARE(l[ItemCell::total_price], QStringLiteral("$10.00"));
        QCOMPARE(labourText(l, workedRates()), QStringLiteral("$32.50"));
        QCOMPARE(l[ItemCell::ip_cost], QStringLiteral("$63.75"));
        const ItemTotals totals = itemTotals(std::span(&l, 1));
        QCOMPARE(totals.partCount, QStringLiteral("1"));
        QCOMPARE(totals.totalCosts, QStringLiteral("$63.75"));
        QCOMPARE(totals.totalLabour, QStringLiteral("2.25 hours"));
        QCOMPARE(costTip(l, workedRates(), QStringLiteral("1.5000%")),
                 QStringLiteral("total cost ((qty * cost) + labour) = $10.00 + (labours = "
                                "$32.50) * 1.5000% = $63.75"));
        QCOMPARE(labourTip(Labour::Testing, l[ItemCell::test_hours], workedRates()),
                 QStringLiteral("Cost of testing = 0.25 Hr * $30.00 = $7.50"));
    }

    void markupAnswer_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("box"); // empty: nothing changes
        QTest::addColumn<QString>("cost");
        QTest::addColumn<bool>("refused");
        QTest::newRow("four decimals") << "1.23456"
                                       << "1.2346%"
                                       << "$52.47" << false;
        QTest::newRow("two") << "2"
                             << "2.0000%"
                             << "$85.00" << false;
        QTest::newRow("with its unit") << " 25% "
                                       << "25.0000%"
                                       << "$1062.50" << false;
        QTest::newRow("zero") << "0"
                              << "0.0000%"
                              << "$0.00" << false;
        QTest::newRow("highest") << "10000"
                                 << "10000.0000%"
                                 << "$425000.00" << false;
        QTest::newRow("empty") << ""
                               << ""
                               << "" << false;
        QTest::newRow("blanks only") << "   "
                                     << ""
                                     << "" << false;
        QTest::newRow("letters") << "abc"
                                 << ""
                                 << "" << true;
        QTest::newRow("two points") << "1.2.3"
                                    << ""
                                    << "" << true;
        QTest::newRow("inner blank") << "1 5"
                                     << ""
                                     << "" << true;
        QTest::newRow("negative") << "-1"
                                  << ""
                                  << "" << true;
        QTest::newRow("too large") << "10000.01"
                                   << ""
                                   << "" << true;
    }
    void markupAnswer() {
        QFETCH(QString, answer);
        QFETCH(QString, box);
        QFETCH(QString, cost);
        QFETCH(bool, refused);
        QString refusal = QStringLiteral("left over");
        const std::optional<QString> text = markupEntry(answer, &refusal);
        QCOMPARE(text.value_or(QString()), box);
        QCOMPARE(refusal, refused ? QStringLiteral("Please enter the mark-up rate as a number "
                                                   "from 0 to 10000.")
                                  : QString());
        if (text)
            QCOMPARE(lineCost(workedLine(), workedRates(), markupOf(*text)), cost);
    }

    // Money to the cent beyond what a single holds: the price times the quantity, plus labour,
    // times the mark-up as the box shows it, rounded once, halves away from zero.
    void exactAmounts_data() {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("qty");
        QTest::addColumn<QString>("hours"); // assembly, at $10.00 an hour
        QTest::addColumn<float>("markup");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("cost");
        QTest::newRow("131071.99") << "$131071.99"
                                   << "01"
                                   << "0.00 Hr" << 1.0f << "$131071.99"
                                   << "$131071.99";
        QTest::newRow("131072.01") << "$131072.01"
                                   << "01"
                                   << "0.00 Hr" << 1.0f << "$131072.01"
                                   << "$131072.01";
        QTest::newRow("1234567.89 with labour, half up") << "$1234567.89"
                                                         << "01"
                                                         << "0.10 Hr" << 1.5f << "$1234567.89"
                                                         << "$1851853.34";
        QTest::newRow("99999999999.99 times 1.5, half up") << "$99999999999.99"
                                                           << "01"
                                                           << "0.00 Hr" << 1.5f << "$99999999999.99"
                                                           << "$149999999999.99";
        QTest::newRow("a third of it, three times") << "$33333333333.33"
                                                    << "03"
                                                    << "0.00 Hr" << 1.0f << "$99999999999.99"
                                                    << "$99999999999.99";
        QTest::newRow("mark-up at its four decimals") << "$1000000.00"
                                                      << "01"
                                                      << "0.00 Hr" << 1.2346f << "$1000000.00"
                                                      << "$1234600.00";
        QTest::newRow("beyond what can be stored")
            << "$900000000000000.00"
            << "999999999"
            << "0.00 Hr" << 1.0f << "$899999999100000000000000.00"
            << "$899999999100000000000000.00";
    }
    void exactAmounts() {
        QFETCH(QString, price);
        QFETCH(QString, qty);
        QFETCH(QString, hours);
        QFETCH(float, markup);
        QFETCH(QString, total);
        QFETCH(QString, cost);
        ItemLine l = line(QStringLiteral("0012  P"), price, qty, hours);
        l[ItemCell::ip_cost] = lineCost(l, workedRates(), markup);
        QCOMPARE(l[ItemCell::total_price], total);
        QCOMPARE(l[ItemCell::ip_cost], cost);
        // Two such lines: the totals add what is shown.
        const std::vector<ItemLine> lines{l, l};
        const std::optional<WideAmount> each = wideAmountOf(cost);
        QVERIFY(each);
        QCOMPARE(itemTotals(lines).totalCosts, moneyText(*each * 2));
        const bool storable = toMoney(cost.mid(1)) && toMoney(total.mid(1));
        QCOMPARE(saveRefusal(std::span(&l, 1), cost).isEmpty(), storable);
        if (storable)
            QCOMPARE(savedLine(l).ip_cost, *toMoney(cost.mid(1)));
    }

    void refusedSaves_data() {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("totalCosts");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("largest amount") << "$922337203685477.58"
                                        << "$922337203685477.58"
                                        << "$922337203685477.58"
                                        << "";
        QTest::newRow("total costs beyond") << "$600000000000000.00"
                                            << "$600000000000000.00"
                                            << "$1200000000000000.00"
                                            << "The total costs are too large to be saved.";
        QTest::newRow("line beyond, costs nothing")
            << "$922337203685477.59"
            << "$0.00"
            << "$0.00"
            << "The costs of line 2 are too large to be saved.";
    }
    void refusedSaves() {
        QFETCH(QString, total);
        QFETCH(QString, cost);
        QFETCH(QString, totalCosts);
        ItemLine l = workedLine();
        l[ItemCell::total_price] = total;
        l[ItemCell::ip_cost] = cost;
        const std::vector<ItemLine> lines{workedLine(), l};
        QTEST(itemcosting::saveRefusal(lines, totalCosts), "refusal");
    }

    void totals_data() {
        QTest::addColumn<QStringList>("days");
        QTest::addColumn<QString>("maxDelivery");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("labour");
        QTest::newRow("no lines") << QStringList() << "0.00 Days"
                                  << "0"
                                  << "0.00 hours";
        QTest::newRow("longest wins") << QStringList{"3", "7.5", "2"} << "7.50 Days"
                                      << "3"
                                      << "0.30 hours";
        QTest::newRow("loaded form") << QStringList{"2.5000", "0.0000"} << "2.50 Days"
                                     << "2"
                                     << "0.20 hours";
    }
    void totals() {
        QFETCH(QStringList, days);
        QFETCH(QString, maxDelivery);
        QFETCH(QString, count);
        QFETCH(QString, labour);
        std::vector<ItemLine> lines;
        for (const QString& d : days)
            lines.push_back(line("0001  P", "$1.00", "01", "0.10 Hr", d));
        const ItemTotals totals = itemTotals(lines);
        QCOMPARE(totals.maxDelivery, maxDelivery);
        QCOMPARE(totals.partCount, count);
        QCOMPARE(totals.totalLabour, labour);
    }

    void savedValues() {
        const SavedLine saved = savedLine(workedLine());
        QVERIFY(saved.part_flag);
        QCOMPARE(saved.ip_no, qint64(12));
        QCOMPARE(saved.qty, qint64(4));
        QCOMPARE(saved.total_price, *Money::fromDouble(10));
        QCOMPARE(saved.ip_cost, *Money::fromDouble(63.75));
        QCOMPARE(saved.test_hours, 0.25f);
        const SavedItem item =
            savedItem({"$63.75", "2.25 hours", "7.50 Days", "1.2346%", "012     Cables", true});
        QCOMPARE(item.total_costs, *Money::fromDouble(63.75));
        QCOMPARE(item.total_labour, 2.25f);
        QCOMPARE(item.max_delivery, *Money::fromDouble(7.5));
        QCOMPARE(item.markup, 1.2346f);
        QCOMPARE(item.item_class, qint64(12));
        QVERIFY(item.confirmed);
    }

    void appendFirstLine() {
        ItemLines lines;
        const auto placed =
            lines.place(0, choice("0012", true, "5"), noQuestion, workedRates(), 1.5f);
        QVERIFY(placed.appended);
        QCOMPARE(lines.count(), 1);
        const ItemLine& l = lines.line(0);
        QCOMPARE(l[ItemCell::ip_code], QStringLiteral("0012  P"));
        QCOMPARE(l[ItemCell::description], QStringLiteral("Component 0012"));
        QCOMPARE(l[ItemCell::qty], QStringLiteral("05"));
        QCOMPARE(l[ItemCell::total_price], QStringLiteral("$10.00"));
        QCOMPARE(l[ItemCell::delivery_days], QStringLiteral("2.5"));
        QCOMPARE(l[ItemCell::ip_cost], QStringLiteral("$37.50")); // (10 + 15) * 1.5
        QCOMPARE(lines.line(1)[ItemCell::ip_code], blankCell());
    }

    // Adding a component the item holds already, through the entry row.
    void mergeThroughEntryRow_data() {
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QString>("qty");
        QTest::addColumn<QString>("hours");
        QTest::newRow("No takes the picker's hours") << QList<bool>{false} << "08"
                                                     << "0.75 Hr";
        QTest::newRow("Yes multiplies by 8") << QList<bool>{true} << "08"
                                             << "12.00 Hr";
        QTest::newRow("Yes twice multiplies twice") << QList<bool>{true, true} << "11"
                                                    << "132.00 Hr";
    }
    void mergeThroughEntryRow() {
        QFETCH(QList<bool>, answers);
        QFETCH(QString, qty);
        QFETCH(QString, hours);
        ItemLines lines;
        lines.place(0, choice("0012", true, "5"), noQuestion, workedRates(), 1.5f);
        int asked = 0;
        const auto answer = [&] { return answers[asked++]; };
        for (int i = 0; i < answers.size(); ++i) {
            const auto placed =
                lines.place(lines.count(), choice("0012", true, "3", QStringLiteral("0.75 Hr"), 9),
                            answer, workedRates(), 1.5f);
            QVERIFY(placed.merged);
            QVERIFY(!placed.appended);
            QCOMPARE(placed.row, 0);
        }
        QCOMPARE(asked, answers.size());
        QCOMPARE(lines.count(), 1);
        QCOMPARE(lines.line(0)[ItemCell::qty], qty);
        QCOMPARE(lines.line(0)[ItemCell::asm_hours], hours);
        QCOMPARE(lines.line(0)[ItemCell::delivery_days], QStringLiteral("2.5")); // stays
        QCOMPARE(lines.line(1)[ItemCell::ip_code], blankCell());
    }

    // Lines: 0 part 10, 1 part 12, 2 part 30, 3 item 12; the clicked line and the choice.
    void changeExistingLine_data() {
        QTest::addColumn<int>("clicked");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("isPart");
        QTest::addColumn<int>("written");
        QTest::addColumn<QString>("qty");
        QTest::newRow("same part replaces") << 1 << "0012" << true << 1 << "07";
        QTest::newRow("another line's part merges") << 1 << "0030" << true << 2 << "09";
        QTest::newRow("item 12 is not part 12") << 3 << "0012" << false << 3 << "07";
        QTest::newRow("part 12 is not item 12") << 0 << "0012" << false << 3 << "09";
    }
    void changeExistingLine() {
        QFETCH(int, clicked);
        QFETCH(QString, number);
        QFETCH(bool, isPart);
        QFETCH(int, written);
        QFETCH(QString, qty);
        ItemLines lines;
        const BizSettings rates = workedRates();
        lines.place(0, choice("0010", true, "2"), noQuestion, rates, 1.5f);
        lines.place(1, choice("0012", true, "2"), noQuestion, rates, 1.5f);
        lines.place(2, choice("0030", true, "2"), noQuestion, rates, 1.5f);
        lines.place(3, choice("0012", false, "2"), noQuestion, rates, 1.5f);
        std::vector<ItemLine> before(lines.inUse().begin(), lines.inUse().end());

        bool asked = false;
        const auto placed = lines.place(
            clicked, choice(number, isPart, "7"),
            [&] {
                asked = true;
                return false;
            },
            rates, 1.5f);
        QCOMPARE(placed.row, written);
        QCOMPARE(asked, written != clicked);
        QCOMPARE(lines.count(), 4);
        QCOMPARE(lines.line(written)[ItemCell::qty], qty);
        for (int k = 0; k < 4; ++k) {
            if (k != written)
                QCOMPARE(lines.line(k), before[std::size_t(k)]);
        }
    }

    void hostIsRefused_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("isPart");
        QTest::addColumn<bool>("refused");
        QTest::newRow("the item itself") << "0007" << false << true;
        QTest::newRow("another item") << "0008" << false << false;
        QTest::newRow("part of the same number") << "0007" << true << false;
    }
    void hostIsRefused() {
        QFETCH(QString, number);
        QFETCH(bool, isPart);
        QFETCH(bool, refused);
        QCOMPARE(ItemLines::isHost(choice(number, isPart, "1"), 7), refused);
    }

    void scrollRange_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("loaded");
        QTest::addColumn<int>("afterAppend"); // -1: stays
        QTest::newRow("5 lines") << 5 << 0 << -1;
        QTest::newRow("6 lines") << 6 << 1 << 1;
        QTest::newRow("12 lines") << 12 << 7 << 7;
        QTest::newRow("2998 lines") << 2998 << 2993 << 2993;
        QTest::newRow("2999 lines") << 2999 << 2993 << -1;
        QTest::newRow("3000 lines") << 3000 << 2993 << -1;
    }
    void scrollRange() {
        QFETCH(int, count);
        QFETCH(int, loaded);
        QFETCH(int, afterAppend);
        QCOMPARE(ItemLines::scrollMaximumForLoaded(count), loaded);
        QCOMPARE(ItemLines::scrollMaximumAfterAppend(count).value_or(-1), afterAppend);
    }

    void loadLines() {
        RecordSet lines(QStringLiteral("items.fdb"), PartsList::table);
        RecordSet parts(QStringLiteral("parts.fdb"), Parts::table);
        RecordSet items(QStringLiteral("items.fdb"), AssembledItems::table);
        addPart(parts, 12, QStringLiteral("Old bolt"));
        addPart(parts, 30, QStringLiteral("Gear"));
        addPart(parts, 12, QStringLiteral("Bolt")); // the last row of a number wins
        addItem(items, 12, QStringLiteral("Gearbox"));
        addLine(lines, 7, true, 12, 5);
        addLine(lines, 8, true, 30);
        addLine(lines, 7, false, 12);
        addLine(lines, 7, true, 99); // a part that is gone
        addLine(lines, 7, true, 30, 123);

        ItemLines loaded;
        QVERIFY(loaded.load(lines, parts, items, 7));
        QCOMPARE(loaded.count(), 4);
        QStringList codes, names, qtys;
        for (const ItemLine& l : loaded.inUse()) {
            codes << l[ItemCell::ip_code];
            names << l[ItemCell::description];
            qtys << l[ItemCell::qty];
        }
        QCOMPARE(codes, (QStringList{"0012  P", "0012  I", "0099  P", "0030  P"}));
        QCOMPARE(names, (QStringList{"Bolt", "Gearbox", "  ", "Gear"}));
        QCOMPARE(qtys, (QStringList{"05", "01", "01", "123"}));
        const ItemLine& first = loaded.line(0);
        QCOMPARE(first[ItemCell::unit_price], QStringLiteral("$2.50"));
        QCOMPARE(first[ItemCell::asm_hours], QStringLiteral("1.50 Hr"));
        QCOMPARE(first[ItemCell::ip_cost], QStringLiteral("$63.75"));
        QCOMPARE(first[ItemCell::delivery_days], QStringLiteral("2.5000"));
        QCOMPARE(loaded.line(4)[ItemCell::ip_code], blankCell());
        // What the table keeps for its totals is what its texts read back as.
        const ItemTotals kept = loaded.totals();
        const ItemTotals read = itemTotals(loaded.inUse());
        QCOMPARE(kept.totalCosts, read.totalCosts);
        QCOMPARE(kept.totalLabour, read.totalLabour);
        QCOMPARE(kept.maxDelivery, read.maxDelivery);
        QCOMPARE(kept.totalLabour, QStringLiteral("9.00 hours"));
    }

    void loadRefusesTooManyLines() {
        RecordSet lines(QStringLiteral("items.fdb"), PartsList::table);
        RecordSet parts(QStringLiteral("parts.fdb"), Parts::table);
        RecordSet items(QStringLiteral("items.fdb"), AssembledItems::table);
        {
            Transaction t(lines.database());
            for (int i = 0; i <= ItemLines::capacity; ++i)
                addLine(lines, 3, true, i % 50);
            t.commit();
        }
        ItemLines loaded;
        QVERIFY(!loaded.load(lines, parts, items, 3));
        QCOMPARE(loaded.count(), ItemLines::capacity);
    }

    void saveReplacesOnlyTheItemsLines() {
        RecordSet lines(QStringLiteral("items.fdb"), PartsList::table);
        RecordSet parts(QStringLiteral("parts.fdb"), Parts::table);
        RecordSet items(QStringLiteral("items.fdb"), AssembledItems::table);
        addItem(items, 7, QStringLiteral("Robot"));
        addItem(items, 8, QStringLiteral("Arm"));
        for (int i = 0; i < 5; ++i)
            addLine(lines, i % 2 ? 8 : 7, true, i);

        ItemLines built;
        const BizSettings rates = workedRates();
        for (const char* n : {"0012", "0030", "0008"})
            built.place(built.count(), choice(n, QByteArray(n) != "0008", "2"), noQuestion, rates,
                        1.5f);
        built.save(lines, items, 0, 7,
                   savedItem({"$9.00", "4.50 hours", "2.50 Days", "2.0000%", "003   X", true}));

        QCOMPARE(lines.recordCount(), 2 + 3);
        QList<qint64> hosts, numbers;
        for (lines.moveFirst(); !lines.eof(); lines.moveNext()) {
            hosts << lines.field(PartsList::host_item_no).toInt64();
            numbers << lines.field(PartsList::ip_no).toInt64();
        }
        QCOMPARE(hosts, (QList<qint64>{8, 8, 7, 7, 7}));
        QCOMPARE(numbers, (QList<qint64>{1, 3, 12, 30, 8}));
        lines.moveFirst();
        lines.move(4);
        QVERIFY(!lines.field(PartsList::part_flag).toBool());
        QCOMPARE(lines.field(PartsList::asm_hours).toFloat(), 1.5f);

        items.moveFirst();
        QCOMPARE(items.field(AssembledItems::total_costs).toMoney(), *Money::fromDouble(9));
        QCOMPARE(items.field(AssembledItems::markup).toFloat(), 2.0f);
        QCOMPARE(items.field(AssembledItems::item_class).toInt64(), qint64(3));
        QVERIFY(items.field(AssembledItems::confirmed).toBool());
        QCOMPARE(items.field(AssembledItems::item_desc).toText(), QStringLiteral("Robot"));
        items.moveNext();
        QVERIFY(!items.field(AssembledItems::confirmed).toBool());
    }

    // An engine error part-way leaves the old lines and the item's row as they were.
    void failedSaveChangesNothing() {
        RecordSet lines(QStringLiteral("items.fdb"), PartsList::table);
        RecordSet items(QStringLiteral("items.fdb"), AssembledItems::table);
        addItem(items, 7, QStringLiteral("Robot"));
        addLine(lines, 7, true, 1);
        addLine(lines, 7, true, 2);
        lines.database().execute(
            "CREATE TRIGGER refuse BEFORE INSERT ON \"parts list\" WHEN NEW.ip_no = 30 "
            "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");

        ItemLines built;
        built.place(0, choice("0012", true, "2"), noQuestion, workedRates(), 1.5f);
        built.place(1, choice("0030", true, "2"), noQuestion, workedRates(), 1.5f);
        try {
            built.save(
                lines, items, 0, 7,
                savedItem({"$9.00", "0.00 hours", "0.00 Days", "2.0000%", "000      MISC", true}));
            QFAIL("the save did not fail");
        } catch (const DbError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("the disk is full")),
                     qPrintable(error.message()));
        }
        QCOMPARE(lines.recordCount(), 2);
        QList<qint64> numbers;
        for (lines.moveFirst(); !lines.eof(); lines.moveNext())
            numbers << lines.field(PartsList::ip_no).toInt64();
        QCOMPARE(numbers, (QList<qint64>{1, 2}));
        items.moveFirst();
        QCOMPARE(items.field(AssembledItems::markup).toFloat(), 1.5f);
        QVERIFY(!items.field(AssembledItems::confirmed).toBool());
    }
};

QTEST_GUILESS_MAIN(TestItemCosting)
#include "tst_itemcosting.moc"
