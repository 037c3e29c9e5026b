// Every window worked by the keyboard alone: tab order, Return and Space on fields and lines,
// Esc on the pop-ups, and the captions' Alt keys.
#include "core/common/clock.h"
#include "gui/app/settings.h"
#include "gui/catalogue/codepage.h"
#include "gui/catalogue/partpage.h"
#include "gui/finder/databaseview.h"
#include "gui/finder/getpart.h"
#include "gui/finder/pickercaller.h"
#include "gui/sales/custpage.h"
#include "gui/sales/showinvoices.h"
#include "gui/sales/viewinvoice.h"
#include "support/businessfixture.h"
#include "support/modal.h"

#include <QCalendarWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {
// The names of a window's tab stops, in the order Tab visits them from the focus.
QStringList tabStops(QWidget* window) {
    QStringList names;
    QWidget* start = QApplication::focusWidget();
    if (!start || !window->isAncestorOf(start))
        start = window;
    QWidget* widget = start;
    do {
        if (window->isAncestorOf(widget) && widget->isVisible() && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
            names << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != start);
    return names;
}

QStringList numbered(const QString& name, int from, int to) {
    QStringList names;
    for (int i = from; i <= to; ++i)
        names << QStringLiteral("%1(%2)").arg(name).arg(i);
    return names;
}

// A key as the user types it: to whichever widget has the focus.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the keyboard focus");
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

// The record the invoice editor opens on when the key is pressed; the editor is closed again.
qint16 invoiceOpenedBy(int key) {
    qint16 rec = -100;
    whenShown<viewinvoice>([&rec](viewinvoice& editor) {
        rec = editor.rec;
        editor.close();
    });
    press(key);
    return rec;
}

bool shownActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// The invoice editor as the picker sees it: counts the choices handed back.
class Caller : public PickerCaller {
public:
    QStringList taken;
    qint16 pickerOnto() const override { return 0; }
    qint16 pickerCnt() const override { return 0; }
    PickerLine pickerLine() const override { return {}; }
    void adder(qint16) override {
        getpart* picker = getpart::loaded();
        taken << picker->Text1[2]->text().left(4) + QLatin1Char('x') + picker->Text1[4]->text();
        picker->unload();
    }
};
} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<BusinessFixture> f;
    Caller caller;

    template <class W, class Set> W* loaded(Set set) {
        W& window = W::get(f->business());
        set(window);
        window.load();
        return &window;
    }
    // A window loaded as its opener loads it: adding a part or a customer, the class codes, the
    // picker for an invoice.
    QWidget* openWindow(const QString& name) {
        if (name == QLatin1String("Codepage"))
            return loaded<Codepage>([](Codepage& page) { page.mode = -1; });
        if (name == QLatin1String("getpart"))
            return loaded<getpart>([this](getpart& picker) {
                picker.mode = -1;
                picker.caller = &caller;
            });
        if (name == QLatin1String("Partpage"))
            return loaded<Partpage>([](Partpage& page) { page.newpart = -1; });
        if (name == QLatin1String("custpage"))
            return loaded<custpage>([](custpage& page) { page.newcust = -1; });
        return loaded<settings>([](settings&) {});
    }

private slots:
    void init() {
        appclock::setToday(QDate(2025, 3, 3));
        f = std::make_unique<BusinessFixture>();
    }
    void cleanup() {
        closeModalWindows();
        delete Codepage::loaded();
        delete getpart::loaded();
        delete Partpage::loaded();
        delete custpage::loaded();
        delete showinvoices::loaded();
        delete settings::loaded();
        QVERIFY2(f->prompts().done(), qPrintable(f->prompts().report()));
        f.reset();
        appclock::setToday(std::nullopt);
    }

    void tabFollowsTheLayout_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("stops");
        QTest::newRow("codes") << "Codepage" << numbered("Text2", 0, 6) + QStringList{"Command1"};
        // The two kinds are one stop, the checked one; the arrow keys change the kind.
        QTest::newRow("picker") << "getpart"
                                << QStringList{"Option1(0)"} + numbered("Text1", 0, 4) +
                                       QStringList{"Command1", "Command2"};
        QTest::newRow("part") << "Partpage"
                              << numbered("Text1", 1, 8) + numbered("Text1", 10, 11) +
                                     QStringList{"Picture1"} + numbered("Command1", 0, 1);
        QTest::newRow("customer") << "custpage"
                                  << numbered("Text1", 1, 5) + numbered("Command1", 0, 2);
        QTest::newRow("settings") << "settings"
                                  << numbered("Text1", 0, 7) + numbered("Command1", 0, 1);
    }
    void tabFollowsTheLayout() {
        QFETCH(QString, window);
        QFETCH(QStringList, stops);
        QWidget* shown = openWindow(window);
        QVERIFY(shownActive(shown));
        QCOMPARE(tabStops(shown), stops);
    }

    void codesReachEveryRowByKeys() {
        auto* page = static_cast<Codepage*>(openWindow(QStringLiteral("Codepage")));
        QVERIFY(shownActive(page));
        page->Text2[0]->setFocus();
        for (int i = 0; i < 14; ++i)
            press(Qt::Key_PageDown);
        press(Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), page->Text2[1]);
        QCOMPARE(page->Text1[1]->text(), QStringLiteral("100"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Valves"));
        QCOMPARE(f->business().class_codes().entry(100).trimmed(), QStringLiteral("Valves"));
        // Down on the bottom row scrolls; the focus stays on that row.
        page->Text2[6]->setFocus();
        press(Qt::Key_Down);
        QCOMPARE(page->Text1[6]->text(), QStringLiteral("106"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Pumps"));
        QCOMPARE(f->business().class_codes().entry(106).trimmed(), QStringLiteral("Pumps"));
        press(Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!Codepage::loaded()); // the Alt key presses the button after a moment
        QVERIFY(QFile::exists(f->filePath(QStringLiteral("classprt.dat"))));
    }

    void pickerChoosesByKeys() {
        f->addPart(5, QStringLiteral("bolt"), 1);
        f->addPart(7, QStringLiteral("nut"), 2);
        auto* picker = static_cast<getpart*>(openWindow(QStringLiteral("getpart")));
        QVERIFY(shownActive(picker));
        // Esc puts a pop-up away and leaves the picker open.
        picker->Text1[0]->setFocus();
        press(Qt::Key_Space);
        QVERIFY(picker->List1->isVisible());
        press(Qt::Key_Escape);
        QVERIFY(!picker->List1->isVisible());
        QCOMPARE(QApplication::focusWidget(), picker->Text1[0]);

        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        press(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), picker->List2);
        press(Qt::Key_Down);
        press(Qt::Key_Return);
        QVERIFY(!picker->List2->isVisible());
        QVERIFY(picker->Text1[2]->text().startsWith(QStringLiteral("0007")));
        QCOMPARE(QApplication::focusWidget(), picker->Text1[2]);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        f->prompts().expectInput(QStringLiteral("Enter int (#)"), QStringLiteral("input qty"),
                                 QStringLiteral("3"));
        press(Qt::Key_Return);
        QVERIFY(caller.taken.isEmpty()); // Return on a field does not press "Add I/P"
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), picker->Command1);
        press(Qt::Key_Return);
        QCOMPARE(caller.taken, QStringList{QStringLiteral("0007x3")});
    }

    void finderWorksByKeys() {
        f->addPart(5, QStringLiteral("zinc bolt"), 1);
        f->addPart(7, QStringLiteral("axle"), 2);
        f->addCustomer(3, QStringLiteral("Ann"), QStringLiteral("Lee"));
        f->addCustomer(12, QStringLiteral("John"), QStringLiteral("Smith"));
        databaseview* finder = &f->showList(0);
        QVERIFY(shownActive(&MDIForm1::get()));
        QCOMPARE(tabStops(finder),
                 numbered("Label1", 0, 4) + numbered("List1", 0, 4) + numbered("Command1", 0, 4) +
                     QStringList{"ExportList"});
        // Space on a header sorts by it; F3 searches its column; Esc closes the search.
        finder->Label1[2]->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Space);
        QCOMPARE(finder->cellText(2, 0), QStringLiteral("axle"));
        finder->List1[1]->setFocus();
        press(Qt::Key_F3);
        QVERIFY(finder->Frame1->isVisible());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Maker z"));
        QCOMPARE(finder->selectedLine(), 1);
        press(Qt::Key_Escape);
        QVERIFY(!finder->Frame1->isVisible());

        QString opened;
        whenShown<Partpage>([&opened](Partpage& page) {
            opened = page.windowTitle();
            QTest::mouseClick(page.Command1[1], Qt::LeftButton);
        });
        finder->List1[0]->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(opened, QStringLiteral("Edit/View Part #0005"));

        // The closed editor left the list rebuilt by number with no line highlighted: Space
        // highlights the line with the focus, the first. The customer list for a sale takes the
        // focus; Return sells to the line's customer.
        QVERIFY(shownActive(&MDIForm1::get()));
        QCOMPARE(finder->selectedLine(), -1);
        finder->List1[0]->setFocus();
        press(Qt::Key_Space);
        QCOMPARE(finder->selectedLine(), 0);
        QTest::mouseClick(finder->Command1[4], Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), finder->List4);
        press(Qt::Key_Down);
        f->prompts().expectInput(QStringLiteral("Enter quantity to sell"),
                                 QStringLiteral("Selling parts/items"), QStringLiteral("1"));
        // The sold line is not saved: closing asks.
        f->prompts().expectQuestion(QStringLiteral("Discard your changes?"), QString(), true);
        QCOMPARE(invoiceOpenedBy(Qt::Key_Return), qint16(-13));
    }

    void partFieldsWorkByKeys() {
        f->business().vendor_codes().setEntry(3, QStringLiteral("Acme"));
        auto* page = static_cast<Partpage*>(openWindow(QStringLiteral("Partpage")));
        QVERIFY(shownActive(page));
        page->Text1[2]->setFocus();
        press(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), page->List1);
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        press(Qt::Key_Return);
        QVERIFY(!page->List1->isVisible());
        QVERIFY(page->Text1[2]->text().startsWith(QStringLiteral("003")));
        QCOMPARE(QApplication::focusWidget(), page->Text1[2]);

        f->prompts().expectQuestion(QStringLiteral("Is the part general stock"),
                                    QStringLiteral("General stock info."), true);
        page->Text1[6]->setFocus();
        press(Qt::Key_Space);
        QCOMPARE(page->Text1[6]->text(), QStringLiteral("Yes"));

        // Return on the price suggests one, as a double-click does.
        page->Text1[3]->setText(QStringLiteral("$4.00"));
        page->Text1[4]->setFocus();
        press(Qt::Key_Return);
        const QString keyed = page->Text1[4]->text();
        page->Text1[4]->clear();
        QTest::mouseDClick(page->Text1[4], Qt::LeftButton);
        QCOMPARE(keyed, page->Text1[4]->text());
        QVERIFY(!keyed.isEmpty());

        f->prompts().expectInput(QStringLiteral("Please enter filename"),
                                 QStringLiteral("part picture "), QString());
        page->Text1[11]->setFocus();
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), page->Picture1);
        press(Qt::Key_Return);
    }

    void birthDateIsPickedByKeys() {
        auto* page = static_cast<custpage*>(openWindow(QStringLiteral("custpage")));
        QVERIFY(shownActive(page));
        page->Text1[5]->setFocus();
        press(Qt::Key_Return);
        QVERIFY(page->Calendar1->isVisible());
        press(Qt::Key_Escape);
        QVERIFY(!page->Calendar1->isVisible());
        QVERIFY(custpage::loaded());
        press(Qt::Key_Return);
        press(Qt::Key_Left); // no later than today
        press(Qt::Key_Return);
        QCOMPARE(page->Text1[5]->text(), QStringLiteral("Mar 02, 2025"));
        QVERIFY(!page->Calendar1->isVisible());
        QCOMPARE(QApplication::focusWidget(), page->Text1[5]);
        f->prompts().expectQuestion(QStringLiteral("Discard your changes?"), QString(), true);
        press(Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!custpage::loaded());
    }

    void invoiceLineOpensWithReturn() {
        f->addInvoice(1, 0);
        f->addInvoice(2, 0);
        showinvoices& list = showinvoices::get(f->business());
        list.cust = 0;
        list.load();
        QVERIFY(shownActive(&list));
        QCOMPARE(tabStops(&list),
                 QStringList{"List1"} + numbered("Command1", 0, 2) + QStringList{"ExportList"});
        list.List1->setFocus();
        press(Qt::Key_Down);
        QCOMPARE(invoiceOpenedBy(Qt::Key_Return), qint16(1));
    }

    void returnPressesTheFocusedButtonNotTheDefault() {
        settings* page = static_cast<settings*>(openWindow(QStringLiteral("settings")));
        QVERIFY(shownActive(page));
        page->Text1[0]->setFocus();
        f->prompts().expectMessage(QStringLiteral("Please fill out settings correctly"));
        press(Qt::Key_Return); // the default "&Save" refuses the empty fields
        page->Command1[1]->setFocus();
        press(Qt::Key_Return);
        QVERIFY(!settings::loaded());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
