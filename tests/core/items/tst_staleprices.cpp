// Out-of-date line prices: which stored unit prices differ, at the cent shown, from their
// component's price now, and their update with the line's total and cost.
#include "core/business/bizsettings.h"
#include "core/business/businessfiles.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemlines.h"
#include "core/items/itemtables.h"
#include "core/items/staleprices.h"
#include "support/temphome.h"

#include <QDir>
#include <QtTest>

#include <memory>

using namespace itemcosting;
using namespace staleprices;

namespace {
void addRow(RecordSet& rs, const QList<Value>& values) {
    rs.addNew();
    for (int i = 0; i < values.size(); ++i)
        rs.setField(i, values[i]);
    rs.update();
}
// A price of "-" leaves the column unwritten.
Value price(const QString& text) {
    return text == QLatin1String("-") ? Value() : Value(*toMoney(text));
}
} // namespace

class TestStalePrices : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    std::unique_ptr<RecordSet> lines, parts, items;

    // Item 7's line: the worked line of $2.50 times 4 with 1.5, 0.5 and 0.25 hours.
    void addLine(bool isPart, qint64 number, const QString& stored) {
        addRow(*lines, {qint64(7), isPart, number, qint64(4), *toMoney(stored), *toMoney("10"),
                        1.5f, 0.5f, 0.25f, *toMoney("63.75"), 2.5f});
    }
    void addComponent(bool isPart, qint64 number, const QString& now) {
        if (isPart)
            addRow(*parts, {number, QStringLiteral("Bolt"), qint64(0), price(now)});
        else
            addRow(*items, {number, QStringLiteral("Gearbox"), price(now)});
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        businessfiles::createBusinessDatabases(home->path(), home->file(QStringLiteral("0")));
        QDir::setCurrent(home->file(QStringLiteral("0")));
        lines = std::make_unique<RecordSet>(QStringLiteral("items.fdb"), PartsList::table);
        parts = std::make_unique<RecordSet>(QStringLiteral("parts.fdb"), Parts::table);
        items = std::make_unique<RecordSet>(QStringLiteral("items.fdb"), AssembledItems::table);
        addRow(*items, {qint64(7), QStringLiteral("Robot"), Money(), 1.5f, 0.0f, 0, true});
    }
    void cleanup() {
        lines.reset();
        parts.reset();
        items.reset();
        QDir::setCurrent(home->path());
        home.reset();
    }

    // Number 12 as the line's kind of component at `now`, and as the other kind at a price
    // that must not count.
    void outOfDate_data() {
        QTest::addColumn<bool>("isPart");
        QTest::addColumn<QString>("now"); // "": no such component
        QTest::addColumn<QString>("tip"); // "": up to date
        QTest::newRow("part dearer") << true << "3.00" << "Current price: $3.00 (stored $2.50)";
        QTest::newRow("item cheaper") << false << "2.4" << "Current price: $2.40 (stored $2.50)";
        QTest::newRow("same cent") << true << "2.5049" << "";
        QTest::newRow("half a cent up") << true << "2.505" << "Current price: $2.51 (stored $2.50)";
        QTest::newRow("part gone") << true << "" << "";
        QTest::newRow("price never written") << false << "-" << "";
    }
    void outOfDate() {
        QFETCH(bool, isPart);
        QFETCH(QString, now);
        QFETCH(QString, tip);
        addComponent(!isPart, 12, QStringLiteral("99"));
        if (!now.isEmpty())
            addComponent(isPart, 12, now);
        addLine(isPart, 12, QStringLiteral("2.50"));

        ItemLines loaded;
        CurrentPrices prices;
        loaded.load(*lines, *parts, *items, 7, &prices);
        StaleLines stale;
        stale.refresh(loaded, prices);
        QCOMPARE(stale.count(), tip.isEmpty() ? 0 : 1);
        QCOMPARE(stale.isStale(0) ? tipText(stale.currentOf(0), QStringLiteral("$2.50")) : "", tip);
        // The list of the business's items counts the same line.
        const std::vector<StaleItem> listed = staleItems(*lines, *parts, *items);
        QCOMPARE(listed.size(), tip.isEmpty() ? 0u : 1u);
    }

    // Only the lines out of date change, each as a new mark-up costs it.
    void update() {
        addComponent(true, 12, QStringLiteral("3.00"));
        addComponent(true, 30, QStringLiteral("2.50"));
        addLine(true, 12, QStringLiteral("2.50"));
        addLine(true, 30, QStringLiteral("2.50"));
        ItemLines loaded;
        CurrentPrices prices;
        loaded.load(*lines, *parts, *items, 7, &prices);
        StaleLines stale;
        stale.refresh(loaded, prices);
        BizSettings rates;
        rates.asm_rate = 10;
        rates.eng_rate = 20;
        rates.test_rate = 30;
        QCOMPARE(staleprices::update(loaded, stale, rates, 1.5f), 1);
        QStringList cells;
        for (int k = 0; k < 2; ++k) {
            for (int c : {ItemCell::unit_price, ItemCell::total_price, ItemCell::ip_cost})
                cells << loaded.line(k)[std::size_t(c)];
        }
        QCOMPARE(cells, (QStringList{"$3.00", "$12.00", "$66.75", "$2.50", "$10.00", "$63.75"}));
        QCOMPARE(loaded.totals().totalCosts, QStringLiteral("$130.50"));
        stale.refresh(loaded, prices);
        QCOMPARE(stale.count(), 0);
    }
};

QTEST_MAIN(TestStalePrices)
#include "tst_staleprices.moc"
