// How quickly the program draws its panel and its main window, signed in
// with a cached sync, against a bare Qt Quick window in the same run; then
// what it costs while it waits: resident memory after a window was shown and
// hidden, against the bare window, and CPU time over an idle minute.
// Runs inside tools/test-session.sh: the demo account's tokens live in the
// private Secret Service.
#include "FakeServiceHost.h"
#include "RatioReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

struct Program {
    QString path;
    QString show; // VORLIE_BENCH_SHOW; empty for the bare window
};

const Program bareWindow{QStringLiteral(VORLIE_BARE_WINDOW), {}};
const Program panel{QStringLiteral(VORLIE_PROGRAM), QStringLiteral("panel")};
const Program mainWindow{QStringLiteral(VORLIE_PROGRAM), QStringLiteral("main")};

// The fake service, a signed-in demo account and its cached sync, shared by
// every run of the program.
class World {
public:
    World()
    {
        const QString base = host.baseUrl().toString();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("VORLIE_API_BASE_URL"), base);
        environment.insert(QStringLiteral("VORLIE_AVATAR_BASE_URL"), host.rootUrl().toString());
        QProcess seed;
        seed.setProcessEnvironment(environment);
        seed.start(QStringLiteral(VORLIE_SEED_TOOL),
                   {QStringLiteral("--base-url"), base, QStringLiteral("--email"), QStringLiteral("quorrin@example.com"),
                    QStringLiteral("--password"), QStringLiteral("vorlie-demo")});
        ready = seed.waitForFinished(20'000) && seed.exitCode() == 0 && warmUp();
    }

    // One run of the program that stays until its sync is in the cache.
    bool warmUp()
    {
        const QString cache = config.path() + QStringLiteral("/vorlie/group.com.vorlia.app.data/cache.syncSnapshot");
        auto running = start(mainWindow);
        if (!running || !firstFrame(*running))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(cache) && waited.elapsed() < 10'000)
            QThread::msleep(20);
        stop(*running);
        return QFile::exists(cache);
    }

    std::unique_ptr<QProcess> start(const Program &program)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = environment;
        if (!program.show.isEmpty())
            env.insert(QStringLiteral("VORLIE_BENCH_SHOW"), program.show);
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::SeparateChannels);
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(program.path, {});
        if (!process->waitForStarted(10'000))
            return nullptr;
        return process;
    }

    static bool firstFrame(QProcess &process)
    {
        while (process.waitForReadyRead(20'000)) {
            if (process.readAll().contains("first frame"))
                return true;
        }
        return false;
    }

    static void stop(QProcess &process)
    {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    vorlie::fake::FakeServiceHost host;
    QTemporaryDir config;
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    bool ready = false;
};

World *world = nullptr;

void measureFirstFrame(benchmark::State &state, const Program &program)
{
    if (!world->ready) {
        state.SkipWithError("no signed-in demo account (run inside tools/test-session.sh)");
        return;
    }
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto process = world->start(program);
        if (!process || !World::firstFrame(*process)) {
            state.SkipWithError("no first frame");
            return;
        }
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        World::stop(*process);
    }
}

void BM_BareQuickWindowFirstFrame(benchmark::State &state) { measureFirstFrame(state, bareWindow); }
void BM_PanelFirstFrame(benchmark::State &state) { measureFirstFrame(state, panel); }
void BM_MainWindowFirstFrame(benchmark::State &state) { measureFirstFrame(state, mainWindow); }
BENCHMARK(BM_BareQuickWindowFirstFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanelFirstFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainWindowFirstFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// From /proc: resident memory in kB, and user + system CPU in clock ticks.
qint64 residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    // utime and stime are the 14th and 15th fields of the line.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

void printFigure(const char *label, double value, const char *unit, double target, bool met)
{
    std::printf("FIGURE\t%s\t%.2f %s\t%.2f %s\t%s\n", label, value, unit, target, unit, met ? "met" : "missed");
}

// Resident memory and idle CPU of the program after `program`'s window was
// shown once and hidden, against the bare window.
void reportIdleCosts(const Program &program, const char *memoryLabel, const char *cpuLabel, int idleSeconds)
{
    auto bare = world->start(bareWindow);
    auto app = world->start(program);
    if (!bare || !app || !World::firstFrame(*bare) || !World::firstFrame(*app))
        return;
    QThread::sleep(10); // start-up work (first sync, picture downloads, push registration) settles
    const double extraMiB = double(residentKiB(app->processId()) - residentKiB(bare->processId())) / 1024.0;
    printFigure(memoryLabel, extraMiB, "MB", 25, extraMiB <= 25);
    const double before = cpuSeconds(app->processId());
    QThread::sleep(idleSeconds);
    const double used = cpuSeconds(app->processId()) - before;
    printFigure(cpuLabel, used, "s", 0.1 * idleSeconds / 60.0, used < 0.1 * idleSeconds / 60.0);
    World::stop(*app);
    World::stop(*bare);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    World shared;
    world = &shared;
    vorlie::bench::runAndReportRatios(&argc, argv,
                                      {{"panel's first frame / bare Qt Quick window", "BM_BareQuickWindowFirstFrame",
                                        "BM_PanelFirstFrame", 1.3},
                                       {"main window's first frame / bare Qt Quick window",
                                        "BM_BareQuickWindowFirstFrame", "BM_MainWindowFirstFrame", 1.3}});
    if (!shared.ready)
        return 1;
    const int idleSeconds = qEnvironmentVariableIntValue("VORLIE_BENCH_IDLE_SECONDS") > 0
                                ? qEnvironmentVariableIntValue("VORLIE_BENCH_IDLE_SECONDS")
                                : 60;
    reportIdleCosts(panel, "resident memory after the panel, over the bare window",
                    "CPU time idle with the panel hidden (per minute scale)", idleSeconds);
    reportIdleCosts(mainWindow, "resident memory with the main window shown once, over the bare window",
                    "CPU time idle after the main window (per minute scale)", idleSeconds);
    return 0;
}
