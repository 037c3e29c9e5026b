#include "core/business/business.h"

#include "core/business/businessfiles.h"
#include "core/catalogue/partstable.h"
#include "core/common/recordfile.h"
#include "core/common/recordset.h"
#include "core/items/itemtables.h"
#include "core/sales/salestables.h"

#include <QDir>
#include <QFileInfo>

namespace {
struct ConnectionFile {
    const char* file;
    const TableDef* table;
};
const ConnectionFile connectionFiles[Business::connectionCount] = {
    {"parts.fdb", &Parts::table},        {"cust.fdb", &Customers::table},
    {"cust.fdb", &ItemsPerSale::table},  {"items.fdb", &AssembledItems::table},
    {"cust.fdb", &SalesInvoices::table}, {"items.fdb", &PartsList::table}};

// A code file as stored, or a blank table when the file is missing or not one whole record.
CodeTable readCodeTable(const QString& path) {
    const RecordRead read = readRecord(path, CodeTable::fileSize);
    if (read.status == RecordStatus::Ok) {
        if (std::optional<CodeTable> table = CodeTable::decode(read.bytes))
            return *table;
    }
    return CodeTable();
}
} // namespace

Business::Business(int slot, const QString& name, const QString& folder)
    : slot_(slot), name_(name), folder_(QDir(folder).absolutePath()),
      settings_(loadBizSettings(folder_)),
      classCodes_(readCodeTable(filePath(QLatin1String(CodeTable::classFileName)))),
      vendorCodes_(readCodeTable(filePath(QLatin1String(CodeTable::vendorFileName)))) {
    for (const DbError& error : businessfiles::upgradeBusinessDatabases(folder_))
        upgradeFailures_.push_back({error.file(), error.reason()});
}

Business::~Business() = default;

QString Business::filePath(const QString& fileName) const {
    return QDir(folder_).filePath(fileName);
}

void Business::openConnections() {
    if (connections_[0])
        return;
    if (closed_)
        throw DbError(folder_, QStringLiteral("the business is closed"));
    std::array<std::unique_ptr<RecordSet>, connectionCount> opened;
    for (int n = 0; n < connectionCount; ++n) {
        opened[size_t(n)] = std::make_unique<RecordSet>(
            filePath(QLatin1String(connectionFiles[n].file)), *connectionFiles[n].table);
    }
    connections_ = std::move(opened);
}

RecordSet& Business::connection(int n) {
    openConnections();
    return *connections_.at(size_t(n));
}

void Business::tellDamagedFiles() {
    std::vector<damagedfiles::Problem> problems = damagedfiles::check(folder_);
    // A file left at its earlier version is told of with the reason its upgrade failed.
    for (damagedfiles::Problem& problem : problems) {
        for (const damagedfiles::Problem& failure : upgradeFailures_) {
            if (QFileInfo(failure.path) == QFileInfo(problem.path))
                problem.reason = QStringLiteral("it could not be brought up to date: ") +
                                 failure.reason;
        }
    }
    tellDamaged(problems);
}

void Business::tellDamaged(const std::vector<damagedfiles::Problem>& problems) {
    damagedfiles::tellOnce(problems, told_);
}

void Business::close() {
    if (closed_)
        return;
    closed_ = true;
    emit closing();
    for (auto& connection : connections_)
        connection.reset();
}
