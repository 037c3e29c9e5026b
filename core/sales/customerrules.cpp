#include "core/sales/customerrules.h"

#include "core/common/database.h"
#include "core/common/prompts.h"
#include "core/common/recordset.h"
#include "core/common/textnum.h"
#include "core/sales/salestables.h"

namespace customerrules {

namespace {
const QString numberPattern = QStringLiteral("0000");
const QString moneyPattern = QStringLiteral("$0.00");
const QString birthDatePattern = QStringLiteral("mmm dd, yyyy");
} // namespace

Fields newFields(qint16 next) {
    Fields fields;
    fields[number] = format(int(next), numberPattern);
    fields[totalValue] = format(Money(), moneyPattern);
    return fields;
}

Fields shownFields(const RecordSet& customers) {
    Fields fields;
    fields[number] = format(customers.field(Customers::cust_no).toInt64(), numberPattern);
    fields[firstName] = customers.field(Customers::first_name).toText();
    fields[lastName] = customers.field(Customers::last_name).toText();
    fields[address] = customers.field(Customers::address).toText();
    fields[telephone] = customers.field(Customers::telephone).toText();
    fields[birthDate] = formatDate(customers.field(Customers::dob).toDate(), birthDatePattern);
    fields[totalValue] = format(customers.field(Customers::total_value).toMoney(), moneyPattern);
    return fields;
}

SaveColumns saveColumns(const Fields& fields, const QDate& today) {
    SaveColumns result;
    for (const QString& text : fields) {
        if (text.isEmpty()) {
            result.refusal = incomplete;
            return result;
        }
    }
    const std::optional<QDate> born = toDate(fields[birthDate]);
    if (!born) {
        result.refusal = badBirthDate;
        return result;
    }
    if (*born > today) {
        result.refusal = futureBirthDate;
        return result;
    }
    // The total is shown as "$0.00": the amount follows the sign.
    const Money total = toMoney(fields[totalValue].mid(1).left(60)).value_or(Money());
    result.columns = {
        {Customers::cust_no, qint64(wholePart(leadingValue(fields[number])))},
        {Customers::first_name, fields[firstName]},
        {Customers::last_name, fields[lastName]},
        {Customers::address, fields[address]},
        {Customers::telephone, fields[telephone]},
        {Customers::dob, *born},
        {Customers::total_value, total},
    };
    return result;
}

void store(RecordSet& customers, bool adding, const std::vector<std::pair<int, Value>>& columns) {
    try {
        if (adding)
            customers.addNew();
        else
            customers.edit();
        for (const auto& [column, value] : columns)
            customers.setField(column, value);
        customers.update();
    } catch (const DbError&) {
        if (customers.isEditing())
            customers.cancelUpdate();
        throw;
    }
}

QString listName(const QString& lastName, const QString& firstName) {
    return lastName.trimmed() + QStringLiteral(", ") + firstName;
}

bool customerHasInvoices(RecordSet& invoices, qint64 customer) {
    if (invoices.recordCount() == 0)
        return false;
    for (invoices.moveFirst(); !invoices.eof(); invoices.moveNext()) {
        if (invoices.field(SalesInvoices::cust_no).toInt64() == customer)
            return true;
    }
    return false;
}

bool deleteSelectedCustomer(RecordSet& customers, RecordSet& invoices) {
    const int position = customers.absolutePosition();
    if (position < 0)
        return false;
    const qint64 customer = customers.field(Customers::cust_no).toInt64();
    if (customerHasInvoices(invoices, customer)) {
        prompts::message(hasInvoices);
        return false;
    }
    if (!prompts::question(QStringLiteral("Are you sure"), QStringLiteral("deleting customer")))
        return false;
    try {
        // Checked again under the transaction, so that the row never goes while an invoice
        // names it.
        Transaction transaction(customers.database());
        if (customerHasInvoices(invoices, customer)) {
            prompts::message(hasInvoices);
            return false;
        }
        customers.moveFirst();
        customers.move(position);
        customers.remove();
        transaction.commit();
    } catch (const DbError& error) {
        prompts::engineError(error);
        return false;
    }
    return true;
}

} // namespace customerrules
