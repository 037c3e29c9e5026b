#pragma once

#include "core/sales/customerrules.h"
#include "gui/widgets/windowslot.h"

#include <QDialog>

#include <array>

class QCalendarWidget;
class QDate;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordSet;

// The customer editor: adds a customer to "Customers" (newcust -1) or shows and changes the row
// on which the data finder's customer connection stands (newcust 0), and opens the customer's
// invoice list. The date of birth is picked on a calendar that lies over the form.
class custpage : public QDialog, public WindowSlot<custpage> {
    Q_OBJECT
public:
    custpage();

    qint16 newcust = 0;      // -1 adding, 0 editing
    qint16 max = 0;          // the data finder's next customer number
    bool numbersLeft = true; // false when that number would pass 32767

    void load();

    std::array<QLineEdit*, 7> Text1{};
    std::array<QLabel*, 7> Label1{};
    QCalendarWidget* Calendar1;
    std::array<QPushButton*, 3> Command1{}; // "&Save", "&Close", "C&ustomer Sales"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void reject() override;

private:
    RecordSet& customers() const;
    // True when a field shows something else than it did when the editor was loaded.
    bool changed() const;
    void showCalendar();
    void datePicked(const QDate& date);
    void save();
    void customerSales();

    customerrules::Fields loaded_;
};
