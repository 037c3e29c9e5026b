#pragma once

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

// The data finder: owns the six data connections through which every window reads and writes
// the open business's tables, and lists parts (mode 0), customers (1) or assembled items (3) in
// five sortable, searchable columns whose buttons start every change.
class databaseview : public QWidget, public WindowSlot<databaseview> {
    Q_OBJECT
public:
    // Opens the six data connections in the current folder; throws DbError naming the file
    // when one cannot be opened.
    databaseview();
    ~databaseview() override;

    // The data connections: 0 "Parts", 1 "Customers", 2 "items_per_sale", 3 "Assembled Items",
    // 4 "sales_invoices", 5 "parts list".
    enum Connection { parts = 0, customers = 1, items_per_sale = 2, assembled_items = 3,
                      sales_invoices = 4, parts_list = 5 };
    std::array<std::unique_ptr<RecordSet>, 6> Data1;
    // Data connection n, loading the data finder without showing it when it is not loaded.
    static RecordSet& connection(int n);

    qint16 mode = 0; // 0 parts, 1 customers, 3 assembled items
    qint16 max = 0;  // one more than the largest record number of the shown table

    // Unloads a data finder that is loaded, sets the mode and shows the window in the main
    // window. Returns nullptr when the business's databases cannot be opened (the user is told).
    static databaseview* showList(qint16 mode);
    // Rebuilds caption, headers, buttons and the whole list from mode and the sort column.
    void setform();
    // Closes the connections, deletes the window and resets the main window.
    void unload();

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void connectKeys();
    int columnOf(const QObject* watched) const;
    bool keyEvent(QObject* watched, QEvent* event);
    void headerClicked(int column);
    void headerDoubleClicked(int column);
    void search();
    void onSelection();
    void levelColumns(int firstRow);

    FinderModel* model_ = nullptr;
    std::unique_ptr<FinderActions> actions_;
    qint16 sort_col = 0;
    qint16 find_col = 0;
    int nextNumber_ = 0;
    bool levelling_ = false;
};
