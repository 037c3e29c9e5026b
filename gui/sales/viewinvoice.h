#pragma once

#include "core/business/bizsettings.h"
#include "gui/widgets/windowslot.h"
#include "gui/finder/pickercaller.h"
#include "core/sales/invoicedocument.h"
#include "core/sales/invoicelines.h"

#include <QDialog>

#include <array>
#include <optional>

class LineGrid;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The invoice editor: one sales invoice with its ten header fields, its lines in a grid of eight
// rows, and the total owed with tax. It opens a stored invoice (rec 0 or more: the row's
// position in "sales_invoices") or starts a new one for customer -rec - 1; with sell 0 or 3 the
// first line is the part or item on which the data finder's connection `sell` stands.
// Lines are added and changed through the picker, which calls adder().
//
// Opening: viewinvoice& v = viewinvoice::get(business); v.rec = ...; v.sell = ...;
// if (v.load()) v.runModal(); a load that cannot open the invoice tells the user, unloads the
// window and returns false.
class viewinvoice : public QDialog, public WindowSlot<viewinvoice>, public PickerCaller {
    Q_OBJECT
public:
    viewinvoice();

    bool load();

    // Writes the picker's choice into line `row` (or merges it) and unloads the picker.
    void adder(qint16 row) override;
    // Makes the first line from the part (mode 0) or item (mode 3) the data finder stands on.
    void adder2(qint16 mode);
    qint16 pickerOnto() const override { return onto; }
    qint16 pickerCnt() const override { return cnt; }
    PickerLine pickerLine() const override;

    qint16 rec = 0;  // row position of a stored invoice; negative: -(customer number + 1)
    qint16 sell = 1; // 0 sell the finder's part, 3 its item, 1 no such line
    qint16 cnt = 0;  // lines in use
    qint16 onto = 0; // the line chosen by the last grid click
    // The clicked line handed to the picker: number and description, unit price, quantity.
    QString Data1, data2, data3;

    const InvoiceLines& lines() const { return lines_; }
    bool isConfirmed() const { return confirmed; }

    std::array<QLineEdit*, 10> Text1{};
    std::array<QLabel*, 10> Label1{};
    // The grid, one array per column: I/P #, Description, Unit Price, Qty, Total Price.
    std::array<QLineEdit*, InvoiceLines::visibleRows> Text2{}, Text3{}, Text4{}, Text5{}, Text6{};
    std::array<QLabel*, 5> Label2{};
    QScrollBar* VScroll1 = nullptr;
    std::array<QPushButton*, 3> Command1{}; // "&Save", "C&onfirm", "&Close"
    QPushButton* ExportList = nullptr;      // "Export...": the lines to a CSV file

    // Beside them: "Print..." (Ctrl+P), "Save as PDF..." and, for a confirmed invoice as stored,
    // "Record payment...".
    QPushButton* PrintInvoice = nullptr;
    QPushButton* SavePdf = nullptr;
    QPushButton* RecordPayment = nullptr;
    // The invoice as it would be printed now.
    InvoiceDocument document() const;

protected:
    void reject() override;

private:
    void buildControls();
    void buildGrid();
    void loadNew();
    bool loadStored();
    void checkDelivery();
    void redisplay();
    // The tax field shows the percentage and makes it the rate in force.
    void showTax(float percent);
    // The typed tax made the rate in force, with its "%" added; false when it is no rate from
    // 0 to 100: the refusal is shown and the field goes back to the rate in force.
    bool settleTax();
    void gridClick(int r);
    void descriptionTip(int r);
    void confirm();
    void save();
    void closeEditor();
    // Unloads the editor and the invoice list, without a question.
    void leave();
    void exportLines();

    // The header boxes as shown, for Save and for printing.
    invoicerules::InvoiceBoxes shownBoxes() const;
    // Printing, payments and removing a line.
    void addOutputButtons(QHBoxLayout* row);
    void printInvoice();
    void savePdf();
    bool mayTakePayment() const;
    void showPaid(Money paid);
    void recordPayment();
    bool canRemoveLine(int k) const;
    void removeLine(int k);

    // What the user can change in the header, to tell whether anything was changed.
    struct Shown {
        QString salesperson;
        std::optional<float> tax;
        QString taxText;
        QString delivered;
        bool confirmed = false;
    };
    Shown shownState() const;
    bool changed() const;

    InvoiceLines lines_;
    bool confirmed = false;
    bool is_new = false;
    bool lines_changed = false;
    bool closing = false; // asking whether to close
    Shown loaded_;
    float settled_rate = 0;     // the tax rate in force
    QString settled_tax;        // its text, as shown when it was settled
    std::optional<Money> owed_; // the total shown; empty when no amount can hold it
    qint16 max_delivery = 0;
    LineGrid* grid_ = nullptr;
    BizSettings settings_;
    bool storedConfirmed_ = false; // loaded confirmed: payments may be taken
};
