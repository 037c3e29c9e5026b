// The picker's rules without its window.
#include "core/business/businessfiles.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/finder/pickerrules.h"
#include "support/temphome.h"

#include <QtTest>

class TestPickerRules : public QObject {
    Q_OBJECT

private slots:
    void walksKeepTheCurrentRowAndStopAtTheEnd() {
        TempHome home;
        businessfiles::createBusinessDatabases(home.path(), home.file(QStringLiteral("0")));
        RecordSet rows(home.file(QStringLiteral("0/parts.fdb")), Parts::table);
        for (int n : {4, 9, 4}) {
            rows.addNew();
            rows.setField(Parts::part_no, n);
            rows.setField(Parts::unit_cost, Money::fromRaw(n * 10000));
            rows.update();
        }
        rows.moveFirst();
        rows.moveNext();
        const picker::ListedTable& parts = picker::listedTable(-1);
        QCOMPARE(picker::candidates(rows, parts, QStringLiteral("ALL PARTS"), Money::fromRaw(40000))
                     .size(),
                 2);
        QCOMPARE(rows.absolutePosition(), 1);
        QCOMPARE(picker::findRow(rows, 77), -1);
        QCOMPARE(rows.absolutePosition(), 1);
        QCOMPARE(picker::findRow(rows, 4), 0); // the first of two rows with the number
    }

    // The number questions: a value as typed, with or without its unit, or a refusal that
    // names what is wanted.
    void numberAnswers_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("value"); // empty: refused
        const QString amount = QStringLiteral("amount");
        const QString qty = QStringLiteral("qty");
        const QString hours = QStringLiteral("hours");
        QTest::newRow("amount letters") << amount << "ten"
                                        << "";
        QTest::newRow("amount zero") << amount << "0"
                                     << "0.0000";
        QTest::newRow("amount negative") << amount << "-5"
                                         << "";
        QTest::newRow("amount with its unit") << amount << "$131072.01"
                                              << "131072.0100";
        QTest::newRow("amount to the cent") << amount << "99999999999999.99"
                                            << "99999999999999.9900";
        QTest::newRow("amount too large") << amount << "100000000000000.01"
                                          << "";
        QTest::newRow("qty letters") << qty << "two"
                                     << "";
        QTest::newRow("qty zero") << qty << "0"
                                  << "";
        QTest::newRow("qty negative") << qty << "-3"
                                      << "";
        QTest::newRow("qty not whole") << qty << "2.5"
                                       << "";
        QTest::newRow("qty highest") << qty << " 999999999 "
                                     << "999999999";
        QTest::newRow("qty too large") << qty << "1000000000"
                                       << "";
        QTest::newRow("hours letters") << hours << "abc"
                                       << "";
        QTest::newRow("hours zero") << hours << "0"
                                    << "0";
        QTest::newRow("hours negative") << hours << "-1"
                                        << "";
        QTest::newRow("hours with their unit") << hours << "1.5 hr"
                                               << "1.5";
        QTest::newRow("hours without") << hours << "100000"
                                       << "100000";
        QTest::newRow("hours too large") << hours << "100000.01"
                                         << "";
    }
    void numberAnswers() {
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(QString, value);
        QVERIFY(!picker::isEmptyAnswer(answer));
        QString refusal;
        QString read;
        QString wanted;
        if (question == QLatin1String("amount")) {
            const std::optional<Money> amount = picker::highestAmountAnswer(answer, &refusal);
            read = amount ? amount->decimalText() : QString();
            wanted = QStringLiteral("the highest amount as a number from 0 to 100000000000000");
        } else if (question == QLatin1String("qty")) {
            const std::optional<qint64> count = picker::quantityAnswer(answer, &refusal);
            read = count ? QString::number(*count) : QString();
            wanted = QStringLiteral("the quantity as a whole number from 1 to 999999999");
        } else {
            const std::optional<float> h = picker::hoursAnswer(6, answer, &refusal);
            read = h ? plainText(*h) : QString();
            wanted = QStringLiteral("the engineering hours as a number from 0 to 100000");
        }
        QCOMPARE(read, value);
        QCOMPARE(refusal,
                 value.isEmpty() ? QStringLiteral("Please enter %1.").arg(wanted) : QString());
    }

    void pictures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("found");
        QTest::newRow("stored upper-cased") << "PART.JPG"
                                            << "part.jpg";
        QTest::newRow("missing") << "OTHER.JPG"
                                 << "";
        QTest::newRow("path") << "sub/PART.JPG"
                              << "";
        QTest::newRow("folder") << "SUB"
                                << "";
        QTest::newRow("cleared") << "NULL"
                                 << "";
    }
    void pictures() {
        QFETCH(QString, name);
        QFETCH(QString, found);
        TempHome home;
        QDir(home.path()).mkdir(QStringLiteral("sub"));
        for (const char* file : {"part.jpg", "sub/PART.JPG"}) {
            QFile f(home.file(QLatin1String(file)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString path = picker::pictureFile(name, QDir(home.path()));
        QCOMPARE(path, found.isEmpty() ? QString() : QDir(home.path()).filePath(found));
    }
};

QTEST_MAIN(TestPickerRules)
#include "tst_pickerrules.moc"
