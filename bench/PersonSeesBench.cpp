// What a person sees of the program on an X11 desktop with a tray, timed
// from outside as the desktop meets it: from exec until its item is on the
// tray, from a click on the item until the panel is mapped, and from the
// main person's publish (pushed to the program) until the tray's picture has
// changed. Median of five launches of the release program, signed in with a
// cached sync; measured, with no targets. Runs on an X server without a
// window manager, inside tools/test-session.sh.
#include "DevDistributorHost.h"
#include "FakeServiceHost.h"
#include "RatioReport.h"
#include "support/StatusNotifierItemClient.h"
#include "support/StatusNotifierWatcher.h"
#include "tray/ProgramEnvironment.h"
#include "tray/ProgramWindows.h"
#include "tray/TrayTestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

constexpr int panelWidth = 280;
constexpr int launches = 5;
constexpr int settleMs = 3000;

// Milliseconds from `clock`'s start until `reached` holds, polled about every
// millisecond while events run; negative when it never does.
double millisecondsUntil(const QElapsedTimer &clock, const std::function<bool()> &reached)
{
    while (clock.elapsed() < xwindows::waitMs) {
        if (reached())
            return double(clock.nsecsElapsed()) / 1e6;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(500);
    }
    return -1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

class Desktop {
public:
    Desktop()
    {
        QProcess seed;
        seed.setProcessEnvironment(environment);
        seed.start(QStringLiteral(VORLIE_SEED_TOOL),
                   {QStringLiteral("--base-url"), host.baseUrl().toString(), QStringLiteral("--email"),
                    QStringLiteral("quorrin@example.com"), QStringLiteral("--password"), QStringLiteral("vorlie-demo")});
        ready = seed.waitForFinished(20'000) && seed.exitCode() == 0 && watcher.start()
            && publishAsMainPerson(host, QStringLiteral("tired")).status == 200;
    }

    void launch()
    {
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(VORLIE_PROGRAM), {QStringLiteral("--background")});
    }

    void quit()
    {
        program.terminate();
        if (!program.waitForFinished(5000)) {
            program.kill();
            program.waitForFinished(5000);
        }
        QElapsedTimer clock;
        clock.start();
        millisecondsUntil(clock, [this] { return watcher.registeredItems().isEmpty(); });
    }

    // The program's item, once it shows the main person's emoji or its absence.
    std::unique_ptr<StatusNotifierItemClient> itemShowing(bool emoji)
    {
        auto item = std::make_unique<StatusNotifierItemClient>(watcher.registeredItems().constLast());
        QElapsedTimer clock;
        clock.start();
        const bool shown = millisecondsUntil(clock, [&item, emoji] {
            const QList<QImage> pictures = item->iconPixmaps();
            return !pictures.isEmpty() && carriesEmoji(pictures.constFirst()) == emoji;
        }) >= 0;
        return shown ? std::move(item) : nullptr;
    }

    fake::FakeServiceHost host;
    devpush::DevDistributorHost distributor{QStringLiteral("org.unifiedpush.Distributor.bench_")
                                            + QUuid::createUuid().toString(QUuid::Id128)};
    StatusNotifierWatcher watcher;
    QTemporaryDir home;
    QProcessEnvironment environment = programEnvironment(host, distributor, home);
    QProcess program;
    bool ready = false;
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "run on an X server, inside tools/test-session.sh\n");
        return 1;
    }
    Desktop desktop;
    if (!desktop.ready) {
        std::fprintf(stderr, "no signed-in demo account or no tray watcher (run inside tools/test-session.sh)\n");
        return 1;
    }
    // A first launch leaves the cached sync that every later one starts from.
    desktop.launch();
    QElapsedTimer warmUp;
    warmUp.start();
    if (millisecondsUntil(warmUp, [&desktop] { return !desktop.watcher.registeredItems().isEmpty(); }) < 0
        || !desktop.itemShowing(true)) {
        std::fprintf(stderr, "the program's item never showed on the tray\n");
        return 1;
    }
    desktop.quit();

    std::vector<double> toTray, toPanel, toPicture;
    bool emoji = true; // whether the main person's current status carries one
    for (int round = 0; round < launches; ++round) {
        QElapsedTimer clock;
        clock.start();
        desktop.launch();
        toTray.push_back(millisecondsUntil(clock, [&desktop] { return !desktop.watcher.registeredItems().isEmpty(); }));
        const auto item = toTray.back() >= 0 ? desktop.itemShowing(emoji) : nullptr;
        if (!item) {
            std::fprintf(stderr, "round %d: the program's item never showed on the tray\n", round);
            return 1;
        }

        // Start-up work (the first sync, push registration) settles, as
        // before a person's first click.
        clock.restart();
        millisecondsUntil(clock, [&clock] { return clock.elapsed() >= settleMs; });

        clock.restart();
        item->activate(0, 0);
        toPanel.push_back(millisecondsUntil(clock, [] { return xwindows::windowsOfWidth(panelWidth) > 0; }));
        item->activate(0, 0);
        millisecondsUntil(clock, [] { return xwindows::windowsOfWidth(panelWidth) == 0; });

        emoji = !emoji;
        clock.restart();
        publishAsMainPerson(desktop.host, emoji ? QStringLiteral("tired") : QStringLiteral("custom"),
                            emoji ? std::nullopt : std::optional(QStringLiteral("Out for a walk")));
        toPicture.push_back(millisecondsUntil(clock, [&item, emoji] {
            const QList<QImage> pictures = item->iconPixmaps();
            return !pictures.isEmpty() && carriesEmoji(pictures.constFirst()) == emoji;
        }));

        desktop.quit();
    }
    bench::printMeasure("exec -> tray item registered (X11, median of 5 launches)", median(toTray), "ms");
    bench::printMeasure("Activate -> panel mapped (X11, median of 5)", median(toPanel), "ms");
    bench::printMeasure("pushed status -> tray picture changed (X11, median of 5)", median(toPicture), "ms");
    return 0;
}
