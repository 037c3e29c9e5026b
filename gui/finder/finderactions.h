#pragma once

#include <functional>

class databaseview;

// What the data finder's five buttons and its pop-up customer list do in each list.
class FinderActions {
public:
    explicit FinderActions(databaseview& finder) : finder_(finder) {}

    void Command1_Click(int index);
    // A click on a line of the pop-up customer list: a new invoice for that customer.
    void customerPicked(int row);
    // Runs the action of a double-click on a line.
    void lineDoubleClicked();

private:
    // Runs `open`, which shows a window from the list; when that window has closed, the list is
    // rebuilt as on activation.
    void fromList(const std::function<void()>& open);
    bool needsSelection(const char* text, const char* title = nullptr) const;
    bool numbersLeft() const;
    void addPart();
    void editPart();
    void deletePart();
    void deleteItem();
    void editItem();
    void showCustomerList();
    void addCustomer();
    void editCustomer();
    void deleteCustomer();
    void viewInvoices();

    databaseview& finder_;
};
