// Windows that use the screen: the description column takes the room a window has, padded texts
// are not shown as cut, cut texts show whole in their tooltips, every window fits in the main
// window at 1024x768, fields the user cannot change are passed over by Tab, and the main window
// comes back where it was left.

#include "support/businessfixture.h"
#include "support/useractions.h"
#include "gui/app/windowplace.h"
#include "gui/catalogue/partpage.h"
#include "gui/finder/databaseview.h"
#include "gui/items/changingitem.h"
#include "gui/sales/custpage.h"
#include "gui/sales/viewinvoice.h"
#include "gui/widgets/fulltext.h"

#include <QHelpEvent>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolTip>
#include <QtTest>

#include <array>
#include <functional>

namespace {

const QString longDescription =
    QStringLiteral("Pump housing, cast iron, flanged DN50, with its gaskets and mounting bolts");

// The tooltip a resting pointer brings up on a box.
QString tooltipOn(QWidget* box) {
    QToolTip::hideText();
    const QPoint at = box->rect().center();
    QHelpEvent event(QEvent::ToolTip, at, box->mapToGlobal(at));
    QCoreApplication::sendEvent(box, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// The share of a grid row's width that its description box takes.
double descriptionShare(QLineEdit* first, QLineEdit* description, QLineEdit* last) {
    const int row = last->geometry().right() - first->geometry().left();
    return double(description->width()) / row;
}

void settle(QWidget* window) {
    QCoreApplication::sendPostedEvents();
    window->layout()->activate();
}

} // namespace

class TestWindowFit : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;

    changingitem& openBuilder() {
        databaseview& finder = f->showList(3);
        user::clickLine(finder.List1[0], 0);
        changingitem& builder = changingitem::get(f->business());
        builder.area = qint16(finder.linePosition(0));
        builder.load(finder.cellText(0, 0).left(5), finder.cellText(2, 0));
        builder.show();
        return builder;
    }
    viewinvoice& openInvoice() {
        viewinvoice& editor = viewinvoice::get(f->business());
        editor.rec = 0;
        editor.sell = 1;
        editor.load();
        editor.show();
        return editor;
    }

private slots:
    void init() {
        f = std::make_unique<BusinessFixture>(BusinessFixture::Contents::Sample);
        f->addPart(9, longDescription, 5.0);
        f->addComponent(0, true, 9, 1, 5.0);
        f->addSaleLine(0, true, 9, 1, 5.0, longDescription);
        f->main().showNormal();
        f->main().resize(1024, 768);
    }
    void cleanup() {
        delete changingitem::loaded();
        delete viewinvoice::loaded();
        delete custpage::loaded();
        delete Partpage::loaded();
        QVERIFY2(f->prompts().done(), qPrintable(f->prompts().report()));
        f.reset();
    }

    // The description column takes a large share of a narrow window and grows with a wide one;
    // a description cut by its box shows whole in the tooltip, ahead of the box's own tip.
    void descriptionTakesTheRoom_data() {
        QTest::addColumn<bool>("invoice");
        QTest::newRow("item builder") << false;
        QTest::newRow("invoice editor") << true;
    }
    void descriptionTakesTheRoom() {
        QFETCH(bool, invoice);
        QWidget* window = nullptr;
        std::array<QLineEdit*, 3> boxes{}; // first column, description, last column
        int line = 0;
        if (invoice) {
            viewinvoice& editor = openInvoice();
            window = &editor;
            line = 1;
            boxes = {editor.Text2[line], editor.Text3[line], editor.Text6[line]};
        } else {
            changingitem& builder = openBuilder();
            window = &builder;
            line = 2;
            boxes = {builder.Text2[line], builder.Text3[line], builder.Text10[line]};
        }
        QCOMPARE(boxes[1]->text(), longDescription);

        window->resize(window->minimumSizeHint().width(), window->height());
        settle(window);
        const double narrowShare = descriptionShare(boxes[0], boxes[1], boxes[2]);
        QVERIFY2(boxes[1]->width() >= 2 * boxes[0]->width(), qPrintable(QString::number(narrowShare)));
        QVERIFY(!fulltext::fits(*boxes[1]));
        QVERIFY(tooltipOn(boxes[1]).startsWith(longDescription));

        window->resize(1500, window->height());
        settle(window);
        const double wideShare = descriptionShare(boxes[0], boxes[1], boxes[2]);
        QVERIFY2(wideShare > 0.4 && wideShare > narrowShare + 0.1,
                 qPrintable(QString::number(wideShare)));
        QVERIFY(fulltext::fits(*boxes[1]));
        if (invoice) // the line's delivery tip alone once the text fits
            QVERIFY(tooltipOn(boxes[1]).startsWith(QStringLiteral("max delivery is")));
    }

    // A code description shorter than its 30-character field is shown whole, with no elision
    // mark and no tooltip; only one too long for its column is cut, and shown whole on hover.
    void paddedTextIsNoCut() {
        const QString wide = QStringLiteral("Housings, castings and frames");
        f->business().class_codes().setEntry(1, QStringLiteral("Sheet steel"));
        f->business().class_codes().setEntry(2, wide);
        f->addPart(10, QStringLiteral("Cover"), 1.0, 1);
        f->addPart(11, QStringLiteral("Casing"), 1.0, 2);
        databaseview& finder = f->showList(0);
        QListView* types = finder.List1[3];
        auto* delegate = qobject_cast<FullTextDelegate*>(types->itemDelegate());
        QVERIFY(delegate);
        int shortOnes = 0;
        for (int row = 0; row < finder.lineCount(); ++row) {
            const QModelIndex cell = types->model()->index(row, 3);
            const QString whole = fulltext::withoutPadding(cell.data().toString());
            if (whole == wide)
                continue;
            ++shortOnes; // "Sheet steel" and the blank descriptions of the other parts
            QCOMPARE(delegate->shownText(types, cell), whole);
        }
        QVERIFY(shortOnes >= 2);
        // A narrow column cuts the long description; the tooltip shows it whole.
        finder.parentWidget()->resize(500, 400);
        QApplication::processEvents(); // the lists lay their lines out again
        int longRow = -1;
        for (int row = 0; row < finder.lineCount(); ++row) {
            if (finder.cellText(3, row).startsWith(wide))
                longRow = row;
        }
        QVERIFY(longRow >= 0);
        const QModelIndex cell = types->model()->index(longRow, 3);
        QVERIFY(delegate->shownText(types, cell) != wide);
        const QPoint at = types->visualRect(cell).center();
        QToolTip::hideText();
        QHelpEvent hover(QEvent::ToolTip, at, types->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(types->viewport(), &hover);
        QVERIFY(QToolTip::text().startsWith(wide + QLatin1Char('\n'))); // then the line's own hint
    }

    // At 1024x768 every window opened inside the main window lies within its area, and the
    // windows opened over it are no larger than it.
    void windowsFitAt1024x768_data() {
        QTest::addColumn<int>("window");
        const std::array names{"parts list", "customer list", "item list", "item builder",
                               "invoice editor", "customer editor", "part editor"};
        for (int i = 0; i < int(names.size()); ++i)
            QTest::newRow(names[std::size_t(i)]) << i;
    }
    void windowsFitAt1024x768() {
        QFETCH(int, window);
        const int listModes[] = {0, 1, 3};
        if (window < 3) {
            f->showList(listModes[window]);
            QCoreApplication::sendPostedEvents();
            const QRect area = f->main().mdiArea()->viewport()->rect();
            for (const QMdiSubWindow* frame : f->main().mdiArea()->subWindowList())
                QVERIFY2(area.contains(frame->geometry()), qPrintable(frame->objectName()));
            return;
        }
        QWidget* shown = nullptr;
        switch (window) {
        case 3:
            shown = &openBuilder();
            break;
        case 4:
            shown = &openInvoice();
            break;
        case 5: {
            custpage& page = custpage::get(f->business());
            page.newcust = -1;
            page.load();
            page.show();
            shown = &page;
            break;
        }
        default: {
            Partpage& page = Partpage::get(f->business());
            page.newpart = -1;
            page.load();
            page.show();
            shown = &page;
            break;
        }
        }
        const QSize room = f->main().size();
        QVERIFY2(shown->frameGeometry().width() <= room.width() &&
                     shown->frameGeometry().height() <= room.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(shown->width()).arg(shown->height())));
    }

    // Tab runs over the invoice editor's fields the user can type into, never resting on a
    // field that only shows a value, nor on a greyed grid row.
    void tabSkipsReadOnly() {
        viewinvoice& editor = openInvoice();
        editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        editor.Text1[5]->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 40; ++i) {
            user::press(Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            auto* field = qobject_cast<QLineEdit*>(focus);
            if (!field)
                continue;
            const bool gridBox = field->objectName().startsWith(QStringLiteral("Text")) &&
                                 !field->objectName().startsWith(QStringLiteral("Text1("));
            QVERIFY2(gridBox || !field->isReadOnly(), qPrintable(field->objectName()));
            if (gridBox) {
                const int row = field->objectName().section(QLatin1Char('('), 1).chopped(1).toInt();
                QVERIFY2(row <= editor.cnt, qPrintable(field->objectName())); // an active row
            }
        }
        QCOMPARE(editor.Text1[1]->focusPolicy(), Qt::ClickFocus);
        QVERIFY(editor.Text1[1]->isReadOnly() && editor.Text1[1]->isEnabled());
    }

    // The main window opens maximized on the first start in a home folder, and the next start
    // puts it back where and as large as it was left.
    void placeKeptAcrossStarts() {
        const QString home = f->main().homeFolder();
        QVERIFY(!QFile::exists(windowplace::filePath(home)));
        delete MDIForm1::loaded();
        MDIForm1& first = MDIForm1::get();
        first.openHome(home);
        first.showPlaced();
        QVERIFY(first.isMaximized());
        first.showNormal();
        first.setGeometry(120, 90, 900, 640);
        QCoreApplication::sendPostedEvents();
        const QRect left = first.geometry();
        user::chooseMenu(&first, QStringLiteral("File"), QStringLiteral("File_exit"));
        QVERIFY(QFile::exists(windowplace::filePath(home)));
        delete MDIForm1::loaded();

        MDIForm1& second = MDIForm1::get();
        second.openHome(home);
        second.showPlaced();
        QVERIFY(!second.isMaximized());
        QCOMPARE(second.geometry().size(), left.size());
        QCOMPARE(second.geometry().topLeft(), left.topLeft());
    }
};

QTEST_MAIN(TestWindowFit)
#include "tst_windowfit.moc"
