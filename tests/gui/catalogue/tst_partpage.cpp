// The part editor, driven through its controls by name over a real business's parts table.
#include "core/business/bizsettings.h"
#include "core/business/business.h"
#include "core/catalogue/partstable.h"
#include "core/common/database.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "gui/catalogue/partpage.h"
#include "gui/finder/databaseview.h"
#include "support/businessfixture.h"
#include "support/modal.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {
// The fixture of the running test, whose parts connection the editor works on.
BusinessFixture* fixture = nullptr;

RecordSet& parts() {
    return fixture->connection(Business::parts);
}

struct Row {
    qint64 no = 1;
    qint64 vendor = 1;
    qint64 cls = 1;
    bool general = true;
    QDate last = baseDate();
    Value features = {};
    Value picture = {};
};

void addPart(const Row& row) {
    RecordSet& rs = parts();
    rs.addNew();
    rs.setField(Parts::part_no, row.no);
    rs.setField(Parts::description, QStringLiteral("part %1").arg(row.no));
    rs.setField(Parts::vendor_code, row.vendor);
    rs.setField(Parts::unit_cost, Money::fromRaw(25000));
    rs.setField(Parts::unit_price, Money::fromRaw(40000));
    rs.setField(Parts::class_code, row.cls);
    rs.setField(Parts::general_stock, row.general);
    rs.setField(Parts::stock_qty, qint64(4));
    rs.setField(Parts::delivery_days, 3.0);
    rs.setField(Parts::last_delivery, row.last);
    rs.setField(Parts::features, row.features);
    rs.setField(Parts::picture_file, row.picture);
    rs.setField(Parts::manufacturer, QStringLiteral("Acme"));
    rs.update();
}

// The stored row at a position.
Value stored(int position, int column) {
    RecordSet& rs = parts();
    rs.moveFirst();
    rs.move(position);
    return rs.field(column);
}

void writeMarkup(float markup) {
    BizSettings record;
    record.markup_rate = markup;
    fixture->writeSettings(record);
}

void writePng(const QString& name) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(fixture->filePath(name), "PNG"));
}
} // namespace

class TestPartpage : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<BusinessFixture> f;
    ScriptedPrompts* prompts = nullptr;

    // Opened as the data finder opens it: the finder hands over its next number and whether
    // numbers are left.
    Partpage& open(qint16 newpart, int position = 0, qint16 max = 0, bool numbersLeft = true) {
        if (newpart == 0) {
            parts().moveFirst();
            parts().move(position);
        }
        Partpage& page = Partpage::get(f->business());
        page.newpart = newpart;
        page.max = max;
        page.numbersLeft = numbersLeft;
        page.load();
        page.show();
        // Active, so that the focus leaves a field as the user's Tab or click makes it leave.
        page.activateWindow();
        if (!QTest::qWaitForWindowActive(&page))
            qWarning("the part editor did not become active");
        return page;
    }
    // Typed into a field where the cursor is, as the user types: each character a key.
    void typeKeys(QLineEdit* edit, const QString& keys) {
        edit->setFocus(Qt::MouseFocusReason);
        for (const QChar key : keys) {
            if (key == QLatin1Char('<'))
                QTest::keyClick(edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(edit, QString(key));
        }
    }
    template <class T = QLineEdit> T* control(const QString& name) {
        Partpage* page = Partpage::loaded();
        T* found = page ? page->findChild<T*>(name) : nullptr;
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit* field(int i) { return control(QStringLiteral("Text1(%1)").arg(i)); }
    QPushButton* button(const char* name) { return control<QPushButton>(QLatin1String(name)); }
    // Fills what a new part needs besides its number.
    void fillNewPart() {
        const QStringList texts = {{},    "Bolt", "001     x", "$2.50", "$4.00", "000     MISC",
                                   "Yes", "7",    "3 days",    {},      {},      "Acme"};
        for (int i = 1; i < 12; ++i)
            if (!texts[i].isEmpty())
                field(i)->setText(texts[i]);
    }
    void save() {
        prompts->expectMessage(QStringLiteral("saved. "));
        QTest::mouseClick(button("Command1(0)"), Qt::LeftButton);
        QVERIFY2(prompts->done(), qPrintable(prompts->report()));
        QVERIFY(!Partpage::loaded());
    }
    void refused(const QString& message = QStringLiteral("please fill out the information")) {
        const int rows = parts().recordCount();
        prompts->expectMessage(message);
        QTest::mouseClick(button("Command1(0)"), Qt::LeftButton);
        QVERIFY2(prompts->done(), qPrintable(prompts->report()));
        QVERIFY(Partpage::loaded());
        QCOMPARE(parts().recordCount(), rows);
    }

private slots:
    void init() {
        f = std::make_unique<BusinessFixture>();
        fixture = f.get();
        prompts = &f->prompts();
    }
    void cleanup() {
        const bool promptsDone = prompts->done();
        const QString report = prompts->report();
        prompts = nullptr;
        fixture = nullptr;
        f.reset();
        QVERIFY2(promptsDone, qPrintable(report));
    }

    // Added from the parts list: the number the list hands over, and the list rebuilt after.
    void newPartTakesNextNumber() {
        addPart({.no = 37});
        addPart({.no = 5});
        databaseview& finder = f->showList(0);
        QString title, number, lastDelivery;
        bool numberEnabled = true, stepEnabled = true;
        whenShown<Partpage>([&](Partpage& page) {
            title = page.windowTitle();
            number = field(0)->text();
            numberEnabled = field(0)->isEnabled();
            lastDelivery = field(9)->text();
            stepEnabled = button("Command3(0)")->isEnabled() || button("Command3(1)")->isEnabled();
            fillNewPart();
            save();
        });
        QTest::mouseClick(finder.Command1[0], Qt::LeftButton);
        QVERIFY(!Partpage::loaded());
        QCOMPARE(title, QStringLiteral("Add New Part"));
        QCOMPARE(number, QStringLiteral("0038"));
        QVERIFY(!numberEnabled);
        QCOMPARE(lastDelivery, QStringLiteral("N/A"));
        QVERIFY(!stepEnabled);
        QCOMPARE(stored(2, Parts::part_no), Value(qint64(38)));
        QCOMPARE(finder.max, qint16(39)); // the finder's list was rebuilt
        QCOMPARE(finder.lineCount(), 3);
    }

    // While typing nothing typed is replaced (deleting inside "days" brings its letters back);
    // leaving the field puts an entry in the field's form and leaves anything else as typed.
    void typingAndLeaving_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("keys"); // "<" is a backspace
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("left");
        QTest::newRow("price into empty") << 4 << "" << 0 << "249.90"
                                          << "249.90"
                                          << "$249.90";
        QTest::newRow("cost with its sign") << 3 << "" << 0 << "$185.40"
                                            << "$185.40"
                                            << "$185.40";
        QTest::newRow("money letters") << 3 << "" << 0 << "$abc"
                                       << "$abc"
                                       << "$abc";
        QTest::newRow("quantity after its 0") << 7 << "0" << 1 << "12"
                                              << "012"
                                              << "012";
        QTest::newRow("quantity letters") << 7 << "0" << 1 << "x"
                                          << "0x"
                                          << "0x";
        QTest::newRow("days into empty") << 8 << "" << 0 << "5"
                                         << "5"
                                         << "5 days";
        QTest::newRow("days typed short") << 8 << "" << 0 << "3 dy"
                                          << "3 dy"
                                          << "3 days";
        QTest::newRow("final s deleted") << 8 << "3 days" << 6 << "<"
                                         << "3 days"
                                         << "3 days";
        QTest::newRow("its a deleted") << 8 << "3 days" << 4 << "<"
                                       << "3 days"
                                       << "3 days";
        QTest::newRow("digit in front") << 8 << "3 days" << 0 << "1"
                                        << "13 days"
                                        << "13 days";
        QTest::newRow("letter in front") << 8 << "3 days" << 0 << "x"
                                         << "x3 days"
                                         << "x3 days";
    }
    void typingAndLeaving() {
        QFETCH(int, index);
        QFETCH(QString, start);
        QFETCH(int, cursor);
        QFETCH(QString, keys);
        QFETCH(QString, typed);
        QFETCH(QString, left);
        open(-1);
        QLineEdit* edit = field(index);
        edit->setText(start);
        edit->setCursorPosition(cursor);
        typeKeys(edit, keys);
        QCOMPARE(edit->text(), typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
        QCOMPARE(edit->text(), left);
    }

    // Typed with or without their units into empty fields, the numbers are stored as typed.
    void typedNumbersStored() {
        open(-1);
        fillNewPart();
        for (int i : {3, 4, 7, 8})
            field(i)->clear();
        typeKeys(field(3), QStringLiteral("185.40"));
        typeKeys(field(4), QStringLiteral("$249.90"));
        typeKeys(field(7), QStringLiteral("5"));
        typeKeys(field(8), QStringLiteral("2.5 day"));
        save();
        QCOMPARE(stored(0, Parts::unit_cost), Value(Money::fromRaw(1854000)));
        QCOMPARE(stored(0, Parts::unit_price), Value(Money::fromRaw(2499000)));
        QCOMPARE(stored(0, Parts::stock_qty), Value(qint64(5)));
        QCOMPARE(stored(0, Parts::delivery_days), Value(2.5));
    }

    void priceSuggestion_data() {
        QTest::addColumn<float>("markup"); // 0: no settings file
        QTest::addColumn<QString>("cost");
        QTest::addColumn<QString>("expected");
        QTest::newRow("markup 1.5") << 1.5f << "$10.00"
                                    << "$15.00";
        QTest::newRow("no settings file") << 0.0f << "$10.00"
                                          << "$0.00";
        QTest::newRow("no cost keeps the price") << 1.5f << ""
                                                 << "$4.00";
        QTest::newRow("cost without its sign") << 1.5f << "10"
                                               << "$15.00";
        QTest::newRow("letters keep the price") << 1.5f << "ten"
                                                << "$4.00";
    }
    void priceSuggestion() {
        QFETCH(float, markup);
        QFETCH(QString, cost);
        QFETCH(QString, expected);
        if (markup != 0)
            writeMarkup(markup);
        open(-1);
        field(4)->setText(QStringLiteral("$4.00"));
        field(3)->setText(cost);
        if (cost == QLatin1String("ten"))
            prompts->expectMessage(
                QStringLiteral("Please enter the unit cost as a number from 0 to 100000000000."));
        QTest::mouseDClick(field(4), Qt::LeftButton);
        QCOMPARE(field(4)->text(), expected);
    }

    void generalStockQuestion() {
        open(-1);
        fillNewPart();
        field(7)->setText(QStringLiteral("12"));
        prompts->expectQuestion(QStringLiteral("Is the part general stock"),
                                QStringLiteral("General stock info."), false);
        QTest::mouseClick(field(6), Qt::LeftButton);
        QCOMPARE(field(6)->text(), QStringLiteral("No"));
        QVERIFY(!field(7)->isEnabled());
        save();
        QCOMPARE(stored(0, Parts::general_stock), Value(false));
        QCOMPARE(stored(0, Parts::stock_qty), Value(qint64(12)));
    }

    void stepButtons_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("back");
        QTest::addColumn<bool>("forward");
        QTest::newRow("single row") << 1 << 0 << false << false;
        QTest::newRow("first of three") << 3 << 0 << false << true;
        QTest::newRow("middle") << 3 << 1 << true << true;
        QTest::newRow("last of three") << 3 << 2 << true << false;
    }
    void stepButtons() {
        QFETCH(int, rows);
        QFETCH(int, position);
        QFETCH(bool, back);
        QFETCH(bool, forward);
        for (int n = 1; n <= rows; ++n)
            addPart({.no = n});
        open(0, position);
        QCOMPARE(button("Command3(0)")->isEnabled(), back);
        QCOMPARE(button("Command3(1)")->isEnabled(), forward);
    }

    // Stepping moves the shared parts connection; a save writes the row last shown.
    void saveAfterStepping() {
        for (int n = 1; n <= 3; ++n)
            addPart({.no = n});
        Partpage& page = open(0, 0);
        QTest::mouseClick(button("Command3(1)"), Qt::LeftButton);
        QTest::mouseClick(button("Command3(1)"), Qt::LeftButton);
        QTest::mouseClick(button("Command3(0)"), Qt::LeftButton);
        QCOMPARE(page.windowTitle(), QStringLiteral("Edit/View Part #0002"));
        QCOMPARE(parts().absolutePosition(), 1);
        field(1)->setText(QStringLiteral("renamed"));
        save();
        QCOMPARE(stored(1, Parts::description), Value(QStringLiteral("renamed")));
        QCOMPARE(stored(0, Parts::description), Value(QStringLiteral("part 1")));
    }

    void emptyFeatures_data() {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Value>("expected");
        QTest::newRow("existing part keeps them") << false << "" << Value("old");
        QTest::newRow("existing part changed") << false << "new" << Value("new");
        QTest::newRow("new part stores null") << true << "" << Value();
    }
    void emptyFeatures() {
        QFETCH(bool, adding);
        QFETCH(QString, typed);
        QFETCH(Value, expected);
        if (adding) {
            open(-1);
            fillNewPart();
        } else {
            addPart({.features = Value("old")});
            open(0);
            QCOMPARE(field(10)->text(), QStringLiteral("old"));
        }
        field(10)->setText(typed);
        save();
        QCOMPARE(stored(0, Parts::features), expected);
    }

    void lastDeliveryRoundTrip_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << baseDate() << "N/A";
        QTest::newRow("a date") << QDate(2023, 3, 5) << "03/05/2023";
    }
    void lastDeliveryRoundTrip() {
        QFETCH(QDate, date);
        QFETCH(QString, shown);
        addPart({.last = date});
        open(0);
        QCOMPARE(field(9)->text(), shown);
        QVERIFY(!field(9)->isEnabled());
        save();
        QCOMPARE(stored(0, Parts::last_delivery), Value(date));
        open(0);
        QCOMPARE(field(9)->text(), shown);
    }

    void codeLines() {
        f->business().vendor_codes().setEntry(5, QStringLiteral("Bolts Inc"));
        addPart({.no = 1, .vendor = 0, .cls = 0});
        addPart({.no = 2, .vendor = 5, .cls = 5});
        open(0, 0);
        QCOMPARE(field(2)->text(), QStringLiteral("000     UNKNOWN"));
        QCOMPARE(field(5)->text(), QStringLiteral("000     MISC"));
        save();
        QCOMPARE(stored(0, Parts::vendor_code), Value(qint64(0)));
        QCOMPARE(stored(0, Parts::class_code), Value(qint64(0)));

        open(0, 1);
        QCOMPARE(field(2)->text(), QStringLiteral("005     Bolts Inc").leftJustified(38));
        // The vendor list opens under its field; a line copies into it; a label hides the lists.
        auto* vendors = control<QListWidget>(QStringLiteral("List1"));
        auto* classes = control<QListWidget>(QStringLiteral("List2"));
        QTest::mouseClick(field(2), Qt::LeftButton);
        QVERIFY(vendors->isVisible() && !classes->isVisible());
        QListWidgetItem* line = vendors->item(6);
        vendors->scrollToItem(line);
        QTest::mouseClick(vendors->viewport(), Qt::LeftButton, {},
                          vendors->visualItemRect(line).center());
        QCOMPARE(field(2)->text(), line->text());
        QVERIFY(!vendors->isVisible());
        QTest::mouseClick(field(5), Qt::LeftButton);
        QVERIFY(classes->isVisible());
        QCOMPARE(classes->item(0)->text(), QStringLiteral("000      MISC"));
        QTest::mouseClick(control<QLabel>(QStringLiteral("Label1(1)")), Qt::LeftButton);
        QVERIFY(!classes->isVisible());
        save();
        QCOMPARE(stored(1, Parts::vendor_code), Value(qint64(7)));
    }

    // A number field that holds no valid entry refuses the save with what it wants, and the
    // focus goes back to it; nothing is stored as 0.
    void badNumbersRefused_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("wanted");
        const QString cost = QStringLiteral("the unit cost as a number from 0 to 100000000000");
        QTest::newRow("letters in the cost") << 3 << "x12" << cost;
        QTest::newRow("negative cost") << 3 << "-5" << cost;
        QTest::newRow("cost too large") << 3 << "$1e300" << cost;
        QTest::newRow("sign alone in the price")
            << 4 << "$"
            << "the unit price as a number from 0 to 100000000000";
        QTest::newRow("quantity not whole")
            << 7 << "2.5"
            << "the stock quantity as a whole number from 0 to 999999999";
        QTest::newRow("days in words") << 8 << "five days"
                                       << "the delivery time in days as a number from 0 to 9999";
        QTest::newRow("negative days") << 8 << "-3 days"
                                       << "the delivery time in days as a number from 0 to 9999";
    }
    void badNumbersRefused() {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QString, wanted);
        addPart({});
        open(0);
        field(index)->setText(typed);
        refused(QStringLiteral("Please enter %1.").arg(wanted));
        QCOMPARE(field(index)->text(), typed);
        QVERIFY(field(index)->hasFocus());
        QCOMPARE(stored(0, Parts::unit_cost), Value(Money::fromRaw(25000)));
        QCOMPARE(stored(0, Parts::delivery_days), Value(3.0));
    }

    // Esc, the close box, "Close" and the step buttons ask before changes are dropped; with
    // nothing changed (or typed back as it was) they go without a question.
    void unsavedChanges_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("change"); // typed into the description, "picture" cleared
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("gone"); // the editor closed or stepped on
        QTest::newRow("Close unchanged") << "Close"
                                         << "" << false << true;
        QTest::newRow("Close typed, Yes") << "Close"
                                          << "x" << true << true;
        QTest::newRow("Esc typed, No") << "Esc"
                                       << "x" << false << false;
        QTest::newRow("Esc typed back") << "Esc"
                                        << "x<" << false << true;
        QTest::newRow("close box picture, No") << "box"
                                               << "picture" << false << false;
        QTest::newRow("close box typed, Yes") << "box"
                                              << "x" << true << true;
        QTest::newRow("step unchanged") << ">"
                                        << "" << false << true;
        QTest::newRow("step typed, No") << ">"
                                        << "x" << false << false;
        QTest::newRow("step typed, Yes") << ">"
                                         << "x" << true << true;
    }
    void unsavedChanges() {
        QFETCH(QString, way);
        QFETCH(QString, change);
        QFETCH(bool, yes);
        QFETCH(bool, gone);
        addPart({.no = 1, .picture = Value("OLD.PNG")});
        addPart({.no = 2});
        Partpage& page = open(0, 0);
        if (change == QLatin1String("picture")) {
            prompts->expectInput(QStringLiteral("Please enter filename"),
                                 QStringLiteral("part picture "), QString());
            QTest::mouseClick(control<QLabel>(QStringLiteral("Picture1")), Qt::LeftButton);
        } else {
            typeKeys(field(1), change);
        }
        const QString shown = field(1)->text();
        const bool changed = !change.isEmpty() && change != QLatin1String("x<");
        if (changed)
            prompts->expectQuestion(QStringLiteral("Discard your changes?"), QString(), yes);
        if (way == QLatin1String("Close"))
            QTest::mouseClick(button("Command1(1)"), Qt::LeftButton);
        else if (way == QLatin1String("Esc"))
            QTest::keyClick(field(1), Qt::Key_Escape);
        else if (way == QLatin1String("box"))
            page.close();
        else
            QTest::mouseClick(button("Command3(1)"), Qt::LeftButton);
        QVERIFY2(prompts->done(), qPrintable(prompts->report()));
        if (way == QLatin1String(">")) {
            QCOMPARE(page.windowTitle(), gone ? QStringLiteral("Edit/View Part #0002")
                                              : QStringLiteral("Edit/View Part #0001"));
            QCOMPARE(field(1)->text(), gone ? QStringLiteral("part 2") : shown);
        } else {
            QCOMPARE(Partpage::loaded() == nullptr, gone);
            QVERIFY(gone || page.isVisible());
        }
        QCOMPARE(stored(0, Parts::description), Value(QStringLiteral("part 1")));
        QCOMPARE(stored(0, Parts::picture_file), Value(QStringLiteral("OLD.PNG")));
    }

    // The list's guard, should a full table be reached from it all the same.
    void numbersUsedUp() {
        addPart({.no = 32767});
        databaseview& finder = f->showList(0);
        QVERIFY(!finder.numbersLeft());
        open(-1, 0, finder.max, finder.numbersLeft());
        fillNewPart();
        refused(QStringLiteral("No more records can be added: record numbers cannot pass 32767."));
    }

    void engineErrorKeepsWindow() {
        addPart({});
        parts().database().execute("CREATE TRIGGER refuse BEFORE UPDATE ON Parts "
                                   "BEGIN SELECT RAISE(ABORT, 'refused by test'); END");
        open(0);
        field(1)->setText(QStringLiteral("changed"));
        refused(DbError(parts().database().path(), QStringLiteral("refused by test")).message());
        QVERIFY(!parts().isEditing());
        QCOMPARE(stored(0, Parts::description), Value(QStringLiteral("part 1")));
    }

    void pictures_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<Value>("expected");
        QTest::newRow("other case") << "Pic.Png" << false << Value("PIC.PNG");
        QTest::newRow("in a subfolder") << "sub/PIC.png" << false << Value("SUB/PIC.PNG");
        QTest::newRow("wildcard") << "*.png" << true << Value("OLD.PNG");
        QTest::newRow("no picture") << "notes.png" << true << Value("OLD.PNG");
        QTest::newRow("outside the folder") << "../0/pic.png" << true << Value("OLD.PNG");
        QTest::newRow("missing") << "gone.png" << true << Value("OLD.PNG");
        QTest::newRow("empty clears") << "" << false << Value("NULL");
    }
    void pictures() {
        QFETCH(QString, answer);
        QFETCH(bool, refused);
        QFETCH(Value, expected);
        writePng(QStringLiteral("pic.png"));
        writePng(QStringLiteral("old.png"));
        QDir(f->business().folder()).mkdir(QStringLiteral("Sub"));
        writePng(QStringLiteral("Sub/pic.png"));
        QFile notes(f->filePath(QStringLiteral("notes.png")));
        QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("no picture") > 0);
        notes.close();
        addPart({.picture = Value("OLD.PNG")});
        open(0);
        auto* picture = control<QLabel>(QStringLiteral("Picture1"));
        QVERIFY(!picture->pixmap().isNull()); // the stored name is found in lower case
        prompts->expectInput(QStringLiteral("Please enter filename"),
                             QStringLiteral("part picture "), answer);
        if (refused)
            prompts->expectMessage(QStringLiteral("filename doesn't exist"));
        QTest::mouseClick(picture, Qt::LeftButton);
        QCOMPARE(picture->pixmap().isNull(), answer.isEmpty());
        save();
        QCOMPARE(stored(0, Parts::picture_file), expected);
    }
};

QTEST_MAIN(TestPartpage)
#include "tst_partpage.moc"
