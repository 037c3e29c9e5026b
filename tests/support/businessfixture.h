#pragma once

#include "core/business/business.h"
#include "core/business/bizsettings.h"
#include "core/common/money.h"
#include "gui/app/mdiform1.h"
#include "support/scriptedprompts.h"
#include "support/temphome.h"

#include <QDate>
#include <QString>

#include <memory>

class databaseview;
class PromptResponder;
class RecordSet;
struct TableDef;

// The one fixture of the window tests: a fresh home folder holding the business "Test Works" in
// area 0, opened by the main window as a start of the program opens it (the main window is
// shown; no title page). Its boxes are answered by scripted prompts, or by the program's real
// message and input boxes for tests that drive them with a ModalDriver.
//
// With Contents::Sample the business holds a small business's data:
//   settings   mark-up 1.5, engineering $20/hr, assembly $10/hr, testing $30/hr, tax 8 %
//   parts      1 "Bolt" $0.50, 2 "Nut" $0.30, 3 "Washer" $0.10 (cost half the price), 4 "Plate"
//              $12.00 (special stock)
//   items      0 "Bracket" (unconfirmed: 2 of part 1, 1 of part 2), 1 "Frame" (confirmed: 1 of
//              item 0, 4 of part 4)
//   customers  0 Ann Lee, 1 John Smith
//   invoices   0 for customer 0 (unconfirmed: 3 of part 1), 1 for customer 1 (confirmed:
//              1 of item 1)
class BusinessFixture {
public:
    enum class Contents { Empty, Sample };
    enum class Boxes { Scripted, Real };
    static const QString name; // "Test Works"

    explicit BusinessFixture(Contents contents = Contents::Empty, Boxes boxes = Boxes::Scripted);
    ~BusinessFixture();
    BusinessFixture(const BusinessFixture&) = delete;
    BusinessFixture& operator=(const BusinessFixture&) = delete;

    TempHome home;

    MDIForm1& main() const;
    Business& business() const;
    RecordSet& connection(int n) const;
    // A file of the business's folder.
    QString filePath(const QString& fileName) const;
    // The scripted prompts (Boxes::Scripted only).
    ScriptedPrompts& prompts() const;

    // settings.dat written, and taken by the open business as the settings window's Save does.
    void writeSettings(const BizSettings& settings);
    static BizSettings rates(float markup, float eng, float assembly, float testing, float tax);

    // Rows written straight into the business's tables.
    static void addPart(const QString& file, qint64 number, const QString& description,
                        double price, qint64 classCode = 0, bool general = true, qint64 qty = 0);
    void addPart(qint64 number, const QString& description, double price, qint64 classCode = 0,
                 bool general = true, qint64 qty = 0) const;
    void addItem(qint64 number, const QString& description, bool confirmed = false,
                 float markup = 1.5f, double days = 0, double totalCosts = 0) const;
    void addComponent(qint64 host, bool isPart, qint64 number, qint64 qty = 1,
                      double unitPrice = 0) const;
    void addCustomer(qint64 number, const QString& first, const QString& last) const;
    void addInvoice(qint64 number, qint64 customer, bool confirmed = false,
                    double owed = 0) const;
    void addSaleLine(qint64 invoice, bool isPart, qint64 number, qint64 qty, double unitPrice,
                     const QString& description) const;
    // Rows of a table as stored now, read afresh from its file.
    int countRows(const char* file, const TableDef& table) const;

    // A list shown as the toolbar shows it: mode 0 parts, 1 customers, 3 items.
    databaseview& showList(int mode) const;

private:
    void addSample();

    std::unique_ptr<ScriptedPrompts> scripted_;
    std::unique_ptr<PromptResponder> real_;
};
