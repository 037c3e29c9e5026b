#include "core/business/businessfiles.h"

#include "core/catalogue/partstable.h"
#include "core/common/recordfile.h"
#include "core/items/itemtables.h"
#include "core/sales/payments.h"
#include "core/sales/salestables.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>

#include <array>

namespace businessfiles {

namespace {

constexpr const TableDef* partsTables[] = {&Parts::table};
constexpr const TableDef* itemTables[] = {&AssembledItems::table, &PartsList::table};
constexpr const TableDef* custTables[] = {&Customers::table, &SalesInvoices::table,
                                          &ItemsPerSale::table, &Payments::table};

constexpr std::array<DatabaseFile, 3> files{{
    {"parts.blk", "parts.fdb", partsTables},
    {"item.blk", "items.fdb", itemTables},
    {"cust.blk", "cust.fdb", custTables, &payments::carryPaidAmounts},
}};

// Builds the empty database under a temporary name beside the target, then renames it, so the
// template is either absent or complete.
void writeTemplate(const QString& path, std::span<const TableDef* const> tables) {
    QTemporaryFile temporary(path + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        throw FileError(path, temporary.errorString());
    // Temporary files are private to their owner; a template is an ordinary file.
    temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadGroup | QFileDevice::ReadOther);
    temporary.close();
    const QString name = temporary.fileName();
    temporary.setAutoRemove(false);
    try {
        {
            const auto db = Database::open(name, Database::Mode::Create);
            createTables(*db, tables);
        }
        QFile built(name);
        // When the rename fails because someone else wrote the template meanwhile, theirs is as
        // good as ours.
        if (!built.rename(path) && !QFile::exists(path))
            throw FileError(path, built.errorString());
    } catch (...) {
        QFile::remove(name);
        throw;
    }
    QFile::remove(name); // left only when the rename failed
}

void copyDatabase(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw FileError(from, source.errorString());
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        throw FileError(from, source.errorString());

    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() ||
        !target.commit())
        throw FileError(to, target.errorString());
}

// Opens the file as it is, when it is a database of this program of an earlier version;
// nothing otherwise (the checks report it).
std::shared_ptr<Database> openOlder(const QString& path) {
    try {
        const auto db = Database::open(path, Database::Mode::Older);
        if (layoutVersion(*db) < schemaVersion)
            return db;
    } catch (const DbError&) {
    }
    return nullptr;
}

bool upgradeOlder(const QString& path, const DatabaseFile& file) {
    if (const auto db = openOlder(path))
        return upgradeTables(*db, file.tables, file.carry);
    return false;
}

} // namespace

std::span<const DatabaseFile> databaseFiles() {
    return files;
}

QStringList ensureTemplates(const QString& homeFolder) {
    QStringList written;
    const QDir home(homeFolder);
    for (const DatabaseFile& file : files) {
        const QString path = home.filePath(QLatin1String(file.templateName));
        if (QFile::exists(path)) {
            // A template of an earlier version is brought up to date, as a business's file is.
            upgradeOlder(path, file);
            continue;
        }
        writeTemplate(path, file.tables);
        written << QLatin1String(file.templateName);
    }
    return written;
}

void createBusinessDatabases(const QString& homeFolder, const QString& areaFolder) {
    ensureTemplates(homeFolder);
    if (!QDir().mkpath(areaFolder))
        throw FileError(areaFolder, QStringLiteral("the folder could not be made"));
    const QDir home(homeFolder);
    const QDir area(areaFolder);
    for (const DatabaseFile& file : files) {
        const QString from = home.filePath(QLatin1String(file.templateName));
        checkDatabaseFile(from, file.tables);
        copyDatabase(from, area.filePath(QLatin1String(file.fileName)));
    }
}

void checkDatabaseFile(const QString& path, std::span<const TableDef* const> tables) {
    const auto db = Database::open(path);
    for (const TableDef* table : tables)
        checkTable(*db, *table);
}

bool upgradeDatabaseFile(const QString& path, const DatabaseFile& file) {
    const auto db = Database::open(path, Database::Mode::Older);
    return upgradeTables(*db, file.tables, file.carry);
}

std::vector<DbError> upgradeBusinessDatabases(const QString& areaFolder) {
    std::vector<DbError> failures;
    const QDir area(areaFolder);
    for (const DatabaseFile& file : files) {
        try {
            upgradeOlder(area.filePath(QLatin1String(file.fileName)), file);
        } catch (const DbError& error) {
            failures.push_back(error);
        }
    }
    return failures;
}

std::vector<DbError> checkBusinessDatabases(const QString& areaFolder) {
    std::vector<DbError> problems;
    const QDir area(areaFolder);
    for (const DatabaseFile& file : files) {
        try {
            checkDatabaseFile(area.filePath(QLatin1String(file.fileName)), file.tables);
        } catch (const DbError& error) {
            problems.push_back(error);
        }
    }
    return problems;
}

} // namespace businessfiles
