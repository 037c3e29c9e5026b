// Every save path under a failing disk: the first, second, third... write or sync fails, until
// the save gets through. Each failure must reach the caller as an error with a reason, leave
// the saved data old or new whole (on disk and as the program reads it), and the next save must
// work.
#include "faultvfs.h"
#include "savepaths.h"
#include "support/temphome.h"

#include "core/common/database.h"
#include "core/common/recordfile.h"

#include <QtTest>

#include <sqlite3.h>

#include <cerrno>

using namespace robustness;

Q_DECLARE_METATYPE(robustness::SavePath)

namespace {

// Items and invoices of this many lines fill several pages of the table and the journal.
constexpr int faultLines = 600;

// A failure of the record-file writer (op -1) or of the database engine.
struct Fault {
    int op = -1;
    int error = 0;
    bool sticky = false;

    void arm(int n) const {
        if (op < 0)
            recordfile_testing::failCall(n, error);
        else
            faultvfs::failNth(faultvfs::Op(op), n, error, sticky);
    }
    bool disarm() const {
        if (op < 0) {
            const bool failed = recordfile_testing::failed();
            recordfile_testing::failCall(0, 0);
            return failed;
        }
        faultvfs::disarm();
        return faultvfs::fired();
    }
};

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestSaveFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { faultvfs::install(); }

    void failedSaveKeepsDataWhole_data() {
        QTest::addColumn<SavePath>("path");
        QTest::addColumn<Fault>("fault");
        for (SavePath path : allPaths) {
            const QByteArray name = pathName(path).toLatin1();
            if (isDatabasePath(path)) {
                using faultvfs::Op;
                QTest::newRow(name + ": write error")
                    << path << Fault{int(Op::Write), SQLITE_IOERR_WRITE};
                QTest::newRow(name + ": disk full once")
                    << path << Fault{int(Op::Write), SQLITE_FULL};
                QTest::newRow(name + ": disk stays full")
                    << path << Fault{int(Op::Write), SQLITE_FULL, true};
                QTest::newRow(name + ": sync error")
                    << path << Fault{int(Op::Sync), SQLITE_IOERR_FSYNC};
                QTest::newRow(name + ": syncs keep failing")
                    << path << Fault{int(Op::Sync), SQLITE_IOERR_FSYNC, true};
                QTest::newRow(name + ": journal not removed")
                    << path << Fault{int(Op::Delete), SQLITE_IOERR_DELETE};
            } else {
                QTest::newRow(name + ": disk full") << path << Fault{-1, ENOSPC};
                QTest::newRow(name + ": I/O error") << path << Fault{-1, EIO};
            }
        }
    }
    void failedSaveKeepsDataWhole() {
        QFETCH(SavePath, path);
        QFETCH(Fault, fault);
        TempHome home;
        prepare(path, home.path(), faultLines);
        Saver saver(path, home.path(), faultLines);

        int current = 0;
        int faults = 0;
        int savedAnyway = 0; // reported as failed, yet the new data is in place
        for (int n = 1;; ++n) {
            QVERIFY2(n < 5000, "the save never got through");
            const int target = 1 - current;
            QString reason;
            fault.arm(n);
            try {
                saver.save(target);
            } catch (const DbError& error) {
                reason = error.message();
                QVERIFY2(!error.reason().isEmpty() &&
                             error.reason() != QLatin1String("not an error"),
                         qPrintable(reason));
            } catch (const FileError& error) {
                reason = error.message();
                QVERIFY2(!error.reason().isEmpty(), qPrintable(reason));
            }
            const bool fired = fault.disarm();
            const QString at = QStringLiteral("failure %1: ").arg(n);

            const Verdict onDisk = inspect(path, home.path(), faultLines);
            QVERIFY2(onDisk.whole(), qPrintable(at + onDisk.problem));
            if (!fired) {
                // The save needs fewer calls than n: it went through untouched.
                QVERIFY2(reason.isEmpty(), qPrintable(at + reason));
                QCOMPARE(onDisk.version, target);
                break;
            }
            ++faults;
            QVERIFY2(!reason.isEmpty(), qPrintable(at + "the failure was not reported"));
            if (onDisk.version == target)
                ++savedAnyway;
            const Verdict shown = saver.programView();
            QVERIFY2(shown.version == onDisk.version,
                     qPrintable(at + QStringLiteral("the program reads version %1 (%2), the disk "
                                                    "holds %3")
                                         .arg(shown.version)
                                         .arg(shown.problem)
                                         .arg(onDisk.version)));

            // The program goes on: the same save, tried again, works.
            try {
                saver.save(target);
            } catch (const std::exception& error) {
                QFAIL(qPrintable(at + "the next save failed too: " + error.what()));
            }
            QCOMPARE(inspect(path, home.path(), faultLines).version, target);
            QCOMPARE(saver.programView().version, target);
            current = target;
        }
        qInfo("%s: %d failures injected, each reported; %d of them after the new data was in "
              "place",
              QTest::currentDataTag(), faults, savedAnyway);
        QVERIFY(faults > 0);
    }
};

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
