// Bad input typed into every window: letters, signs, nothing, 10,000 characters, huge and
// negative numbers, accented Latin-1 letters and characters beyond Latin-1. Nothing may crash or
// throw; a window either refuses with its own message and writes nothing, or stores what it
// showed, so that opening the record again shows the same values.
#include "core/business/bizsettings.h"
#include "core/business/codetable.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordfile.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/finder/pickerrules.h"
#include "core/items/itemcosting.h"
#include "core/items/itemtables.h"
#include "core/sales/invoicerules.h"
#include "core/sales/salestables.h"
#include "gui/app/settingback.h"
#include "gui/app/settings.h"
#include "gui/catalogue/codepage.h"
#include "gui/catalogue/partpage.h"
#include "gui/finder/databaseview.h"
#include "gui/finder/getpart.h"
#include "gui/items/changingitem.h"
#include "gui/items/newitem.h"
#include "gui/sales/custpage.h"
#include "gui/sales/viewinvoice.h"
#include "support/businessfixture.h"
#include "support/modal.h"
#include "support/useractions.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include <cmath>

using namespace itemcosting;

namespace {

struct Input {
    const char* name;
    QString text;
};

// What a careless or curious user types.
const QList<Input>& inputs() {
    static const QList<Input> list = {
        {"letters", QStringLiteral("abc")},
        {"signs", QStringLiteral("-+*/")},
        {"empty", QString()},
        {"10000 characters", QString(10000, QLatin1Char('x'))},
        {"huge", QStringLiteral("1") + QString(30, QLatin1Char('0'))},
        {"exponent", QStringLiteral("1e30")},
        {"99999", QStringLiteral("99999")},
        {"negative", QStringLiteral("-5")},
        {"Latin-1", QString::fromUtf8("\xC3\xA9\xC3\x9F\xC3\x84")},                    // éßÄ
        {"beyond Latin-1", QString::fromUtf8("\xE2\x82\xAC\xE6\x97\xA5\xE6\x9C\xAC")}, // €日本
    };
    return list;
}

// One key press carrying the text, as the keyboard or an input method delivers it.
void sendText(QWidget* widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &release);
}

// Empties the field as the user does (select all, Delete), then types the text one character at
// a time; a very long text arrives in one piece, as pasted.
void typeInto(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    if (text.size() > 100) {
        sendText(field, text);
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        sendText(field, text.mid(i, pair ? 2 : 1));
        i += pair ? 1 : 0;
    }
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A field text read as money: an optional currency sign, then an amount that fits.
std::optional<Money> moneyShown(const QString& text) {
    return toMoney(text.startsWith(QLatin1Char('$')) ? text.mid(1) : text);
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// The last message shown, expected or not.
QString lastMessage(const ScriptedPrompts& prompts) {
    const QStringList& shown = prompts.shown();
    return shown.isEmpty() ? QString() : shown.last().section(QLatin1Char('|'), 2);
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT

    std::unique_ptr<BusinessFixture> f;

    ScriptedPrompts& prompts() { return f->prompts(); }
    QString area(const QString& name) const { return f->filePath(name); }
    RecordSet& connection(int n) const { return f->connection(n); }
    void checkPrompts() { QVERIFY2(prompts().done(), qPrintable(prompts().report())); }

    static void addInputRows(const char* prefix) {
        for (const Input& input : inputs())
            QTest::newRow(qPrintable(
                QStringLiteral("%1 %2").arg(QLatin1String(prefix), QLatin1String(input.name))))
                << input.text;
    }

    // --- settings

    static BizSettings baseline() {
        BizSettings record;
        record.company = QStringLiteral("Works");
        record.ceo_name = QStringLiteral("Ann");
        record.biz_type = QStringLiteral("Tools");
        record.markup_rate = 1.5f;
        record.eng_rate = record.asm_rate = record.test_rate = 10;
        record.sales_tax = 3;
        return record;
    }

    // --- the data finder on a list, as the toolbar shows it

    databaseview& showFinder(qint16 mode) { return f->showList(mode); }

    // The editors as the list opens them: for a new record, or on the record the list's
    // connection stands on.
    Partpage& openPart(qint16 newpart) {
        const databaseview& finder = *databaseview::loaded();
        Partpage& page = Partpage::get(f->business());
        page.newpart = newpart;
        page.max = finder.max;
        page.numbersLeft = finder.numbersLeft();
        page.load();
        page.show();
        return page;
    }
    custpage& openCustomer(qint16 newcust) {
        const databaseview& finder = *databaseview::loaded();
        custpage& page = custpage::get(f->business());
        page.newcust = newcust;
        page.max = finder.max;
        page.numbersLeft = finder.numbersLeft();
        page.load();
        page.show();
        return page;
    }
    changingitem& openItem(const databaseview& finder, int line) {
        changingitem& builder = changingitem::get(f->business());
        builder.area = qint16(finder.linePosition(line));
        builder.load(finder.cellText(0, line).left(5), finder.cellText(2, line));
        builder.show();
        return builder;
    }
    viewinvoice* openInvoice(qint16 rec, qint16 sell) {
        viewinvoice& editor = viewinvoice::get(f->business());
        editor.rec = rec;
        editor.sell = sell;
        if (!editor.load())
            return nullptr;
        editor.show();
        return &editor;
    }

    // --- the picker, driven through its controls

    static void clickField(getpart& picker, int field) {
        QTest::mouseClick(picker.Text1[field], Qt::LeftButton);
    }
    // Chooses the first candidate, as a click on the list does.
    static void chooseFirst(getpart& picker) {
        clickField(picker, 2);
        QVERIFY(picker.List2->count() > 0);
        const QRect first = picker.List2->visualItemRect(picker.List2->item(0));
        QTest::mouseClick(picker.List2->viewport(), Qt::LeftButton, {}, first.center());
    }
    // A number question answered with the text: an answer that is no number, or out of the
    // question's range, is refused with a message naming what is wanted.
    void expectNumberAnswer(const QString& prompt, const QString& title, const QString& answer,
                            double low, double high) {
        prompts().expectInput(prompt, title, answer);
        const std::optional<double> value = toDouble(answer);
        if (!answer.isEmpty() && !(value && *value >= low && *value <= high))
            prompts().expectMessageStartingWith(QStringLiteral("Please enter "));
    }
    // Answers every number question of the picker with the text, then Add I/P; a refused
    // quantity keeps the 1 the choice gave.
    void answerPicker(getpart& picker, const QString& answer, bool hours) {
        chooseFirst(picker);
        expectNumberAnswer(QStringLiteral("Enter value (#.##)"), QStringLiteral("highest amount"),
                           answer, 0, 1e14);
        clickField(picker, 1);
        expectNumberAnswer(QStringLiteral("Enter int (#)"), QStringLiteral("input qty"), answer, 1,
                           999999999);
        clickField(picker, 4);
        if (hours) {
            for (const char* kind : {"Assembly", "Engineering", "testing"})
                expectNumberAnswer(QStringLiteral("Enter value (#.##)"),
                                   QLatin1String(kind) + QStringLiteral(" labour hours"), answer, 0,
                                   100000);
            clickField(picker, 5);
        }
        checkPrompts();
        // The highest amount may have emptied the list, the choice stays.
        QVERIFY(picker.Text1[2]->text().startsWith(QStringLiteral("0001     ")));
        QVERIFY(picker::wholeQuantity(picker.Text1[4]->text()) >= 1);
        click(picker.Command1);
    }

private slots:
    void init() { f = std::make_unique<BusinessFixture>(); }
    void cleanup() {
        closeModalWindows();
        for (QWidget* window : std::initializer_list<QWidget*>{
                 getpart::loaded(), changingitem::loaded(), newitem::loaded(),
                 viewinvoice::loaded(), custpage::loaded(), Partpage::loaded(), Codepage::loaded(),
                 settings::loaded(), settingback::loaded()})
            delete window;
        QCoreApplication::processEvents();
        const bool done = prompts().done();
        const QString report = prompts().report();
        f.reset();
        QVERIFY2(done, qPrintable(report));
    }

    // The settings window: a refused field writes nothing; a saved one shows, when the window
    // opens again, exactly what is stored, and saving that again stores the same record.
    void settingsFields_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal"); // empty when saved
        QTest::addColumn<double>("number");   // the stored number of fields 3 to 7
        // What the number fields take: a mark-up factor up to 10000, rates up to 1000000, a
        // sales tax up to 100 %; no number at all is refused with the window's own message.
        const QString range[5] = {QStringLiteral("the mark-up rate as a number from 0 to 10000"),
                                  QStringLiteral("the engineering labour rate as a number from 0 "
                                                 "to 1000000"),
                                  QStringLiteral("the assembly labour rate as a number from 0 to "
                                                 "1000000"),
                                  QStringLiteral("the testing labour rate as a number from 0 to "
                                                 "1000000"),
                                  QStringLiteral("the sales tax as a number from 0 to 100")};
        const QString settingsRefusal = QStringLiteral("Please fill out settings correctly");
        for (int field = 0; field < 8; ++field) {
            const bool isText = field < 3;
            for (const Input& input : inputs()) {
                const QString name = QLatin1String(input.name);
                QString refusal = input.text.isEmpty() ? settingsRefusal : QString();
                double number = 0;
                if (!isText && refusal.isEmpty()) {
                    const bool rate = field >= 4 && field <= 6;
                    if (rate && name == QLatin1String("99999"))
                        number = 99999;
                    else if (name == QLatin1String("99999") || name == QLatin1String("huge") ||
                             name == QLatin1String("exponent") || name == QLatin1String("negative"))
                        refusal = QStringLiteral("Please enter %1.").arg(range[field - 3]);
                    else
                        refusal = settingsRefusal;
                }
                QTest::addRow("Text1(%d) %s", field, input.name)
                    << field << input.text << refusal << number;
            }
        }
    }
    void settingsFields() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        QFETCH(double, number);
        const QString path = area(QLatin1String(BizSettings::fileName));
        f->writeSettings(baseline());
        const QByteArray before = bytesOf(path);

        settings& window = settings::get(f->business());
        window.load();
        window.show();
        typeInto(window.Text1[field], typed);
        const QString shown = window.Text1[field]->text();
        if (!refusal.isEmpty()) {
            prompts().expectMessage(refusal);
            click(window.Command1[0]);
            checkPrompts();
            QVERIFY(settings::loaded());
            QCOMPARE(bytesOf(path), before);
            return;
        }
        prompts().expectMessage(QStringLiteral("settings saved"));
        click(window.Command1[0]);
        checkPrompts();
        QCoreApplication::processEvents();

        const BizSettings stored = loadBizSettings(f->business().folder());
        const QString storedTexts[3] = {stored.company, stored.ceo_name, stored.biz_type};
        const float storedNumbers[5] = {stored.markup_rate, stored.eng_rate, stored.asm_rate,
                                        stored.test_rate, stored.sales_tax};
        // Characters outside Latin-1 are stored as "?"; the reopened window shows what is stored.
        settings& again = settings::get(f->business());
        again.load();
        again.show();
        if (field < 3) {
            const QString expected =
                fixedfield::padded(fixedfield::storable(shown), BizSettings::textWidth);
            QCOMPARE(storedTexts[field], expected);
            QCOMPARE(again.Text1[field]->text(), expected);
        } else {
            QCOMPARE(double(storedNumbers[field - 3]), double(float(number)));
        }
        const QByteArray saved = bytesOf(path);
        prompts().expectMessage(QStringLiteral("settings saved"));
        click(again.Command1[0]);
        checkPrompts();
        QCOMPARE(bytesOf(path), saved);
    }

    // The code window takes 30 Latin-1 characters a description; the number boxes take nothing.
    void codeDescriptions_data() {
        QTest::addColumn<QString>("typed");
        addInputRows("Text2(0)");
    }
    void codeDescriptions() {
        QFETCH(QString, typed);
        Codepage& codes = Codepage::get(f->business());
        codes.mode = 0;
        codes.load();
        codes.show();
        typeInto(codes.Text1[1], typed);
        typeInto(codes.Text2[0], typed);
        click(codes.Command1);
        QCoreApplication::processEvents();

        const std::optional<CodeTable> stored =
            CodeTable::decode(bytesOf(area(QLatin1String(CodeTable::vendorFileName))));
        QVERIFY(stored);
        const QString kept = fixedfield::storable(typed.left(CodeTable::width));
        QCOMPARE(stored->entry(1), fixedfield::padded(kept, CodeTable::width));
        QCOMPARE(stored->entry(2), CodeTable().entry(2));
        Codepage& again = Codepage::get(f->business());
        again.mode = 0;
        again.load();
        QCOMPARE(again.Text1[1]->text(), QStringLiteral("002"));
        // Shown without its padding.
        QCOMPARE(again.Text2[0]->text(), kept);
        again.close(); // the close box writes nothing
    }

    // The part editor: every typed field is either refused, with nothing written, or stored so
    // that the part opened again shows the same values.
    void partFields_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        for (int field : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})
            for (const Input& input : inputs())
                QTest::addRow("Text1(%d) %s", field, input.name) << field << input.text;
        // Money pasted whole rather than typed: the input rule lets it stand.
        QTest::addRow("Text1(3) pasted 1e30") << 3 << QStringLiteral("$1e30");
        QTest::addRow("Text1(4) pasted huge") << 4 << QStringLiteral("$") + QString(30, '9');
    }
    void partFields() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        showFinder(0);
        Partpage& page = openPart(-1);
        const QStringList baselineTexts{{},      "Bolt",  page.List1->item(0)->text(),
                                        "$2.50", "$4.00", page.List2->item(1)->text(),
                                        "Yes",   "7",     "3 days",
                                        {},      {},      "Acme"};
        for (int i = 1; i < 12; ++i)
            if (!baselineTexts[i].isEmpty())
                page.Text1[i]->setText(baselineTexts[i]);
        const QString untyped = page.Text1[field]->text();
        if (typed.startsWith(QLatin1Char('$'))) {
            // Pasted over the whole text.
            page.Text1[field]->selectAll();
            sendText(page.Text1[field], typed);
        } else {
            typeInto(page.Text1[field], typed);
        }
        QStringList shown;
        for (QLineEdit* box : page.Text1)
            shown << box->text();
        // The number and the date are shown only; the codes and the stock come from lists.
        if (!page.Text1[field]->isEnabled() || page.Text1[field]->isReadOnly())
            QCOMPARE(shown[field], untyped);

        // What a save answers: an emptied required field is incomplete; a number field takes
        // only a number in its range, with or without its unit, and names what it wants.
        const QHash<int, QString> wanted{
            {3, QStringLiteral("the unit cost as a number from 0 to 100000000000")},
            {4, QStringLiteral("the unit price as a number from 0 to 100000000000")},
            {7, QStringLiteral("the stock quantity as a whole number from 0 to 999999999")},
            {8, QStringLiteral("the delivery time in days as a number from 0 to 9999")}};
        QString refusal;
        if (shown[field] != untyped) {
            if (field != 10 && shown[field].isEmpty())
                refusal = QStringLiteral("please fill out the information");
            else if (wanted.contains(field) && (field == 8 || typed != QLatin1String("99999")))
                refusal = QStringLiteral("Please enter %1.").arg(wanted[field]);
        }

        const int rowsBefore = connection(Business::parts).recordCount();
        prompts().expectMessageStartingWith(QString());
        click(page.Command1[0]);
        checkPrompts();
        const QString answer = lastMessage(prompts());
        if (!refusal.isEmpty()) {
            QCOMPARE(answer, refusal);
            QVERIFY(Partpage::loaded());
            QCOMPARE(connection(Business::parts).recordCount(), rowsBefore);
            return;
        }
        QCOMPARE(answer, QStringLiteral("saved. "));
        QCoreApplication::processEvents();

        RecordSet& parts = connection(Business::parts);
        QCOMPARE(parts.recordCount(), rowsBefore + 1);
        parts.moveFirst();
        parts.move(rowsBefore);
        Partpage& again = openPart(0);
        for (int i = 0; i < 12; ++i) {
            const QString reopened = again.Text1[i]->text();
            switch (i) {
            case 3:
            case 4:
                QCOMPARE(moneyShown(reopened), moneyShown(shown[i]));
                break;
            case 7:
                QCOMPARE(toDouble(reopened), std::optional<double>(wholePart(*toDouble(shown[i]))));
                break;
            case 8:
                QCOMPARE(toDouble(reopened.chopped(4)), toDouble(shown[i].chopped(4)));
                break;
            default:
                QCOMPARE(reopened, shown[i]);
            }
        }
        click(again.Command1[1]);
    }

    // The picture prompt: a name that is no picture file changes nothing; an empty answer
    // clears the picture. Saved, the part keeps the name it remembered.
    void partPicturePrompt_data() {
        QTest::addColumn<QString>("typed");
        addInputRows("answer");
    }
    void partPicturePrompt() {
        QFETCH(QString, typed);
        showFinder(0);
        Partpage& page = openPart(-1);
        const QStringList texts{{},      "Bolt",  page.List1->item(0)->text(),
                                "$2.50", "$4.00", page.List2->item(1)->text(),
                                "Yes",   "7",     "3 days",
                                {},      {},      "Acme"};
        for (int i = 1; i < 12; ++i)
            if (!texts[i].isEmpty())
                page.Text1[i]->setText(texts[i]);
        prompts().expectInput(QStringLiteral("Please enter filename"),
                              QStringLiteral("part picture "), typed);
        if (!typed.isEmpty())
            prompts().expectMessage(QStringLiteral("filename doesn't exist"));
        QTest::mouseClick(page.Picture1, Qt::LeftButton);
        checkPrompts();
        QVERIFY(page.Picture1->pixmap().isNull());
        prompts().expectMessage(QStringLiteral("saved. "));
        click(page.Command1[0]);
        checkPrompts();
        RecordSet& parts = connection(Business::parts);
        parts.moveFirst();
        QCOMPARE(parts.field(Parts::picture_file).toText(),
                 typed.isEmpty() ? QStringLiteral("NULL") : QString());
    }

    // The picker's fields take nothing typed; its questions take a number or refuse the answer,
    // and what it hands to the item builder is stored as the builder shows it: reopened, the
    // item shows it again.
    void pickerIntoItemBuilder_data() {
        QTest::addColumn<QString>("typed");
        addInputRows("answers");
    }
    void pickerIntoItemBuilder() {
        QFETCH(QString, typed);
        f->addPart(1, QStringLiteral("Bolt"), 5.0);
        f->addItem(0, QStringLiteral("Frame"));
        f->writeSettings(baseline());
        changingitem& builder = openItem(showFinder(3), 0);

        whenShown<getpart>([&](getpart& picker) {
            for (QLineEdit* box : picker.Text1) {
                const QString before = box->text();
                typeInto(box, typed);
                QCOMPARE(box->text(), before);
            }
            answerPicker(picker, typed, true);
        });
        QTest::mouseClick(builder.Text2[0], Qt::LeftButton);
        QVERIFY(!getpart::loaded());
        QCOMPARE(builder.cnt, qint16(1));
        expectNumberAnswer(QStringLiteral("Enter mark up rate "), QStringLiteral("mark up rate"),
                           typed, 0, 10000);
        QTest::mouseClick(builder.Text1[5], Qt::LeftButton);
        checkPrompts();

        QStringList shown;
        for (QLineEdit* box : {builder.Text1[2], builder.Text1[3], builder.Text1[4],
                               builder.Text1[5], builder.Text1[6]})
            shown << box->text();
        const ItemLine line = builder.lines().line(0);
        // Every amount shown must be one the money type can hold, or it could not be stored.
        for (const QString& amount : {line[ItemCell::unit_price], line[ItemCell::total_price],
                                      line[ItemCell::ip_cost], builder.Text1[2]->text()})
            QVERIFY2(moneyShown(amount), qPrintable(amount));

        prompts().expectMessage(QStringLiteral("saved"));
        click(builder.Command1[0]);
        checkPrompts();
        QCoreApplication::processEvents();

        changingitem& again = openItem(showFinder(3), 0);
        QCOMPARE(again.cnt, qint16(1));
        const ItemLine reread = again.lines().line(0);
        QCOMPARE(reread[ItemCell::ip_code], line[ItemCell::ip_code]);
        QCOMPARE(reread[ItemCell::description], line[ItemCell::description]);
        QCOMPARE(qtyOf(reread[ItemCell::qty]), qtyOf(line[ItemCell::qty]));
        for (int cell : {ItemCell::unit_price, ItemCell::total_price, ItemCell::ip_cost})
            QCOMPARE(moneyShown(reread[cell]), moneyShown(line[cell]));
        for (int cell : {ItemCell::asm_hours, ItemCell::eng_hours, ItemCell::test_hours})
            QCOMPARE(hoursOf(reread[cell]), hoursOf(line[cell]));
        QCOMPARE(deliveryOf(reread[ItemCell::delivery_days]),
                 deliveryOf(line[ItemCell::delivery_days]));
        QStringList reopened;
        for (QLineEdit* box :
             {again.Text1[2], again.Text1[3], again.Text1[4], again.Text1[5], again.Text1[6]})
            reopened << box->text();
        QCOMPARE(reopened, shown);
        click(again.Command1[2]);
    }

    // The data finder's search box takes any text and always leaves the record set on the
    // selected line's record.
    void finderSearch_data() {
        QTest::addColumn<QString>("typed");
        addInputRows("Text1");
    }
    void finderSearch() {
        QFETCH(QString, typed);
        f->addPart(3, QStringLiteral("Nut"), 1.0);
        f->addPart(1, QString::fromUtf8("\xC3\xA9") + QStringLiteral("crou"), 2.0);
        f->addPart(2, QStringLiteral("Bolt"), 3.0);
        databaseview& finder = showFinder(0);
        for (int column = 0; column < 5; ++column) {
            QTest::mouseDClick(finder.Label1[column], Qt::LeftButton);
            QVERIFY(finder.Frame1->isVisible());
            typeInto(finder.Text1, typed);
            QCOMPARE(finder.Text1->text(), typed);
            // An empty box was never changed, so nothing was searched.
            const int line = finder.selectedLine();
            QCOMPARE(line >= 0, !typed.isEmpty());
            if (line >= 0)
                QCOMPARE(finder.connection(databaseview::parts).absolutePosition(),
                         finder.linePosition(line));
        }
    }

    // The new item dialog stores the description as typed; only an empty one is refused.
    void newItemDescription_data() {
        QTest::addColumn<QString>("typed");
        addInputRows("Text1(1)");
    }
    void newItemDescription() {
        QFETCH(QString, typed);
        // The toolbar's New item shows the item list and the dialog.
        user::click(f->main().Command1[2]);
        QVERIFY(databaseview::loaded());
        newitem& dialog = *newitem::loaded();
        typeInto(dialog.Text1[0], typed); // disabled: stays the proposed number
        QCOMPARE(dialog.Text1[0]->text(), QStringLiteral("0000"));
        typeInto(dialog.Text1[1], typed);
        if (typed.isEmpty()) {
            prompts().expectMessage(QStringLiteral("Please enter in the item description"));
            click(dialog.Command1);
            QCOMPARE(connection(Business::assembled_items).recordCount(), 0);
            return;
        }
        QString inBuilder;
        whenShown<changingitem>([&](changingitem& builder) {
            inBuilder = builder.Text1[1]->text();
            click(builder.Command1[2]);
        });
        click(dialog.Command1);
        QCOMPARE(inBuilder, typed);
        RecordSet items(area(QStringLiteral("items.fdb")), AssembledItems::table);
        QCOMPARE(items.recordCount(), 1);
        items.moveFirst();
        QCOMPARE(items.field(AssembledItems::item_desc).toText(), typed);
        QVERIFY(databaseview::loaded());
        QCOMPARE(databaseview::loaded()->cellText(2, 0), typed);
    }

    // The customer editor stores its texts as typed; a date of birth that is no date is refused.
    void customerFields_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        for (int field = 1; field <= 5; ++field)
            for (const Input& input : inputs())
                QTest::addRow("Text1(%d) %s", field, input.name) << field << input.text;
    }
    void customerFields() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        showFinder(1);
        custpage& page = openCustomer(-1);
        const QStringList baselineTexts{{}, "Ann", "Lee", "1 Road", "555", "Mar 05, 2001"};
        for (int i = 1; i <= 5; ++i)
            page.Text1[i]->setText(baselineTexts[i]);
        typeInto(page.Text1[field], typed);
        QStringList shown;
        for (QLineEdit* box : page.Text1)
            shown << box->text();
        if (typed.isEmpty() || field == 5) {
            prompts().expectMessage(typed.isEmpty()
                                        ? QStringLiteral("please fill out the information")
                                        : QStringLiteral("Please pick a valid date of birth"));
            click(page.Command1[0]);
            QVERIFY(custpage::loaded());
            QCOMPARE(connection(Business::customers).recordCount(), 0);
            return;
        }
        prompts().expectMessage(QStringLiteral("saved. "));
        click(page.Command1[0]);
        checkPrompts();
        QCoreApplication::processEvents();
        RecordSet& customers = connection(Business::customers);
        QCOMPARE(customers.recordCount(), 1);
        customers.moveFirst();
        custpage& again = openCustomer(0);
        QStringList reopened;
        for (QLineEdit* box : again.Text1)
            reopened << box->text();
        QCOMPARE(reopened, shown);
        click(again.Command1[1]);
    }

    // The invoice editor: the quantity of a sale, the salesperson and the tax as typed, and a
    // line from the picker. Saved, the invoice opens again with the same values.
    void invoiceFields_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("typed");
        for (const char* what : {"quantity prompt", "salesperson", "tax", "picker"})
            for (const Input& input : inputs())
                QTest::newRow(qPrintable(
                    QStringLiteral("%1 %2").arg(QLatin1String(what), QLatin1String(input.name))))
                    << QString::fromLatin1(what) << input.text;
    }
    void invoiceFields() {
        QFETCH(QString, what);
        QFETCH(QString, typed);
        f->addPart(1, QStringLiteral("Bolt"), 5.0);
        f->addCustomer(0, QStringLiteral("Ann"), QStringLiteral("Lee"));
        // The part sold is the list's highlighted line.
        showFinder(0).selectLine(0);
        const auto answerFor = [&](const char* kind) {
            return what == QLatin1String(kind) ? typed : QStringLiteral("2");
        };

        prompts().expectInput(QStringLiteral("Enter quantity to sell"),
                              QStringLiteral("Selling parts/items"), answerFor("quantity prompt"));
        // A quantity is a whole number from 1 to 999999999; anything else is asked again, and
        // an empty answer sells one.
        if (what == QLatin1String("quantity prompt") && !typed.isEmpty() &&
            typed != QLatin1String("99999")) {
            prompts().expectMessage(QStringLiteral(
                "Please enter the quantity as a whole number from 1 to 999999999."));
            prompts().expectInput(QStringLiteral("Enter quantity to sell"),
                                  QStringLiteral("Selling parts/items"), QStringLiteral("2"));
        }
        viewinvoice* opened = openInvoice(-1, 0);
        checkPrompts();
        QVERIFY(opened);
        viewinvoice& editor = *opened;
        QCOMPARE(editor.cnt, qint16(1));
        QVERIFY(qtyOf(editor.lines().line(0)[SaleCell::qty]) >= 1);
        if (what == QLatin1String("salesperson"))
            typeInto(editor.Text1[5], typed);
        if (what == QLatin1String("tax")) {
            typeInto(editor.Text1[8], typed);
            // Only an emptied field is a rate (none); the rest is refused, the rate kept.
            if (!typed.isEmpty()) {
                prompts().expectMessage(
                    QStringLiteral("Please enter the tax rate as a number from 0 to 100."));
                click(editor.Command1[0]);
                checkPrompts();
                QCOMPARE(editor.Text1[8]->text(), QStringLiteral("0.000 %"));
            }
        }
        if (what == QLatin1String("picker")) {
            whenShown<getpart>([&](getpart& picker) {
                QVERIFY(!picker.Text1[5]->isVisible());
                answerPicker(picker, typed, false);
            });
            QTest::mouseClick(editor.Text2[1], Qt::LeftButton);
            QVERIFY(!getpart::loaded());
            QCOMPARE(editor.cnt, qint16(1)); // the same part: merged into the sale's line
        }
        const QString salesperson = editor.Text1[5]->text();
        const QString tax = editor.Text1[8]->text();
        const QString owed = editor.Text1[6]->text();
        QVERIFY(moneyShown(owed));
        const std::vector<InvoiceLine> lines(editor.lines().inUse().begin(),
                                             editor.lines().inUse().end());

        prompts().expectMessage(QStringLiteral("saved"));
        click(editor.Command1[0]);
        checkPrompts();
        QCoreApplication::processEvents();

        viewinvoice* reopened = openInvoice(0, 1);
        QVERIFY(reopened);
        viewinvoice& again = *reopened;
        QCOMPARE(again.Text1[5]->text(), salesperson.toUpper());
        QCOMPARE(invoicerules::taxRate(again.Text1[8]->text()).value_or(-1),
                 invoicerules::taxRate(tax).value_or(-1));
        QCOMPARE(moneyShown(again.Text1[6]->text()), moneyShown(owed));
        QCOMPARE(int(again.cnt), int(lines.size()));
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const InvoiceLine& reread = again.lines().line(int(k));
            QCOMPARE(reread[SaleCell::ip_code], lines[k][SaleCell::ip_code]);
            QCOMPARE(reread[SaleCell::description], lines[k][SaleCell::description]);
            QCOMPARE(qtyOf(reread[SaleCell::qty]), qtyOf(lines[k][SaleCell::qty]));
            QCOMPARE(moneyShown(reread[SaleCell::unit_price]),
                     moneyShown(lines[k][SaleCell::unit_price]));
            QCOMPARE(moneyShown(reread[SaleCell::total_price]),
                     moneyShown(lines[k][SaleCell::total_price]));
        }
        click(again.Command1[2]);
    }

    // New Business: a name of four characters or fewer makes nothing; a longer one is kept in
    // the registry cut to 20 Latin-1 characters, and the window shows what was kept.
    void newBusinessName_data() {
        QTest::addColumn<QString>("typed");
        addInputRows("name");
        QTest::newRow("name mixed")
            << QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC\xE6\x97\xA5\xE6\x9C\xAC Works Limited");
    }
    void newBusinessName() {
        QFETCH(QString, typed);
        MDIForm1& main = f->main();
        user::chooseMenu(&main, QStringLiteral("File"), QStringLiteral("File_close"));
        QVERIFY(!main.session());
        const BizRegistry& registry = main.registry();
        const BizRegistry before = registry;
        QAction* newBusiness = main.findChild<QAction*>(QStringLiteral("File_new"));
        QVERIFY(newBusiness && newBusiness->isEnabled());
        const auto chooseNew = [&main] {
            user::chooseMenu(&main, QStringLiteral("File"), QStringLiteral("File_new"));
        };

        prompts().expectInput(QStringLiteral("Enter name of business (> 4 char): "),
                              QStringLiteral("New Business Name"), typed);
        if (typed.size() <= 4) {
            chooseNew();
            checkPrompts();
            QCOMPARE(registry.biz_count, before.biz_count);
            QVERIFY(!settings::loaded());
            QVERIFY(!QFileInfo::exists(f->home.file(QStringLiteral("1"))));
            return;
        }
        prompts().expectMessage(QStringLiteral("new business added at area 2"));
        chooseNew();
        checkPrompts();
        const QString kept =
            fixedfield::padded(fixedfield::storable(typed), BizRegistry::nameWidth);
        QCOMPARE(registry.biz_name[1], kept);
        // The maximized backdrop adds its own caption after the business's.
        QVERIFY2(main.windowTitle().startsWith(QStringLiteral("VARNEK PRAXO - ") + kept),
                 qPrintable(main.windowTitle()));
        const RecordRead written =
            readRecord(f->home.file(QLatin1String(BizRegistry::fileName)), BizRegistry::fileSize);
        QCOMPARE(BizRegistry::decode(written.bytes)->biz_name[1], kept);

        settings* window = settings::loaded();
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->Text1[0]->text(), kept);
        prompts().expectMessage(QStringLiteral("settings saved"));
        click(window->Command1[0]);
        checkPrompts();
        QCOMPARE(loadBizSettings(f->home.file(QStringLiteral("1"))).company,
                 fixedfield::padded(kept, BizSettings::textWidth));
    }
};

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
