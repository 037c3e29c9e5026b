// What an invoice does beyond being written: lines removed before it is confirmed, payments on a
// confirmed one with the balance in the invoice list, and its PDF read back as text.
#include "support/businessfixture.h"

#include "core/common/clock.h"
#include "core/common/recordset.h"
#include "core/sales/salestables.h"
#include "gui/sales/invoiceprint.h"
#include "gui/sales/showinvoices.h"
#include "gui/sales/viewinvoice.h"
#include "support/modal.h"
#include "support/modaldriver.h"
#include "support/useractions.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// The text of a PDF, pages split at form feeds; empty when pdftotext is missing.
QStringList pdfPages(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess run;
    run.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    run.waitForFinished(30000);
    QStringList pages = QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// pdftotext comes with the test script; elsewhere its tests are skipped without it.
#define requirePdfToText()                                                                     \
    do {                                                                                       \
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {           \
            if (qEnvironmentVariableIsSet("PRAXO_REQUIRE_TOOLS"))                              \
                QFAIL("pdftotext is missing");                                                 \
            QSKIP("pdftotext is missing");                                                     \
        }                                                                                      \
    } while (false)

QStringList shownNumbers(const viewinvoice& v) {
    QStringList numbers;
    for (int r = 0; r < v.cnt && r < 7; ++r)
        numbers << v.Text2[r]->text().left(4);
    return numbers;
}

// "Remove line" from the box's context menu, chosen with the mouse.
void removeByMenu(QLineEdit* box) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), box->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(box, &event);
    auto* menu = box->findChild<QMenu*>(QStringLiteral("LineMenu"));
    QVERIFY(menu);
    QVERIFY(waitUntil([&] { return menu->isVisible(); }));
    QAction* remove = menu->actions().value(0);
    QCOMPARE(remove->text(), QStringLiteral("Remove line"));
    QVERIFY(remove->isEnabled());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(remove).center());
}

} // namespace

class TestInvoiceOutput : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;
    std::unique_ptr<ModalDriver> boxes_;
    QTemporaryDir out;

    ScriptedPrompts& prompts() { return f->prompts(); }

    // The editor loaded as the invoice list loads it, but not modally.
    viewinvoice& open(int rec) {
        viewinvoice& v = viewinvoice::get(f->business());
        v.rec = qint16(rec);
        v.sell = 1;
        v.load();
        v.show();
        return v;
    }

    QStringList storedNumbers(qint64 invoice) const {
        RecordSet rows(f->filePath(QStringLiteral("cust.fdb")), ItemsPerSale::table);
        QStringList numbers;
        for (rows.moveFirst(); !rows.eof(); rows.moveNext())
            if (rows.field(ItemsPerSale::invoice_no).toInt64() == invoice)
                numbers << QString::number(rows.field(ItemsPerSale::ip_no).toInt64());
        return numbers;
    }

private slots:
    void init() {
        f = std::make_unique<BusinessFixture>(BusinessFixture::Contents::Sample);
        appclock::setToday(QDate(2026, 2, 3));
    }
    void cleanup() {
        closeModalWindows();
        const bool done = boxes_ ? boxes_->done() : prompts().done();
        const QString report = boxes_ ? boxes_->report() : prompts().report();
        boxes_.reset();
        f.reset();
        appclock::setToday(std::nullopt);
        QVERIFY2(done, qPrintable(report));
    }

    void removeLine_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("owed"); // 8 % tax on what is left
        QTest::newRow("first") << 0 << false << QStringList{"0002", "0003"} << "$0.54";
        QTest::newRow("middle") << 1 << true << QStringList{"0001", "0003"} << "$1.84";
        QTest::newRow("last") << 2 << false << QStringList{"0001", "0002"} << "$1.94";
    }
    void removeLine() {
        QFETCH(int, row);
        QFETCH(bool, byMenu);
        QFETCH(QStringList, left);
        QFETCH(QString, owed);
        f->addSaleLine(0, true, 2, 1, 0.30, QStringLiteral("Nut"));
        f->addSaleLine(0, true, 3, 2, 0.10, QStringLiteral("Washer"));
        viewinvoice& v = open(0);
        QCOMPARE(shownNumbers(v), (QStringList{"0001", "0002", "0003"}));

        prompts().expectQuestion(QStringLiteral("Remove line %1?").arg(row + 1), QString(), true);
        if (byMenu)
            removeByMenu(v.Text2[row]);
        else
            QTest::keyClick(v.Text2[row], Qt::Key_Delete);
        QVERIFY(waitUntil([&] { return v.cnt == 2; }));
        QCOMPARE(shownNumbers(v), left);
        QCOMPARE(v.Text2[2]->text(), QStringLiteral("  ")); // the entry row moved up
        QCOMPARE(v.Text1[6]->text(), owed);
        QCOMPARE(storedNumbers(0), (QStringList{"1", "2", "3"})); // nothing written before Save

        prompts().expectMessage(QStringLiteral("saved"));
        user::click(v.Command1[0]);
        QVERIFY(!viewinvoice::loaded());
        QStringList stored;
        for (const QString& n : left)
            stored << QString::number(n.toInt());
        QCOMPARE(storedNumbers(0), stored);
        viewinvoice& again = open(0);
        QCOMPARE(shownNumbers(again), left);
        QCOMPARE(again.Text1[6]->text(), owed);
    }

    // A confirmed invoice keeps its lines: Delete asks nothing.
    void confirmedKeepsLines() {
        viewinvoice& v = open(1);
        QTest::keyClick(v.Text2[0], Qt::Key_Delete);
        QCOMPARE(v.cnt, qint16(1));
    }

    void payments() {
        // Not before the invoice is confirmed.
        viewinvoice& draft = open(0);
        QVERIFY(!draft.RecordPayment->isEnabled());
        user::click(draft.Command1[2]);

        viewinvoice& v = open(1);
        QVERIFY(v.RecordPayment->isEnabled());
        const QString title = QStringLiteral("Record payment");
        const auto ask = [&](const QString& due, const QString& answer) {
            prompts().expectInput(QStringLiteral("Amount received (balance due %1):").arg(due),
                                  title, answer);
        };
        // A refusal names its reason and asks again; an empty answer records nothing.
        ask("$26.48", "26.49");
        prompts().expectMessage("The payment is more than the balance due of $26.48.");
        ask("$26.48", "");
        user::click(v.RecordPayment);
        QCOMPARE(v.Text1[7]->text(), QStringLiteral("$0.00"));

        ask("$26.48", "$10");
        prompts().expectMessage("Payment of $10.00 recorded. Balance due: $16.48");
        user::click(v.RecordPayment);
        ask("$16.48", "6.48");
        prompts().expectMessage("Payment of $6.48 recorded. Balance due: $10.00");
        user::click(v.RecordPayment);
        QCOMPARE(v.Text1[7]->text(), QStringLiteral("$16.48"));
        QCOMPARE(f->countRows("cust.fdb", Payments::table), 2);
        user::click(v.Command1[2]); // stored already: nothing to ask

        showinvoices& list = showinvoices::get(f->business());
        list.cust = 1;
        list.load();
        QVERIFY(list.List1->item(0)->text().endsWith(QStringLiteral("Due  $10.00")));
        QVERIFY(list.Label1->text().endsWith(QStringLiteral("Balance due: $10.00")));
    }

    // "Save as PDF..." with the program's own file dialog: the file holds the sender, the
    // customer, every line and the totals; a draft says so.
    void pdfText_data() {
        QTest::addColumn<int>("rec");
        QTest::addColumn<QStringList>("holds");
        QTest::newRow("unconfirmed")
            << 0
            << QStringList{"Test Works", "Ann Lee", "Invoice 0000", "Bolt", "$0.50", "$1.50",
                           "Subtotal", "Total owed", "$1.62", "Balance due", "DRAFT - not confirmed"};
        QTest::newRow("confirmed")
            << 1
            << QStringList{"Test Works", "John Smith", "Invoice 0001", "Frame", "Subtotal",
                           "Total owed", "$26.48", "Amount paid", "Balance due", "Jan 06, 2026"};
    }
    void pdfText() {
        QFETCH(int, rec);
        QFETCH(QStringList, holds);
        requirePdfToText();
        f.reset();
        f = std::make_unique<BusinessFixture>(BusinessFixture::Contents::Sample,
                                              BusinessFixture::Boxes::Real);
        boxes_ = std::make_unique<ModalDriver>();
        viewinvoice& v = open(rec);
        // The documents folder of a home of the test's own, where the dialog opens.
        qputenv("HOME", QFile::encodeName(out.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(out.filePath(QStringLiteral(".config"))));
        QDir(out.path()).mkpath(QStringLiteral("Documents"));
        const QString name = QStringLiteral("invoice-%1.pdf").arg(rec, 4, 10, QLatin1Char('0'));
        const QString path = QDir(out.filePath(QStringLiteral("Documents"))).filePath(name);
        QString suggested;
        boxes_->expectWindow(QStringLiteral("SaveFileDialog"), [&](QWidget* dialog) {
            suggested = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("&Save"))
                    QTest::mouseClick(b, Qt::LeftButton);
        });
        boxes_->expectMessage(QStringLiteral("Saved as ") + QDir::toNativeSeparators(path));
        user::click(v.SavePdf);
        QCOMPARE(suggested, name);
        const QString text = pdfPages(path).join(QLatin1Char('\n'));
        for (const QString& s : holds)
            QVERIFY2(text.contains(s), qPrintable(s + QStringLiteral(" missing from:\n") + text));
        QCOMPARE(text.contains(QStringLiteral("DRAFT")), rec == 0);
    }

    // "Print..." and Ctrl+P open Qt's print preview on the invoice's pages.
    void printPreview() {
        f.reset();
        f = std::make_unique<BusinessFixture>(BusinessFixture::Contents::Sample,
                                              BusinessFixture::Boxes::Real);
        boxes_ = std::make_unique<ModalDriver>();
        viewinvoice& v = open(1);
        QList<int> pages;
        const auto look = [&](QWidget* preview) {
            auto* widget = preview->findChild<QPrintPreviewWidget*>();
            pages << (widget ? widget->pageCount() : -1);
            preview->close();
        };
        boxes_->expectWindow(QStringLiteral("PrintPreview"), look);
        user::click(v.PrintInvoice);
        boxes_->expectWindow(QStringLiteral("PrintPreview"), look);
        v.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&v));
        user::press(Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(pages, (QList<int>{1, 1}));
    }

    // Three pages and more of lines: every page repeats the headings, on either paper.
    void headingsOnEveryPage_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("A4") << int(QPageSize::A4);
        QTest::newRow("Letter") << int(QPageSize::Letter);
    }
    void headingsOnEveryPage() {
        QFETCH(int, size);
        requirePdfToText();
        for (int n = 2; n <= 150; ++n)
            f->addSaleLine(0, true, n, 1, 1.0, QStringLiteral("Line %1").arg(n));
        viewinvoice& v = open(0);
        const QString path = out.filePath(QStringLiteral("long.pdf"));
        QCOMPARE(invoiceprint::writePdf(v.document(), path, QPageSize(QPageSize::PageSizeId(size))),
                 QString());
        const QStringList pages = pdfPages(path);
        QVERIFY(pages.size() >= 3);
        for (const QString& page : pages) {
            QVERIFY(page.contains(QStringLiteral("Description")));
            QVERIFY(page.contains(QStringLiteral("Unit Price")));
        }
        const QString all = pages.join(QLatin1Char('\n'));
        QVERIFY(all.contains(QStringLiteral("Line 150")));
        QVERIFY(pages.last().contains(QStringLiteral("Balance due")));
        QVERIFY(pages.last().contains(QStringLiteral("Page %1 of %1").arg(pages.size())));
    }
};

QTEST_MAIN(TestInvoiceOutput)
#include "tst_invoiceoutput.moc"
