#include "sales/invoicelistrules.h"

#include "common/recordset.h"
#include "common/textnum.h"
#include "sales/salestables.h"

namespace invoicelist {

QString customerTagText(qint64 number, const QString& lastName, const QString& firstName) {
    return QLatin1Char('C') + format(number, QStringLiteral("0000:  ")) +
           lastName.left(8).toUpper() + QLatin1Char(',') + firstName.left(1).toUpper();
}

std::vector<CustomerTag> customerTags(RecordSet& customers) {
    std::vector<CustomerTag> tags;
    if (customers.recordCount() == 0)
        return tags;
    tags.reserve(size_t(customers.recordCount()));
    for (customers.moveFirst(); !customers.eof(); customers.moveNext()) {
        const qint64 number = customers.field(Customers::cust_no).toInt64();
        tags.push_back(
            {number, customerTagText(number, customers.field(Customers::last_name).toText(),
                                     customers.field(Customers::first_name).toText())});
    }
    customers.moveFirst();
    return tags;
}

int findCustomerTag(const std::vector<CustomerTag>& tags, qint64 number) {
    for (size_t i = 0; i < tags.size(); ++i) {
        if (tags[i].number == number)
            return int(i);
    }
    return -1;
}

QString invoiceLine(const RecordSet& invoices, bool allCustomers, const QString& tag) {
    const QString money =
        allCustomers ? QStringLiteral("$0.00         ") : QStringLiteral("$0.00          ");
    return format(invoices.field(SalesInvoices::invoice_no).toInt64(),
                  QStringLiteral("0000:        ")) +
           formatDate(invoices.field(SalesInvoices::update_date).toDate(),
                      QStringLiteral("dd/mm/yyyy            ")) +
           format(invoices.field(SalesInvoices::amount_owed).toMoney(), money) +
           QStringLiteral("Paid  ") +
           format(invoices.field(SalesInvoices::amount_paid).toMoney(), money) + tag;
}

QString statusText(qint16 cust, int count) {
    const bool all = cust < 0;
    if (count > 0) {
        if (all)
            return QStringLiteral("Total invoices: ") + numberText(double(count));
        return QStringLiteral("Cust: #") + QString::number(cust) + QStringLiteral(" has ") +
               numberText(double(count)) + QStringLiteral(" invoice(s)");
    }
    if (all)
        return QStringLiteral("No invoice records");
    return QStringLiteral("Cust: #") + numberText(double(cust)) +
           QStringLiteral(" Has no invoices");
}

Listing listInvoices(RecordSet& invoices, qint16 cust, const std::vector<CustomerTag>& tags) {
    Listing listing;
    const bool all = cust < 0;
    if (invoices.recordCount() == 0 || (all && tags.empty()))
        return listing;
    for (invoices.moveFirst(); !invoices.eof(); invoices.moveNext()) {
        const qint64 owner = invoices.field(SalesInvoices::cust_no).toInt64();
        QString line;
        if (all) {
            const int tag = findCustomerTag(tags, owner);
            line = invoiceLine(invoices, true, tag >= 0 ? tags[size_t(tag)].text : QString());
        } else if (owner == cust) {
            line = invoiceLine(invoices, false);
        } else {
            continue;
        }
        listing.lines << line;
        listing.positions.push_back(invoices.absolutePosition());
    }
    return listing;
}

} // namespace invoicelist
