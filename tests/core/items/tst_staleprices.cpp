// Out-of-date line prices: a stored unit price differs, at the cent shown, from its component's
// price now; the builder's reading and the list of the business's items agree.
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

using namespace staleprices;

namespace {
void addRow(RecordSet& rs, const QList<Value>& values) {
    rs.addNew();
    for (int i = 0; i < values.size(); ++i)
        rs.setField(i, values[i]);
    rs.update();
}
} // namespace

class TestStalePrices : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

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

    // Item 7 holds 4 of number 12 at $2.50, as a part or an item; number 12 of the other kind
    // costs $99 and must not count. A stored number past four digits names the component its
    // code's four characters name.
    void outOfDate_data() {
        QTest::addColumn<bool>("isPart");
        QTest::addColumn<QString>("now"); // "": no such component; "-": no price written
        QTest::addColumn<QString>("tip"); // "": up to date
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<qint64>("component");
        const auto row = [](const char* name, bool isPart, const char* now, const char* tip,
                            qint64 stored = 12, qint64 component = 12) {
            QTest::newRow(name) << isPart << QString(now) << QString(tip) << stored << component;
        };
        row("part dearer", true, "3.00", "Current price: $3.00 (stored $2.50)");
        row("item cheaper", false, "2.4", "Current price: $2.40 (stored $2.50)");
        row("same cent", true, "2.5049", "");
        row("half a cent up", true, "2.505", "Current price: $2.51 (stored $2.50)");
        row("part gone", true, "", "");
        row("price never written", false, "-", "");
        row("five digits", true, "3.00", "Current price: $3.00 (stored $2.50)", 12345, 1234);
    }
    void outOfDate() {
        QFETCH(bool, isPart);
        QFETCH(QString, now);
        QFETCH(QString, tip);
        QFETCH(qint64, stored);
        QFETCH(qint64, component);
        RecordSet lines(QStringLiteral("items.fdb"), PartsList::table);
        RecordSet parts(QStringLiteral("parts.fdb"), Parts::table);
        RecordSet items(QStringLiteral("items.fdb"), AssembledItems::table);
        addRow(items, {qint64(7), QStringLiteral("Robot"), Money(), 1.5f, 0.0f, 0, true});
        for (const bool part : {!isPart, isPart}) {
            const QString price = part == isPart ? now : QStringLiteral("99");
            if (price.isEmpty())
                continue;
            const Value cost = price == QLatin1String("-") ? Value() : Value(*toMoney(price));
            if (part)
                addRow(parts, {component, QStringLiteral("Bolt"), qint64(0), cost});
            else
                addRow(items, {component, QStringLiteral("Gearbox"), cost});
        }
        addRow(lines, {qint64(7), isPart, stored, qint64(4), *toMoney("2.50"), *toMoney("10"),
                       1.5f, 0.5f, 0.25f, *toMoney("63.75"), 2.5f});

        ItemLines loaded;
        CurrentPrices prices;
        loaded.load(lines, parts, items, 7, &prices);
        StaleLines stale;
        stale.refresh(loaded, prices);
        QCOMPARE(stale.count(), tip.isEmpty() ? 0 : 1);
        QCOMPARE(stale.isStale(0) ? tipText(stale.currentOf(0), QStringLiteral("$2.50")) : "", tip);
        const std::vector<StaleItem> listed = staleItems(lines, parts, items);
        QCOMPARE(listed.size(), tip.isEmpty() ? 0u : 1u);
        if (!listed.empty())
            QCOMPARE(std::make_pair(listed[0].number, listed[0].staleLines), std::make_pair(7ll, 1));
    }
};

QTEST_MAIN(TestStalePrices)
#include "tst_staleprices.moc"
