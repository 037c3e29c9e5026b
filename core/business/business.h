#pragma once

#include "core/business/bizsettings.h"
#include "core/business/codetable.h"
#include "core/business/damagedfiles.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <array>
#include <memory>

class RecordSet;

// The open business: where it lives, its settings record, its two code tables, and its three
// databases with the six connections through which the windows read and write its tables. The
// shell opens it, hands it to every window it opens, and closes it; a window works only on the
// session it was opened for. Nothing here depends on the process's current directory.
class Business : public QObject {
    Q_OBJECT
public:
    // The data connections by number: 0 "Parts", 1 "Customers", 2 "items_per_sale",
    // 3 "Assembled Items", 4 "sales_invoices", 5 "parts list".
    enum Connection {
        parts = 0,
        customers = 1,
        items_per_sale = 2,
        assembled_items = 3,
        sales_invoices = 4,
        parts_list = 5
    };
    static constexpr int connectionCount = 6;

    // Opens the business of a slot whose files are in `folder` (absolute): brings databases of an
    // earlier layout version up to date, reads settings.dat and the two code files. A missing
    // code file gives a blank table, a missing or damaged settings file zero rates and blank
    // texts. The databases open when first used.
    Business(int slot, const QString& name, const QString& folder);
    ~Business() override;
    Business(const Business&) = delete;
    Business& operator=(const Business&) = delete;

    int slot() const { return slot_; }
    // The name as the registry holds it (20 characters).
    const QString& name() const { return name_; }
    const QString& folder() const { return folder_; }
    // The absolute path of a file of the business's folder.
    QString filePath(const QString& fileName) const;

    // The settings record as read when the business opened, or as last saved.
    const BizSettings& settings() const { return settings_; }
    // The settings window wrote a new record to settings.dat.
    void settingsSaved(const BizSettings& record) { settings_ = record; }

    CodeTable& class_codes() { return classCodes_; }
    CodeTable& vendor_codes() { return vendorCodes_; }
    const CodeTable& class_codes() const { return classCodes_; }
    const CodeTable& vendor_codes() const { return vendorCodes_; }

    // Opens the six connections unless they are open: all of them or, with DbError naming the
    // file at fault, none.
    void openConnections();
    // Data connection n, opened with the others when needed (DbError when that fails).
    RecordSet& connection(int n);

    // Tells the user, in one message, of the damaged files of the folder that were not told of
    // before while this session is open (a file that changed since counts as new).
    void tellDamagedFiles();
    void tellDamaged(const std::vector<damagedfiles::Problem>& problems);

    // Closing: every window of the business unloads, then the databases close. Once closed the
    // session opens no connection any more.
    void close();
    bool isClosed() const { return closed_; }

signals:
    // The business is closing: its windows unload, without writing.
    void closing();

private:
    int slot_;
    QString name_;
    QString folder_;
    BizSettings settings_;
    CodeTable classCodes_;
    CodeTable vendorCodes_;
    std::array<std::unique_ptr<RecordSet>, connectionCount> connections_;
    QSet<QString> told_;
    bool closed_ = false;
    // Databases of an earlier version that could not be brought up to date, with the reason.
    std::vector<damagedfiles::Problem> upgradeFailures_;
};
