#pragma once

#include "gui/widgets/windowslot.h"
#include "core/sales/invoicelistrules.h"

#include <QDialog>

#include <array>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

// The invoice list: one line per invoice of one customer (cust 0 or more) or of all customers
// (cust negative), from which the invoice editor opens on a listed or a new invoice.
class showinvoices : public QDialog, public WindowSlot<showinvoices> {
    Q_OBJECT
public:
    showinvoices();

    qint16 cust = -1; // the customer listed; negative lists every customer's invoices
    QString cname;    // "LAST, First" for the caption; "ALL" with every customer

    void load();
    // Fills List1, List2 and the status line from "sales_invoices".
    void showlist();

    QListWidget* List1;
    std::vector<int> List2; // for each line of List1, its invoice's row position
    std::vector<invoicelist::CustomerTag> List3; // all customers only: the tags ending the lines
    QLabel* Label1;
    std::array<QPushButton*, 3> Command1{}; // "View/Edit", "Close", "New Invoice"
    QPushButton* ExportList = nullptr;      // "Export...": the list to a CSV file

protected:
    void reject() override;

private:
    void viewSelected();
    void newInvoice();
    void openInvoice(qint16 rec);
    void exportList();
};
