#include "support/businessfixture.h"

#include "core/business/bizregistry.h"
#include "core/business/bizworkspace.h"
#include "core/business/businessfiles.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordfile.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/items/itemtables.h"
#include "core/sales/salestables.h"
#include "gui/finder/databaseview.h"
#include "gui/widgets/qtprompts.h"
#include "support/modal.h"

#include <QApplication>
#include <QDir>

const QString BusinessFixture::name = QStringLiteral("Test Works");

BusinessFixture::BusinessFixture(Contents contents, Boxes boxes) {
    if (boxes == Boxes::Scripted) {
        scripted_ = std::make_unique<ScriptedPrompts>();
    } else {
        real_ = std::make_unique<QtPrompts>();
        prompts::setResponder(real_.get());
    }
    const QString folder = home.file(QStringLiteral("0"));
    QDir(home.path()).mkdir(QStringLiteral("0"));
    businessfiles::createBusinessDatabases(home.path(), folder);
    BizRegistry registry = BizRegistry::empty();
    registry.setHomeFolder(home.path());
    registry.occupy(0, name);
    registry.biz_count = 1;
    registry.cur_biz = 0;
    registry.biz_state = 1;
    writeRegistry(home.path(), registry);
    if (contents == Contents::Sample)
        addSample();
    MDIForm1& window = MDIForm1::get();
    window.openHome(home.path());
    window.show();
}

BusinessFixture::~BusinessFixture() {
    closeModalWindows();
    delete MDIForm1::loaded();
    // The windows the business unloaded go now, while their business's files still exist.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (real_)
        prompts::setResponder(nullptr);
}

MDIForm1& BusinessFixture::main() const {
    return MDIForm1::get();
}

Business& BusinessFixture::business() const {
    Business* session = MDIForm1::get().session();
    if (!session)
        qFatal("the fixture's business is not open");
    return *session;
}

RecordSet& BusinessFixture::connection(int n) const {
    return business().connection(n);
}

QString BusinessFixture::filePath(const QString& fileName) const {
    return home.file(QStringLiteral("0/") + fileName);
}

ScriptedPrompts& BusinessFixture::prompts() const {
    if (!scripted_)
        qFatal("this fixture answers the real boxes");
    return *scripted_;
}

BizSettings BusinessFixture::rates(float markup, float eng, float assembly, float testing,
                                   float tax) {
    BizSettings settings;
    settings.company = name;
    settings.markup_rate = markup;
    settings.eng_rate = eng;
    settings.asm_rate = assembly;
    settings.test_rate = testing;
    settings.sales_tax = tax;
    return settings;
}

void BusinessFixture::writeSettings(const BizSettings& settings) {
    writeRecordAtomically(filePath(QLatin1String(BizSettings::fileName)), settings.encode());
    if (Business* session = MDIForm1::get().session())
        session->settingsSaved(settings);
}

void BusinessFixture::addPart(const QString& file, qint64 number, const QString& description,
                              double price, qint64 classCode, bool general, qint64 qty) {
    RecordSet parts(file, Parts::table);
    parts.addNew();
    parts.setField(Parts::part_no, number);
    parts.setField(Parts::description, description);
    parts.setField(Parts::vendor_code, qint64(0));
    parts.setField(Parts::unit_cost, *Money::fromDouble(price / 2));
    parts.setField(Parts::unit_price, *Money::fromDouble(price));
    parts.setField(Parts::class_code, classCode);
    parts.setField(Parts::general_stock, general);
    parts.setField(Parts::stock_qty, qty);
    parts.setField(Parts::delivery_days, 2.0);
    parts.setField(Parts::last_delivery, baseDate());
    parts.setField(Parts::picture_file, QString());
    parts.setField(Parts::manufacturer, QStringLiteral("Maker ") + description);
    parts.update();
}

void BusinessFixture::addPart(qint64 number, const QString& description, double price,
                              qint64 classCode, bool general, qint64 qty) const {
    addPart(filePath(QStringLiteral("parts.fdb")), number, description, price, classCode,
            general, qty);
}

void BusinessFixture::addItem(qint64 number, const QString& description, bool confirmed,
                              float markup, double days, double totalCosts) const {
    RecordSet items(filePath(QStringLiteral("items.fdb")), AssembledItems::table);
    items.addNew();
    items.setField(AssembledItems::item_no, number);
    items.setField(AssembledItems::item_desc, description);
    items.setField(AssembledItems::total_costs, *Money::fromDouble(totalCosts));
    items.setField(AssembledItems::markup, markup);
    items.setField(AssembledItems::total_labour, 0.0f);
    items.setField(AssembledItems::spare, qint64(0));
    items.setField(AssembledItems::confirmed, confirmed);
    items.setField(AssembledItems::max_delivery, *Money::fromDouble(days));
    items.setField(AssembledItems::item_class, qint64(0));
    items.update();
}

void BusinessFixture::addComponent(qint64 host, bool isPart, qint64 number, qint64 qty,
                                   double unitPrice) const {
    RecordSet lines(filePath(QStringLiteral("items.fdb")), PartsList::table);
    const Money price = *Money::fromDouble(unitPrice);
    lines.addNew();
    lines.setField(PartsList::host_item_no, host);
    lines.setField(PartsList::part_flag, isPart);
    lines.setField(PartsList::ip_no, number);
    lines.setField(PartsList::qty, qty);
    lines.setField(PartsList::unit_price, price);
    lines.setField(PartsList::total_price, *Money::fromDouble(unitPrice * double(qty)));
    lines.setField(PartsList::asm_hours, 0.0f);
    lines.setField(PartsList::eng_hours, 0.0f);
    lines.setField(PartsList::test_hours, 0.0f);
    lines.setField(PartsList::ip_cost, *Money::fromDouble(unitPrice * double(qty)));
    lines.setField(PartsList::delivery_days, 2.0f);
    lines.update();
}

void BusinessFixture::addCustomer(qint64 number, const QString& first,
                                  const QString& last) const {
    RecordSet customers(filePath(QStringLiteral("cust.fdb")), Customers::table);
    customers.addNew();
    customers.setField(Customers::cust_no, number);
    customers.setField(Customers::first_name, first);
    customers.setField(Customers::last_name, last);
    customers.setField(Customers::dob, QDate(1970, 1, 2));
    customers.setField(Customers::total_value, Money());
    customers.setField(Customers::address, QStringLiteral("1 Mill Road"));
    customers.setField(Customers::telephone, QStringLiteral("555-0101"));
    customers.update();
}

void BusinessFixture::addInvoice(qint64 number, qint64 customer, bool confirmed,
                                 double owed) const {
    using namespace SalesInvoices;
    RecordSet invoices(filePath(QStringLiteral("cust.fdb")), table);
    invoices.addNew();
    invoices.setField(cust_no, customer);
    invoices.setField(invoice_no, number);
    invoices.setField(update_date, QDate(2026, 1, 5));
    if (confirmed) {
        invoices.setField(confirmed_date, QDate(2026, 1, 6));
        invoices.setField(delivery_date, QDate(2026, 1, 9));
    }
    invoices.setField(amount_paid, Money());
    invoices.setField(amount_owed, *Money::fromDouble(owed));
    invoices.setField(tax_percent, 8.0f);
    invoices.setField(delivered, confirmed);
    invoices.setField(salesperson, QStringLiteral("KIM"));
    invoices.setField(SalesInvoices::confirmed, confirmed);
    invoices.update();
}

void BusinessFixture::addSaleLine(qint64 invoice, bool isPart, qint64 number, qint64 qty,
                                  double unitPrice, const QString& description) const {
    using namespace ItemsPerSale;
    RecordSet lines(filePath(QStringLiteral("cust.fdb")), table);
    lines.addNew();
    lines.setField(invoice_no, invoice);
    lines.setField(part_flag, isPart);
    lines.setField(ip_no, number);
    lines.setField(delivery_days, 2.0f);
    lines.setField(ItemsPerSale::qty, qty);
    lines.setField(unit_price, *Money::fromDouble(unitPrice));
    lines.setField(ItemsPerSale::description, description);
    lines.update();
}

int BusinessFixture::countRows(const char* file, const TableDef& table) const {
    RecordSet rows(filePath(QLatin1String(file)), table);
    return rows.recordCount();
}

databaseview& BusinessFixture::showList(int mode) const {
    MDIForm1& window = MDIForm1::get();
    window.Command1_Click(mode == 0 ? 1 : mode == 1 ? 0 : 3);
    databaseview* finder = databaseview::loaded();
    if (!finder)
        qFatal("the list could not be shown");
    return *finder;
}

void BusinessFixture::addSample() {
    writeRecordAtomically(filePath(QLatin1String(BizSettings::fileName)),
                          rates(1.5f, 20, 10, 30, 8).encode());
    addPart(1, QStringLiteral("Bolt"), 0.50);
    addPart(2, QStringLiteral("Nut"), 0.30);
    addPart(3, QStringLiteral("Washer"), 0.10);
    addPart(4, QStringLiteral("Plate"), 12.00, 0, false);
    addItem(0, QStringLiteral("Bracket"), false, 1.5f, 2, 0.52);
    addComponent(0, true, 1, 2, 0.25);
    addComponent(0, true, 2, 1, 0.15);
    addItem(1, QStringLiteral("Frame"), true, 1.5f, 2, 24.52);
    addComponent(1, false, 0, 1, 0.52);
    addComponent(1, true, 4, 4, 6.00);
    addCustomer(0, QStringLiteral("Ann"), QStringLiteral("Lee"));
    addCustomer(1, QStringLiteral("John"), QStringLiteral("Smith"));
    addInvoice(0, 0, false, 1.62);
    addSaleLine(0, true, 1, 3, 0.50, QStringLiteral("Bolt"));
    addInvoice(1, 1, true, 26.48);
    addSaleLine(1, false, 1, 1, 24.52, QStringLiteral("Frame"));
}
