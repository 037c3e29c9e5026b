#pragma once

#include "gui/widgets/windowhost.h"
#include "gui/widgets/windowslot.h"

#include <QWidget>

#include <array>
#include <memory>

class FinderActions;
class FinderModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPushButton;
class RecordSet;

// The data finder: lists the parts (mode 0), customers (1) or assembled items (3) of a business
// in five sortable, searchable columns whose buttons start every change. It reads the tables
// through the session's six data connections.
class databaseview : public QWidget, public WindowSlot<databaseview> {
    Q_OBJECT
public:
    databaseview();
    ~databaseview() override;

    // The data connections by number, as every window names them.
    enum Connection {
        parts = Business::parts,
        customers = Business::customers,
        items_per_sale = Business::items_per_sale,
        assembled_items = Business::assembled_items,
        sales_invoices = Business::sales_invoices,
        parts_list = Business::parts_list
    };
    // Data connection n of the session the finder lists.
    RecordSet& connection(int n) const;

    qint16 mode = 0; // 0 parts, 1 customers, 3 assembled items
    qint16 max = 0;  // one more than the largest record number of the shown table

    // Unloads a data finder that is loaded, sets the mode and shows the window in the host.
    // Returns nullptr when the business's databases cannot be opened (the user is told).
    static databaseview* showList(Business& business, WindowHost& host, qint16 mode);
    // The same, in the host and for the business of this finder (after a deletion, or when the
    // new item dialog has added an item).
    databaseview* reshow(qint16 mode);
    // Rebuilds caption, headers, buttons and the whole list from mode and the sort column.
    void setform();
    // What every activation does, and what follows the close of every window opened from the
    // list: the list is rebuilt from the table, sorted by number, with no line selected.
    void rebuild();
    // Moves connection `mode` to the record of the selected line; false when none is selected.
    bool positionOnSelection();

    // The selected line (the same in every column), or -1.
    int selectedLine() const;
    // Selects a line in every column and moves connection `mode` to its record; -1 clears.
    void selectLine(int line);
    int lineCount() const;
    // The text of a column's line as shown, and the row position the line stands for.
    QString cellText(int column, int line) const;
    int linePosition(int line) const;
    // Closes the search panel and hides the pop-up customer list.
    void closeSearch();
    // False when the next record number would pass 32767: nothing more can be added.
    bool numbersLeft() const;

    std::array<QListView*, 5> List1{};
    std::array<QLabel*, 5> Label1{};
    std::array<QPushButton*, 5> Command1{};
    QListWidget* List4 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* ExportList = nullptr; // "Export...": the list as shown to a CSV file

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void unloading() override;
    void buildControls();
    void connectKeys();
    int columnOf(const QObject* watched) const;
    bool keyEvent(QObject* watched, QEvent* event);
    void headerClicked(int column);
    void headerDoubleClicked(int column);
    void search();
    void onSelection();
    void levelColumns(int firstRow);
    void exportList();

    WindowHost* host_ = nullptr;
    FinderModel* model_ = nullptr;
    std::unique_ptr<FinderActions> actions_;
    qint16 sort_col = 0;
    qint16 find_col = 0;
    int nextNumber_ = 0;
    bool levelling_ = false;
};
