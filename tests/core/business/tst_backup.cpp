// Backups and restores of a business folder, the automatic backups' rotation, and the CSV
// writer read back by a standard CSV reader.
#include "core/business/backuparchive.h"
#include "core/business/bizregistry.h"
#include "core/business/bizworkspace.h"
#include "core/business/businessbackup.h"
#include "core/business/businessfiles.h"
#include "core/common/csvwriter.h"
#include "core/common/database.h"
#include "support/temphome.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <sqlite3.h>

#include <zip.h>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void exec(const QString& path, const QByteArray& sql) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error);
    const QString text = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, qPrintable(text));
}

// Every row of every table of a database, as text, in rowid order.
QStringList rowsOf(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QStringList tables;
    sqlite3_stmt* list = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name",
                       -1, &list, nullptr);
    while (sqlite3_step(list) == SQLITE_ROW)
        tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
    sqlite3_finalize(list);
    QStringList rows;
    for (const QString& table : tables) {
        const QByteArray sql = "SELECT * FROM \"" + table.toUtf8() + "\" ORDER BY rowid";
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW) {
            QStringList cells{table};
            for (int c = 0; c < sqlite3_column_count(select); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(select, c));
                cells << QString::number(sqlite3_column_type(select, c)) +
                             QString::fromUtf8(text ? text : "");
            }
            rows << cells.join(QLatin1Char('|'));
        }
        sqlite3_finalize(select);
    }
    sqlite3_close(db);
    return rows;
}

// A zip of the given entries, written with libzip, as another program would write one.
void writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries) {
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    QVERIFY(archive);
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source =
            zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        QVERIFY(zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) >= 0);
    }
    QCOMPARE(zip_close(archive), 0);
}

QStringList homeEntries(const QString& home) {
    return QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                QDir::Name);
}

const QString businessName = QStringLiteral("Corner Shop");

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    BizRegistry registry;
    QString area;

    // Business "Corner Shop" in area 0: rows in each database, the three small files and a
    // picture in a subfolder named by a part.
    void makeBusiness() {
        registry = BizRegistry::empty();
        createBusiness(home->path(), registry, businessName);
        writeRegistry(home->path(), registry);
        area = businessFolder(home->path(), registry, 0);
        exec(QDir(area).filePath(QStringLiteral("parts.fdb")),
             "INSERT INTO Parts VALUES (1, 'Bolt, M6 \"hex\"', 2, 2500, 5000, 3, 1, 40, 1.5, "
             "'2024-03-01', 'zinc', 'PICS/BOLT.PNG', 'Acmé');"
             "INSERT INTO Parts VALUES (2, 'Nut', 0, 1000, 3000, 0, 0, 0, 0, NULL, NULL, "
             "'MISSING.PNG', NULL)");
        exec(QDir(area).filePath(QStringLiteral("items.fdb")),
             "INSERT INTO \"Assembled Items\" (item_no, item_desc) VALUES (0, 'Bracket')");
        exec(QDir(area).filePath(QStringLiteral("cust.fdb")),
             "INSERT INTO Customers (cust_no, first_name, last_name) VALUES (0, 'Zoë', 'Lee')");
        writeFile(QDir(area).filePath(QStringLiteral("settings.dat")), QByteArray(110, 'S'));
        writeFile(QDir(area).filePath(QStringLiteral("classprt.dat")), QByteArray(6000, 'C'));
        writeFile(QDir(area).filePath(QStringLiteral("vendor.dat")), QByteArray(6000, 'V'));
        QDir(area).mkdir(QStringLiteral("pics"));
        writeFile(QDir(area).filePath(QStringLiteral("pics/bolt.png")), QByteArray("\x89PNG bolt"));
    }

    QString backUp() {
        const QString archive = home->file(QStringLiteral("shop.praxo-backup"));
        businessbackup::backUp(area, businessName, archive);
        return archive;
    }

    // An archive as written by the program, then changed by `change` on its manifest and files.
    QString alteredArchive(const std::function<void(BackupManifest&, std::vector<backuparchive::Source>&)>& change) {
        const QString original = backUp();
        const QString scratch = home->file(QStringLiteral("unpacked"));
        backuparchive::Reader reader(original);
        reader.extract(scratch);
        BackupManifest manifest = reader.manifest();
        std::vector<backuparchive::Source> files;
        for (const BackupManifest::Entry& entry : manifest.files)
            files.push_back({entry.name, QDir(scratch).filePath(entry.name), QByteArray()});
        change(manifest, files);
        const QString altered = home->file(QStringLiteral("altered.praxo-backup"));
        backuparchive::write(altered, manifest, files);
        return altered;
    }

private slots:
    void init() {
        home = std::make_unique<TempHome>();
        makeBusiness();
    }
    void cleanup() { home.reset(); }

    // Restoring beside the original: a new business in the next slot, the same files and rows.
    void backupThenRestore() {
        const QString archive = backUp();
        const businessbackup::Restored restored =
            businessbackup::restore(home->path(), registry, archive);
        QCOMPARE(restored.slot, 1);
        // The registry holds 20 characters: the name gives way to the whole suffix.
        QCOMPARE(restored.name.trimmed(), QStringLiteral("Corner Sh (restored)"));
        QCOMPARE(registry.cur_biz, qint16(1));
        QCOMPARE(registry.biz_state, qint16(1));
        BizRegistry stored = BizRegistry::empty();
        QCOMPARE(readRegistryAtStartup(home->path(), stored), QString());
        QCOMPARE(stored.biz_name[1], restored.name);

        const QDir copy(businessFolder(home->path(), registry, 1));
        for (const char* name : {"settings.dat", "classprt.dat", "vendor.dat", "pics/bolt.png"})
            QCOMPARE(readFile(copy.filePath(QLatin1String(name))),
                     readFile(QDir(area).filePath(QLatin1String(name))));
        for (const char* name : {"parts.fdb", "items.fdb", "cust.fdb"}) {
            const QStringList rows = rowsOf(QDir(area).filePath(QLatin1String(name)));
            QVERIFY(!rows.isEmpty());
            QCOMPARE(rowsOf(copy.filePath(QLatin1String(name))), rows);
        }
        QVERIFY(businessfiles::checkBusinessDatabases(copy.path()).empty());
        QVERIFY(!QFileInfo::exists(copy.filePath(QStringLiteral("MISSING.PNG"))));
        QCOMPARE(homeEntries(home->path()).filter(QStringLiteral(".restore")), QStringList());
    }

    // With its slot free again (the business deleted), the backup comes back under its own name.
    void restoreAfterDeletion() {
        const QString archive = backUp();
        registry.release(0);
        registry.cur_biz = -1;
        registry.biz_state = 0;
        const businessbackup::Restored restored =
            businessbackup::restore(home->path(), registry, archive);
        QCOMPARE(restored.slot, 0);
        QCOMPARE(restored.name.trimmed(), businessName);
        // The old folder is kept aside, as New Business keeps it.
        QVERIFY(homeEntries(home->path()).contains(QStringLiteral("0.deleted-1")));
    }

    void refused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("truncated") << "truncated" << "damaged or is no zip archive";
        QTest::newRow("wrong sum") << "wrong sum" << "does not match its SHA-256 sum";
        QTest::newRow("unrelated zip") << "unrelated" << "holds no backup manifest";
        QTest::newRow("not a zip") << "text" << "damaged or is no zip archive";
        QTest::newRow("file missing") << "missing" << "the file items.fdb that its manifest lists is missing";
        QTest::newRow("unlisted file") << "unlisted" << "does not list (extra.txt)";
        QTest::newRow("path out of the folder") << "escape" << "unusable name (../evil)";
        QTest::newRow("damaged database") << "damaged db" << "integrity check";
        QTest::newRow("no databases") << "no db" << "it holds no parts.fdb";
    }
    void refused() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QString archive;
        if (kind == QLatin1String("truncated")) {
            archive = backUp();
            const QByteArray whole = readFile(archive);
            writeFile(archive, whole.left(whole.size() * 2 / 3));
        } else if (kind == QLatin1String("wrong sum")) {
            archive = alteredArchive([](BackupManifest& manifest, auto&) {
                manifest.files[1].sha256 = QByteArray(64, 'a');
            });
        } else if (kind == QLatin1String("unrelated")) {
            archive = home->file(QStringLiteral("photos.zip"));
            writeZip(archive, {{QStringLiteral("holiday.jpg"), QByteArray("jpeg")},
                               {QStringLiteral("notes.txt"), QByteArray("notes")}});
        } else if (kind == QLatin1String("text")) {
            archive = home->file(QStringLiteral("letter.praxo-backup"));
            writeFile(archive, QByteArray("Dear customer, ..."));
        } else if (kind == QLatin1String("missing")) {
            archive = alteredArchive([](BackupManifest&, auto& files) {
                files.erase(files.begin() + 1);
            });
        } else if (kind == QLatin1String("unlisted")) {
            archive = alteredArchive([](BackupManifest&, auto& files) {
                files.push_back({QStringLiteral("extra.txt"), QString(), QByteArray("x")});
            });
        } else if (kind == QLatin1String("escape")) {
            archive = alteredArchive([](BackupManifest& manifest, auto& files) {
                const QByteArray bytes("evil");
                manifest.files.push_back({QStringLiteral("../evil"), bytes.size(),
                                          backuparchive::sha256(bytes)});
                files.push_back({QStringLiteral("../evil"), QString(), bytes});
            });
        } else if (kind == QLatin1String("damaged db")) {
            // A database whose sum is right but whose pages are not.
            archive = alteredArchive([](BackupManifest& manifest, auto& files) {
                QByteArray bytes = readFile(files[0].path);
                bytes.replace(100, 400, QByteArray(400, '\xff'));
                files[0].path.clear();
                files[0].bytes = bytes;
                manifest.files[0].size = bytes.size();
                manifest.files[0].sha256 = backuparchive::sha256(bytes);
            });
        } else {
            archive = alteredArchive([](BackupManifest& manifest, auto& files) {
                manifest.files.erase(manifest.files.begin(), manifest.files.begin() + 3);
                files.erase(files.begin(), files.begin() + 3);
            });
        }
        const BizRegistry before = registry;
        const QStringList entries = homeEntries(home->path());
        try {
            businessbackup::restore(home->path(), registry, archive);
            QFAIL("the archive was taken");
        } catch (const BackupError& error) {
            QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
        }
        QCOMPARE(registry.encode(), before.encode());
        QCOMPARE(homeEntries(home->path()), entries);
        QCOMPARE(homeEntries(QDir(home->path()).filePath(QStringLiteral("1"))), QStringList());
    }

    // Ten kept, the oldest removed; nothing written when nothing changed.
    void automaticKeepsTen() {
        const QString folder = businessbackup::automaticFolder(home->path(), businessName);
        QStringList written;
        for (int i = 0; i < 12; ++i) {
            exec(QDir(area).filePath(QStringLiteral("cust.fdb")),
                 "INSERT INTO Customers (cust_no) VALUES (" + QByteArray::number(i + 1) + ")");
            written << businessbackup::backUpAutomatically(home->path(), area, businessName);
            QVERIFY(!written.last().isEmpty());
        }
        QCOMPARE(businessbackup::automaticBackups(folder), written.mid(2));
        QCOMPARE(businessbackup::backUpAutomatically(home->path(), area, businessName), QString());
        writeFile(QDir(area).filePath(QStringLiteral("vendor.dat")), QByteArray(6000, 'W'));
        QVERIFY(!businessbackup::backUpAutomatically(home->path(), area, businessName).isEmpty());
        QCOMPARE(businessbackup::automaticBackups(folder).size(), 10);
    }

    void restoredName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << "Other Shop" << "Other Shop";
        QTest::newRow("taken") << "Corner Shop" << "Corner Sh (restored)";
        QTest::newRow("taken, short") << "Acme" << "Acme (restored)";
        QTest::newRow("taken and long") << "Corner Shop Supplies" << "Corner Sh (restored)";
    }
    void restoredName() {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        registry.occupy(2, QStringLiteral("Corner Shop Supplies"));
        registry.occupy(3, QStringLiteral("Acme"));
        QCOMPARE(businessbackup::restoredName(registry, name), expected);
    }

    void csvReadsBack_data() {
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("plain") << QStringList{"0001", "Bolt", "$0.50"};
        QTest::newRow("comma and quotes") << QStringList{"Bolt, M6", "the \"hex\" one", "\""};
        QTest::newRow("line breaks") << QStringList{"two\nlines", "cr\r\nlf", ""};
        QTest::newRow("accents") << QStringList{"Zoë", "Ångström", "café, crème"};
        QTest::newRow("blanks kept") << QStringList{" leading", "trailing ", "  "};
    }
    // Read by Python's csv module, the reader spreadsheets' CSV import follows.
    void csvReadsBack() {
        QFETCH(QStringList, cells);
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty())
            QSKIP("python3 is not installed");
        csv::Table table{{QStringLiteral("Part #"), QStringLiteral("Déscription"),
                          QStringLiteral("Price")},
                         {cells, cells}};
        const QString path = home->file(QStringLiteral("list.csv"));
        csv::writeFile(path, table);
        QVERIFY(readFile(path).startsWith("\xEF\xBB\xBF"));
        QProcess reader;
        reader.start(python,
                     {QStringLiteral("-c"),
                      QStringLiteral("import csv, json, sys\n"
                                     "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                     "    print(json.dumps(list(csv.reader(f))))"),
                      path});
        QVERIFY(reader.waitForFinished(10000));
        QCOMPARE(reader.exitCode(), 0);
        const QJsonArray rows = QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].toVariant().toStringList(), table.headers);
        QCOMPARE(rows[1].toVariant().toStringList(), cells);
        QCOMPARE(rows[2].toVariant().toStringList(), cells);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
