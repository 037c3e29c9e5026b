// One business at a time: the windows of a business go with it, the data finder acts on the line
// the user highlighted, a greyed control does nothing, and a window asked for twice comes
// forward. Driven as a user drives the program: real clicks and keys, the real boxes.
#include "core/business/bizsettings.h"
#include "core/business/codetable.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordfile.h"
#include "core/common/recordset.h"
#include "core/items/itemtables.h"
#include "gui/app/settings.h"
#include "gui/catalogue/codepage.h"
#include "gui/catalogue/partpage.h"
#include "gui/finder/databaseview.h"
#include "gui/items/changingitem.h"
#include "gui/items/newitem.h"
#include "gui/sales/custpage.h"
#include "gui/sales/viewinvoice.h"
#include "support/businessfixture.h"
#include "support/modaldriver.h"
#include "support/useractions.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

template <class T = QWidget>
T* control(QWidget* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("no control %s in %s", qPrintable(name), qPrintable(window->objectName()));
    return found;
}

QString partNames(const QString& file) {
    RecordSet parts(file, Parts::table);
    QStringList names;
    for (parts.moveFirst(); !parts.eof(); parts.moveNext())
        names << parts.field(Parts::description).toText();
    return names.join(QLatin1Char(','));
}

// The line of a finder column whose text starts with the given text.
int lineStarting(databaseview& finder, int column, const QString& start) {
    for (int line = 0; line < finder.lineCount(); ++line) {
        if (finder.cellText(column, line).startsWith(start))
            return line;
    }
    return -1;
}

int framesShowing(const QString& objectName) {
    int count = 0;
    for (QMdiSubWindow* frame : MDIForm1::get().mdiArea()->subWindowList()) {
        if (frame->widget() && frame->widget()->objectName() == objectName &&
            frame->isVisible())
            ++count;
    }
    return count;
}

const QString newBusinessPrompt = QStringLiteral("Enter name of business (> 4 char): ");

} // namespace

class TestSession : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<BusinessFixture> f;
    std::unique_ptr<ModalDriver> driver;

    void check() { QVERIFY2(driver->done(), qPrintable(driver->report())); }
    QToolButton* toolbar(int i) {
        return control<QToolButton>(&f->main(), QStringLiteral("Command1(%1)").arg(i));
    }
    // New Business "Second Works" through the menu, the settings window saved as offered.
    void newSecondBusiness() {
        driver->expectInput(newBusinessPrompt, QStringLiteral("New Business Name"),
                            QStringLiteral("Second Works"));
        driver->expectMessage(QStringLiteral("new business added at area 2"));
        user::chooseMenu(&f->main(), QStringLiteral("File"), QStringLiteral("File_new"));
        settings* window = settings::loaded();
        QVERIFY(window && window->isVisible());
        driver->expectMessage(QStringLiteral("settings saved"));
        user::click(window->Command1[0]);
        check();
    }

private slots:
    void init() {
        f = std::make_unique<BusinessFixture>(BusinessFixture::Contents::Sample,
                                              BusinessFixture::Boxes::Real);
        driver = std::make_unique<ModalDriver>();
    }
    void cleanup() {
        driver.reset();
        f.reset();
    }

    // Close Business takes the list with it; the next business's list adds to its own file.
    void closingTakesTheWindows() {
        user::click(toolbar(1));
        QPointer<databaseview> oldList = databaseview::loaded();
        QVERIFY(oldList && oldList->isVisible());
        const QString firstParts = partNames(f->filePath(QStringLiteral("parts.fdb")));

        user::chooseMenu(&f->main(), QStringLiteral("File"), QStringLiteral("File_close"));
        QVERIFY(!databaseview::loaded());
        QVERIFY(!oldList || !oldList->isVisible());
        QCOMPARE(framesShowing(QStringLiteral("databaseview")), 0);

        newSecondBusiness();
        QCOMPARE(f->main().session()->slot(), 1);
        user::click(toolbar(1));
        databaseview* list = databaseview::loaded();
        QVERIFY(list && list != oldList);
        QCOMPARE(list->lineCount(), 0);

        driver->expectWindow(QStringLiteral("Partpage"), [](QWidget* w) {
            auto* page = static_cast<Partpage*>(w);
            user::type(page->Text1[1], QStringLiteral("Spring"));
            page->Text1[2]->setText(QStringLiteral("000     UNKNOWN"));
            page->Text1[3]->setText(QStringLiteral("$2.00"));
            page->Text1[4]->setText(QStringLiteral("$3.00"));
            page->Text1[5]->setText(QStringLiteral("000      MISC"));
            page->Text1[6]->setText(QStringLiteral("No"));
            page->Text1[8]->setText(QStringLiteral("3 days"));
            user::type(page->Text1[11], QStringLiteral("Acme"));
            user::click(page->Command1[0]);
        });
        driver->expectMessage(QStringLiteral("saved. "));
        user::click(list->Command1[0]);
        check();
        QCOMPARE(partNames(f->home.file(QStringLiteral("1/parts.fdb"))), QStringLiteral("Spring"));
        QCOMPARE(partNames(f->filePath(QStringLiteral("parts.fdb"))), firstParts);
    }

    // Exit with the first settings window open ends everything and writes no settings anywhere.
    void exitWithTheSettingsWindowOpen() {
        user::chooseMenu(&f->main(), QStringLiteral("File"), QStringLiteral("File_close"));
        driver->expectInput(newBusinessPrompt, QStringLiteral("New Business Name"),
                            QStringLiteral("Second Works"));
        driver->expectMessage(QStringLiteral("new business added at area 2"));
        user::chooseMenu(&f->main(), QStringLiteral("File"), QStringLiteral("File_new"));
        QPointer<settings> window = settings::loaded();
        QVERIFY(window && window->isVisible());

        user::chooseMenu(&f->main(), QStringLiteral("File"), QStringLiteral("File_exit"));
        check();
        QVERIFY(!settings::loaded());
        QVERIFY(!window || !window->isVisible());
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY2(!top->isVisible(), qPrintable(top->objectName()));
        QVERIFY(!QFile::exists(f->home.file(QStringLiteral("settings.dat"))));
        QVERIFY(!QFile::exists(f->home.file(QStringLiteral("1/settings.dat"))));
        // The registry remembers the open business for the next start.
        QVERIFY(QFile::exists(f->home.file(QStringLiteral("loadbiz.dat"))));
    }

    // A new business starts with blank codes, whatever the business before it held.
    void newBusinessStartsWithBlankCodes() {
        f->business().class_codes().setEntry(1, QStringLiteral("Bearings"));
        driver->expectWindow(QStringLiteral("Codepage"), [](QWidget* w) {
            user::click(static_cast<Codepage*>(w)->Command1);
        });
        user::chooseMenu(&f->main(), QStringLiteral("DatabaseMenu"),
                         QStringLiteral("DatabaseMenu_Class"));
        check();
        user::chooseMenu(&f->main(), QStringLiteral("File"), QStringLiteral("File_close"));
        newSecondBusiness();

        QString shown;
        driver->expectWindow(QStringLiteral("Codepage"), [&shown](QWidget* w) {
            auto* page = static_cast<Codepage*>(w);
            shown = page->Text2[1]->text();
            user::click(page->Command1);
        });
        user::chooseMenu(&f->main(), QStringLiteral("DatabaseMenu"),
                         QStringLiteral("DatabaseMenu_Class"));
        check();
        QCOMPARE(shown.trimmed(), QString());
        const RecordRead second =
            readRecord(f->home.file(QStringLiteral("1/classprt.dat")), CodeTable::fileSize);
        QCOMPARE(CodeTable::decode(second.bytes)->entry(1).trimmed(), QString());
        const RecordRead first = readRecord(f->filePath(QStringLiteral("classprt.dat")),
                                            CodeTable::fileSize);
        QCOMPARE(CodeTable::decode(first.bytes)->entry(1).trimmed(), QStringLiteral("Bearings"));
    }

    // After stepping in the part editor and closing it, the list is rebuilt by number with no
    // line highlighted, and each action works on the line highlighted next.
    void actionsWorkOnTheHighlightedLine() {
        user::click(toolbar(1));
        databaseview* list = databaseview::loaded();
        user::click(list->Label1[2]); // sorted by description
        const int nut = lineStarting(*list, 2, QStringLiteral("Nut"));
        user::clickLine(list->List1[2], nut);
        QString stepped;
        driver->expectWindow(QStringLiteral("Partpage"), [&stepped](QWidget* w) {
            auto* page = static_cast<Partpage*>(w);
            user::click(page->Command3[1]);
            stepped = page->Text1[1]->text();
            user::click(page->Command1[1]);
        });
        user::click(list->Command1[1]);
        check();
        QVERIFY(stepped != QStringLiteral("Nut"));
        QCOMPARE(list->selectedLine(), -1);
        for (int line = 0; line < list->lineCount(); ++line)
            QVERIFY(list->cellText(0, line).startsWith(QStringLiteral("000%1").arg(line + 1)));

        const int washer = lineStarting(*list, 2, QStringLiteral("Washer"));
        user::clickLine(list->List1[0], washer);
        QString opened;
        driver->expectWindow(QStringLiteral("Partpage"), [&opened](QWidget* w) {
            auto* page = static_cast<Partpage*>(w);
            opened = page->Text1[1]->text();
            user::click(page->Command1[1]);
        });
        user::click(list->Command1[1]);
        check();
        QCOMPARE(opened, QStringLiteral("Washer"));

        // Selling: the invoice's first line is the highlighted part.
        user::clickLine(list->List1[0], lineStarting(*list, 2, QStringLiteral("Bolt")));
        user::click(list->Command1[4]);
        QVERIFY(list->List4->isVisible());
        QString sold;
        driver->expectInput(QStringLiteral("Enter quantity to sell"),
                            QStringLiteral("Selling parts/items"), QStringLiteral("2"));
        driver->expectWindow(QStringLiteral("viewinvoice"), [&sold](QWidget* w) {
            auto* editor = static_cast<viewinvoice*>(w);
            sold = editor->Text3[0]->text();
            user::click(editor->Command1[2]);
        });
        // The sold line is not saved: closing asks.
        driver->expectQuestion(QStringLiteral("Discard your changes?"), QString(), true);
        const QModelIndex ann = list->List4->model()->index(0, 0);
        asUser([&] {
            QTest::mouseClick(list->List4->viewport(), Qt::LeftButton, {},
                              list->List4->visualRect(ann).center());
        });
        check();
        QCOMPARE(sold, QStringLiteral("Bolt"));

        // Deleting: the highlighted part goes, no other.
        user::clickLine(list->List1[0], lineStarting(*list, 2, QStringLiteral("Washer")));
        driver->expectQuestion(QStringLiteral("Are you sure"), QStringLiteral("deleting part"),
                               true);
        user::click(list->Command1[2]);
        check();
        QCOMPARE(partNames(f->filePath(QStringLiteral("parts.fdb"))),
                 QStringLiteral("Bolt,Nut,Plate"));
    }

    // The new item button asked for twice gives one dialog, brought forward with its text.
    void newItemComesForward() {
        user::click(toolbar(2));
        newitem* dialog = newitem::loaded();
        QVERIFY(dialog);
        user::type(dialog->Text1[1], QStringLiteral("Hinge"));
        user::click(toolbar(2));
        QCOMPARE(newitem::loaded(), dialog);
        QCOMPARE(framesShowing(QStringLiteral("newitem")), 1);
        QCOMPARE(dialog->Text1[1]->text(), QStringLiteral("Hinge"));
        user::click(dialog->Command2);
        QVERIFY(!newitem::loaded());
        QCOMPARE(framesShowing(QStringLiteral("newitem")), 0);
    }

    // A greyed control does nothing, however it is clicked: the mark-up of a confirmed item,
    // the tax and the grid of a confirmed invoice.
    void greyedControlsDoNothing() {
        user::click(toolbar(3));
        databaseview* list = databaseview::loaded();
        user::clickLine(list->List1[0], lineStarting(*list, 0, QStringLiteral("0000")));
        QString costBefore, costAfter;
        driver->expectWindow(QStringLiteral("changingitem"), [&](QWidget* w) {
            auto* builder = static_cast<changingitem*>(w);
            costBefore = builder->Text1[2]->text();
            user::click(builder->Command1[1]); // Confirm item
            QVERIFY(!builder->Text1[5]->isEnabled());
            user::click(builder->Text1[5]);
            user::doubleClick(builder->Text1[5]);
            user::click(builder->Text2[0]);
            costAfter = builder->Text1[2]->text();
            user::click(builder->Command1[0]); // Save Item
        });
        driver->expectMessage(QStringLiteral("saved"));
        user::click(list->Command1[0]);
        check();
        QCOMPARE(costAfter, costBefore);
        RecordSet items(f->filePath(QStringLiteral("items.fdb")), AssembledItems::table);
        items.moveFirst();
        QCOMPARE(items.field(AssembledItems::confirmed).toBool(), true);
        QCOMPARE(items.field(AssembledItems::markup).toFloat(), 1.5f);
    }

    // Esc on the date-of-birth calendar puts the calendar away and keeps the form.
    void escapeClosesOnlyTheCalendar() {
        user::click(toolbar(0));
        databaseview* list = databaseview::loaded();
        bool stillOpen = false;
        bool calendarGone = false;
        QString kept;
        driver->expectWindow(QStringLiteral("custpage"), [&](QWidget* w) {
            auto* page = static_cast<custpage*>(w);
            user::type(page->Text1[1], QStringLiteral("Maria"));
            user::click(page->Text1[5]);
            QVERIFY(page->Calendar1->isVisible());
            user::press(Qt::Key_Escape);
            calendarGone = !page->Calendar1->isVisible();
            stillOpen = page->isVisible();
            kept = page->Text1[1]->text();
            user::click(page->Command1[1]);
        });
        driver->expectQuestion(QStringLiteral("Discard your changes?"), QString(), true);
        user::click(list->Command1[0]);
        check();
        QVERIFY(calendarGone);
        QVERIFY(stillOpen);
        QCOMPARE(kept, QStringLiteral("Maria"));
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
