// Kills a process in the middle of saving, many times over, for every save path: what was saved
// before must stay whole (old or new, never a mix, never a missing or short file), and the next
// save must work. PRAXO_CRASH_KILLS sets the kills per path, PRAXO_CRASH_SEED the random seed.
#include "savepaths.h"
#include "support/temphome.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <chrono>
#include <thread>

using namespace robustness;

Q_DECLARE_METATYPE(robustness::SavePath)

namespace {

// The child saving one path, its output read line by line.
class Child {
public:
    // The child's first save writes the version the folder does not hold.
    Child(SavePath path, const QString& folder, int held) {
        process_.setProgram(QStringLiteral(CRASHCHILD_PATH));
        process_.setArguments(
            {pathName(path), folder, QString::number(defaultLines), QString::number(1 - held)});
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
    }
    ~Child() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The next line the child prints; empty when it ends or says nothing for a minute.
    QByteArray nextLine() {
        QElapsedTimer waited;
        waited.start();
        while (!process_.canReadLine()) {
            if (process_.state() == QProcess::NotRunning || waited.elapsed() > 60'000)
                return {};
            process_.waitForReadyRead(100);
        }
        return process_.readLine().trimmed();
    }
    // Kills it at once; what it had printed tells how many saves it finished and whether it was
    // inside one.
    struct Killed {
        int saves = 0;
        bool insideSave = false;
    };
    Killed kill() {
        process_.kill();
        process_.waitForFinished();
        Killed killed;
        const QList<QByteArray> lines = process_.readAllStandardOutput().trimmed().split('\n');
        for (const QByteArray& line : lines)
            killed.saves += line.startsWith("saved") ? 1 : 0;
        killed.insideSave = lines.last().startsWith("saving");
        return killed;
    }
    QString errors() { return QString::fromLocal8Bit(process_.readAllStandardError()); }

private:
    QProcess process_;
};

int killsPerPath() {
    bool ok = false;
    const int kills = qEnvironmentVariableIntValue("PRAXO_CRASH_KILLS", &ok);
    return ok && kills > 0 ? kills : 15;
}

} // namespace

class TestCrashLoop : public QObject {
    Q_OBJECT

    quint32 seed = 0;

private slots:
    void initTestCase() {
        bool ok = false;
        seed = quint32(qEnvironmentVariableIntValue("PRAXO_CRASH_SEED", &ok));
        if (!ok)
            seed = QRandomGenerator::global()->generate();
        qInfo("seed %u (PRAXO_CRASH_SEED), %d kills per path (PRAXO_CRASH_KILLS)", seed,
              killsPerPath());
    }

    void killedSaveLeavesOldOrNew_data() {
        QTest::addColumn<SavePath>("path");
        for (SavePath path : allPaths)
            QTest::newRow(qPrintable(pathName(path))) << path;
    }
    void killedSaveLeavesOldOrNew() {
        QFETCH(SavePath, path);
        TempHome home;
        const QString folder = home.path();
        prepare(path, folder);
        QRandomGenerator random(seed ^ quint32(path));

        // How long one save takes here, so that the kills spread over whole saves.
        qint64 period = 0;
        {
            Child child(path, folder, 0);
            QCOMPARE(child.nextLine(), QByteArray("ready"));
            QElapsedTimer timer;
            timer.start();
            for (int saved = 0; saved < 3;) {
                const QByteArray line = child.nextLine();
                QVERIFY2(line.startsWith("sav"), qPrintable(child.errors()));
                saved += line.startsWith("saved") ? 1 : 0;
            }
            period = qMax<qint64>(timer.nsecsElapsed() / 3 / 1000, 200); // microseconds
            child.kill();
        }
        int held = inspect(path, folder).version;
        QVERIFY(held >= 0);

        const int kills = killsPerPath();
        std::array<int, 2> outcomes{};
        qint64 startup = 0; // ms until the children were ready, summed
        int interrupted = 0;
        int saves = 0;
        for (int k = 0; k < kills; ++k) {
            const auto delay = std::chrono::microseconds(random.bounded(period * 5 / 2));
            {
                QElapsedTimer started;
                started.start();
                Child child(path, folder, held);
                QCOMPARE(child.nextLine(), QByteArray("ready"));
                startup += started.elapsed();
                std::this_thread::sleep_for(delay);
                const Child::Killed killed = child.kill();
                saves += killed.saves;
                interrupted += killed.insideSave ? 1 : 0;
            }
            const auto at = [&](const QString& problem) {
                return QStringLiteral("kill %1 after %2 us: %3")
                    .arg(k)
                    .arg(delay.count())
                    .arg(problem);
            };
            // Every other time the program's own database layer is the first to open the files.
            Verdict opened;
            if (k % 2 == 1) {
                opened = openAsProgram(path, folder);
                QVERIFY2(opened.whole(), qPrintable(at(opened.problem)));
            }
            const Verdict verdict = inspect(path, folder);
            QVERIFY2(verdict.whole(), qPrintable(at(verdict.problem)));
            QVERIFY2(!opened.whole() || opened.version == verdict.version,
                     qPrintable(at(QStringLiteral("the program read another version"))));
            held = verdict.version;
            ++outcomes[std::size_t(held)];
        }
        qInfo("%s: %d kills (one save %lld us): %d left the old data, %d the new; %d landed "
              "inside a save; %d saves completed; %d files left behind; a child took %lld ms to "
              "start",
              qPrintable(pathName(path)), kills, period, outcomes[0], outcomes[1], interrupted,
              saves, leftoverFiles(folder), startup / kills);

        // Whatever the kills left behind, the program opens the data and saves again.
        Saver saver(path, folder);
        QCOMPARE(saver.programView().version, held);
        saver.save(1 - held);
        QCOMPARE(inspect(path, folder).version, 1 - held);
    }
};

int main(int argc, char** argv) {
    // A full run (hundreds of kills per path) takes longer than a test function may by default.
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(4 * 3600 * 1000));
    QCoreApplication app(argc, argv);
    TestCrashLoop test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_crashloop.moc"
