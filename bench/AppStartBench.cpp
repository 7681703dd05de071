// How quickly the program draws its panel and its main window, signed in
// with a cached sync, against a bare Qt Quick window in the same run; then
// what it costs while it waits after a window was shown and closed: resident
// memory against a bare Qt Quick window, CPU time and wake-ups over two idle
// minutes against a bare QApplication, split into the quiet between the
// minute's refreshes and what each refresh costs.
// Runs inside tools/test-session.sh: the demo account's tokens live in the
// private Secret Service.
#include "FakeServiceHost.h"
#include "RatioReport.h"
#include "support/StatusNotifierWatcher.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <optional>
#include <vector>
#include <unistd.h>

namespace {

void printFigure(const QString &label, double value, const char *unit, double target, bool met)
{
    vorlie::bench::printFigure(label.toStdString(), value, unit, target, met);
}

struct Program {
    QString path;
    QString show; // VORLIE_BENCH_SHOW; empty for the baselines
    QByteArray readyLine = "first frame";
};

const Program bareWindow{QStringLiteral(VORLIE_BARE_WINDOW), {}};
const Program bareApplication{QStringLiteral(VORLIE_BARE_APPLICATION), {}, "ready"};
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

    // One run of the program that stays until its sync is in the cache: the
    // panel's, which closing leaves running even without a tray.
    bool warmUp()
    {
        const QString cache = config.path() + QStringLiteral("/vorlie/group.com.vorlia.app.data/cache.syncSnapshot");
        auto running = start(panel);
        if (!running || !cameUp(*running, panel))
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

    static bool cameUp(QProcess &process, const Program &program)
    {
        while (process.waitForReadyRead(20'000)) {
            if (process.readAll().contains(program.readyLine))
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

// Timed to the line "first frame". The main window is closed right after,
// which ends a program without a tray: no matter, the clock has stopped.
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
        if (!process || !World::cameUp(*process, program)) {
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

// A /proc status file, none when it cannot be read, as for a thread that
// has just ended.
std::optional<QByteArray> readStatus(const QString &path)
{
    QFile status(path);
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    return status.readAll();
}

// One number field of a status file: "VmRSS:" in kB, or a count of context
// switches.
qint64 statusField(const QByteArray &status, QByteArrayView name)
{
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

double residentMiB(qint64 pid)
{
    const std::optional<QByteArray> status = readStatus(QStringLiteral("/proc/%1/status").arg(pid));
    return double(status ? statusField(*status, "VmRSS:") : -1) / 1024.0;
}

// What a process has spent so far: user + system CPU of all its threads,
// and how often each thread was scheduled. A thread that gives up the CPU to
// wait and is scheduled again counts a voluntary switch, so their sum over
// every thread is the closest Linux measure of wake-ups that needs no root.
// A thread taken off the CPU while it runs counts an involuntary switch:
// that is a preemption by other work on the machine, not a wake-up, and is
// reported beside them.
struct Spent {
    double cpuSeconds = 0;
    QHash<QString, qint64> wakeUpsByThread;
    QHash<QString, qint64> preemptionsByThread;

    qint64 wakeUpsSince(const Spent &before) const { return countSince(before, &Spent::wakeUpsByThread); }
    qint64 preemptionsSince(const Spent &before) const { return countSince(before, &Spent::preemptionsByThread); }

private:
    // Counted per thread: a pool thread that ends meanwhile takes its count
    // with it, and one that starts brings all of its own.
    qint64 countSince(const Spent &before, QHash<QString, qint64> Spent::*counts) const
    {
        qint64 sum = 0;
        const QHash<QString, qint64> &now = this->*counts;
        for (auto thread = now.cbegin(); thread != now.cend(); ++thread)
            sum += thread.value() - (before.*counts).value(thread.key(), 0);
        return sum;
    }
};

Spent spent(qint64 pid)
{
    Spent result;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        // utime and stime are the 14th and 15th fields of the line.
        result.cpuSeconds = (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
    }
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const std::optional<QByteArray> status = readStatus(tasks + QLatin1Char('/') + task + QStringLiteral("/status"));
        if (status) {
            result.wakeUpsByThread.insert(task, statusField(*status, "voluntary_ctxt_switches:"));
            result.preemptionsByThread.insert(task, statusField(*status, "nonvoluntary_ctxt_switches:"));
        }
    }
    return result;
}

// The idle targets: what the quietest tray clients measured beside it manage.
constexpr double residentTargetMiB = 20;
constexpr double wakeUpTarget = 0.20;
constexpr double wakeUpBetweenRefreshesTarget = 0.05;

// One look at the program each second while it idles.
struct Sample {
    Spent spent;
    int syncs = 0;
};

// The wake-ups of an idle stretch sampled once a second, split into the
// seconds around each refresh (from two before its request reached the
// service to five after) and the seconds between refreshes.
struct IdleSplit {
    int seconds = 0;
    qint64 total = 0;
    qint64 refreshing = 0;
    int refreshingSeconds = 0;
    int refreshes = 0;
    double betweenPerSecond() const
    {
        const int between = seconds - refreshingSeconds;
        return between > 0 ? double(total - refreshing) / between : 0;
    }
    // What one refresh costs over the quiet it interrupts.
    double perRefresh() const
    {
        return refreshes > 0 ? (double(refreshing) - betweenPerSecond() * refreshingSeconds) / refreshes : 0;
    }
};

IdleSplit split(const std::vector<Sample> &samples)
{
    std::vector<bool> refreshing(samples.size(), false);
    IdleSplit result;
    result.seconds = static_cast<int>(samples.size()) - 1;
    for (size_t i = 1; i < samples.size(); ++i) {
        if (samples[i].syncs == samples[i - 1].syncs)
            continue;
        ++result.refreshes;
        for (size_t step = i >= 2 ? i - 1 : 1; step < std::min(samples.size(), i + 6); ++step)
            refreshing[step] = true;
    }
    for (size_t step = 1; step < samples.size(); ++step) {
        const qint64 wakeUps = samples[step].spent.wakeUpsSince(samples[step - 1].spent);
        result.total += wakeUps;
        if (refreshing[step]) {
            result.refreshing += wakeUps;
            ++result.refreshingSeconds;
        }
    }
    return result;
}

// Resident memory against a bare Qt Quick window, and idle CPU and wake-ups
// against a bare QApplication, of the program after `program`'s window was
// shown once and closed. It idles on a tray, as on a desktop with one:
// without, closing the main window would end it.
void reportIdleCosts(const Program &program, const QString &after, int idleSeconds)
{
    vorlie::testing::StatusNotifierWatcher tray;
    if (!tray.start())
        return;
    auto bareWidgets = world->start(bareApplication);
    auto bareQuick = world->start(bareWindow);
    auto app = world->start(program);
    if (!bareWidgets || !bareQuick || !app || !World::cameUp(*bareWidgets, bareApplication)
        || !World::cameUp(*bareQuick, bareWindow) || !World::cameUp(*app, program))
        return;
    QThread::sleep(10); // start-up work (first sync, picture downloads, push registration) settles

    const double overQuick = residentMiB(app->processId()) - residentMiB(bareQuick->processId());
    printFigure(QStringLiteral("resident memory over bare Qt Quick window, %1").arg(after), overQuick, "MB",
                residentTargetMiB, overQuick <= residentTargetMiB);

    const Spent bareBefore = spent(bareWidgets->processId());
    std::vector<Sample> samples;
    for (int second = 0; second <= idleSeconds; ++second) {
        if (second > 0)
            QThread::sleep(1);
        samples.push_back({spent(app->processId()), world->host.service().requestCount(QStringLiteral("sync"))});
    }
    const Spent bareAfter = spent(bareWidgets->processId());

    const double cpu = samples.back().spent.cpuSeconds - samples.front().spent.cpuSeconds;
    const double cpuTarget = 0.1 * idleSeconds / 60.0;
    printFigure(QStringLiteral("idle CPU over %1 s, %2 (bare QApplication %3 s)")
                    .arg(idleSeconds)
                    .arg(after)
                    .arg(bareAfter.cpuSeconds - bareBefore.cpuSeconds, 0, 'f', 2),
                cpu, "s", cpuTarget, cpu < cpuTarget);
    const IdleSplit idle = split(samples);
    const double wakeUps = double(idle.total) / idle.seconds;
    printFigure(QStringLiteral("idle wake-ups, %1, %2 refreshes included (bare QApplication %3/s)")
                    .arg(after)
                    .arg(idle.refreshes)
                    .arg(double(bareAfter.wakeUpsSince(bareBefore)) / idleSeconds, 0, 'f', 2),
                wakeUps, "/s", wakeUpTarget, wakeUps < wakeUpTarget);
    const double between = idle.betweenPerSecond();
    printFigure(QStringLiteral("idle wake-ups between refreshes, %1").arg(after), between, "/s",
                wakeUpBetweenRefreshesTarget, between <= wakeUpBetweenRefreshesTarget);
    vorlie::bench::printMeasure(QStringLiteral("wake-ups of one refresh, %1").arg(after).toStdString(),
                                idle.perRefresh(), "");
    const double preemptions = double(samples.back().spent.preemptionsSince(samples.front().spent)) / idle.seconds;
    vorlie::bench::printMeasure(
        QStringLiteral("idle preemptions (involuntary switches, not wake-ups), %1").arg(after).toStdString(),
        preemptions, "/s");

    World::stop(*app);
    World::stop(*bareQuick);
    World::stop(*bareWidgets);
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
                                : 120;
    reportIdleCosts(panel, QStringLiteral("after the panel"), idleSeconds);
    reportIdleCosts(mainWindow, QStringLiteral("after the main window"), idleSeconds);
    return 0;
}
