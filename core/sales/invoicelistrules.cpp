#include "core/sales/invoicelistrules.h"

#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/sales/payments.h"
#include "core/sales/salestables.h"

#include <algorithm>

#include <unordered_map>

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

CustomerTagIndex::CustomerTagIndex(const std::vector<CustomerTag>& tags) {
    first_.reserve(tags.size());
    for (size_t i = 0; i < tags.size(); ++i)
        first_.try_emplace(tags[i].number, int(i)); // a later tag with the number is never found
}

int CustomerTagIndex::find(qint64 number) const {
    const auto it = first_.find(number);
    return it == first_.end() ? -1 : it->second;
}

namespace {

// Texts of values that repeat from line to line (a day's invoices, unpaid amounts), each written
// once per listing. It keeps a bounded number, so values that never repeat cost little.
class TextCache {
public:
    template <typename Write> QString text(qint64 key, Write write) {
        if (const auto it = texts_.find(key); it != texts_.end())
            return it->second;
        QString written = write();
        if (texts_.size() < limit)
            texts_.emplace(key, written);
        return written;
    }

private:
    static constexpr std::size_t limit = 4096;
    std::unordered_map<qint64, QString> texts_;
};

// The lines of one listing, for the current "sales_invoices" row.
class LineWriter {
public:
    explicit LineWriter(bool allCustomers)
        : money_(allCustomers ? QStringLiteral("$0.00         ")
                              : QStringLiteral("$0.00          ")),
          all_(allCustomers) {}

    // The line of the current row; its balance is added to `balanceDue`.
    QString line(const RecordSet& invoices, const QString& tag, Money& balanceDue) {
        using namespace SalesInvoices;
        const QDate date = invoices.field(update_date).toDate();
        QString line =
            format(invoices.field(invoice_no).toInt64(), QStringLiteral("0000:        "));
        line.reserve(line.size() + 64 + tag.size());
        line += dates_.text(date.toJulianDay(), [&] {
            return formatDate(date, QStringLiteral("dd/mm/yyyy            "));
        });
        const Money owed = invoices.field(amount_owed).toMoney();
        const Money paid = invoices.field(amount_paid).toMoney();
        line += amount(owed);
        line += QLatin1String("Paid  ");
        line += amount(paid);
        line += tag;
        if (all_)
            line += QString(std::max<qsizetype>(tagWidth - tag.size(), 0) + 2, QLatin1Char(' '));
        const Money balance = payments::balanceDue(owed, paid);
        line += QLatin1String("Due  ");
        line += balances_.text(balance.raw(), [&] { return amountText(balance); });
        balanceDue += balance;
        return line;
    }

private:
    QString amount(Money value) {
        return amounts_.text(value.raw(), [&] { return format(value, money_); });
    }

    // A tag of a four-digit customer: "C0012:  " and eight letters, a comma and one.
    static constexpr qsizetype tagWidth = 18;
    QString money_;
    bool all_;
    TextCache dates_;
    TextCache amounts_;
    TextCache balances_;
};

} // namespace

QString statusText(qint16 cust, int count, Money balanceDue) {
    const bool all = cust < 0;
    if (count == 0) {
        if (all)
            return QStringLiteral("No invoice records");
        return QStringLiteral("Cust: #") + numberText(double(cust)) +
               QStringLiteral(" Has no invoices");
    }
    const QString due = QStringLiteral("   Balance due: ") + amountText(balanceDue);
    if (all)
        return QStringLiteral("Total invoices: ") + numberText(double(count)) + due;
    return QStringLiteral("Cust: #") + QString::number(cust) + QStringLiteral(" has ") +
           numberText(double(count)) + QStringLiteral(" invoice(s)") + due;
}

Listing listInvoices(RecordSet& invoices, qint16 cust, const std::vector<CustomerTag>& tags) {
    Listing listing;
    const bool all = cust < 0;
    if (invoices.recordCount() == 0 || (all && tags.empty()))
        return listing;
    const CustomerTagIndex tagIndex(tags);
    LineWriter writer(all);
    for (invoices.moveFirst(); !invoices.eof(); invoices.moveNext()) {
        const qint64 owner = invoices.field(SalesInvoices::cust_no).toInt64();
        QString line;
        if (all) {
            const int tag = tagIndex.find(owner);
            line = writer.line(invoices, tag >= 0 ? tags[size_t(tag)].text : QString(),
                               listing.balanceDue);
        } else if (owner == cust) {
            line = writer.line(invoices, QString(), listing.balanceDue);
        } else {
            continue;
        }
        listing.lines << line;
        listing.positions.push_back(invoices.absolutePosition());
    }
    return listing;
}

} // namespace invoicelist
