// The desktop widget: one timeline request (store read and decode of a
// snapshot with its 192 px picture) against reading the stored bytes alone;
// one render of each size against an empty window of that size; and the
// widget host as a process on an X server of its own: resident memory with
// two widgets, and its peak over many reloads, against a bare Qt Quick
// window, and CPU time while idle.
#include "RatioReport.h"
#include "WidgetCenter.h"
#include "VorlieWidgetsBundle.h"
#include "WidgetEngine.h"
#include "widgets/ProcessUsage.h"
#include "widgets/WidgetFixtures.h"
#include "widgets/XDisplay.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(Vorlie_WidgetsPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_AvatarPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_ThemePlugin)

using namespace vorlie;

namespace {

testing::AppSide &app()
{
    static testing::AppSide side;
    static const bool written = [] {
        side.write(testing::sampleSnapshot());
        return true;
    }();
    (void)written;
    return side;
}

// Ends before the application object, whose translators it removes.
std::unique_ptr<VorlieWidgetsBundle> theBundle;

VorlieWidgetsBundle &bundle()
{
    if (!theBundle)
        theBundle = std::make_unique<VorlieWidgetsBundle>(app().defaults, [] { return QDateTime::currentDateTimeUtc(); },
                                                          QTimeZone::systemTimeZone());
    return *theBundle;
}

void BM_ReadStoredBytes(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(app().defaults.data(prefkeys::widgetSnapshot()));
}

void BM_TimelineRequest(benchmark::State &state)
{
    const auto provider = bundle().widgets().first().provider;
    for (auto _ : state) {
        widgetkit::Timeline timeline = provider->timeline({}, {});
        benchmark::DoNotOptimize(timeline);
    }
}

// One window drawing `url` (or nothing) at the size of a family.
struct Rendered {
    QQmlEngine engine;
    QQuickWindow window;
    std::shared_ptr<QObject> entry;
    std::unique_ptr<QQuickItem> view;

    explicit Rendered(widgetkit::WidgetFamily family, bool withView)
    {
        prepareWidgetEngine(engine);
        window.resize(family == widgetkit::WidgetFamily::small ? QSize(170, 170) : QSize(364, 170));
        if (withView) {
            const widgetkit::WidgetDeclaration widget = bundle().widgets().first();
            entry = widget.provider->timeline({}, {family, {}}).entries.first().content;
            QQmlComponent component(&engine, widget.view);
            view.reset(qobject_cast<QQuickItem *>(component.createWithInitialProperties(
                {{QStringLiteral("entry"), QVariant::fromValue(entry.get())},
                 {QStringLiteral("family"), widgetkit::familyName(family)}})));
        } else {
            QQmlComponent component(&engine);
            component.setData("import QtQuick\nRectangle { color: \"white\" }", QUrl());
            view.reset(qobject_cast<QQuickItem *>(component.create()));
        }
        view->setParentItem(window.contentItem());
        view->setSize(window.size());
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            std::fprintf(stderr, "the widget window was never shown\n");
    }
};

void render(benchmark::State &state, widgetkit::WidgetFamily family, bool withView)
{
    Rendered rendered(family, withView);
    bool faint = false;
    for (auto _ : state) {
        // A changed opacity of the root makes the grab draw the whole scene anew.
        faint = !faint;
        rendered.view->setOpacity(faint ? 0.99 : 1.0);
        QImage image = rendered.window.grabWindow();
        benchmark::DoNotOptimize(image);
    }
}
void BM_RenderEmptySmall(benchmark::State &state) { render(state, widgetkit::WidgetFamily::small, false); }
void BM_RenderSmall(benchmark::State &state) { render(state, widgetkit::WidgetFamily::small, true); }
void BM_RenderEmptyMedium(benchmark::State &state) { render(state, widgetkit::WidgetFamily::medium, false); }
void BM_RenderMedium(benchmark::State &state) { render(state, widgetkit::WidgetFamily::medium, true); }

// A program on a private X server; resident memory and CPU time from /proc.
class Program {
public:
    Program(testing::XDisplay &display, const QString &path, const QStringList &arguments, const QString &configDir,
            const QString &quickBackend = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!quickBackend.isEmpty())
            environment.insert(QStringLiteral("QT_QUICK_BACKEND"), quickBackend);
        environment.insert(QStringLiteral("DISPLAY"), display.name());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir);
        m_process.setProcessEnvironment(environment);
        m_process.setChildProcessModifier(testing::endWithParent);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(path, arguments);
        m_process.waitForStarted(10'000);
        // Start-up work, first frames and lazy loading settle.
        QTest::qWait(4000);
    }
    ~Program()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    double residentMiB() const { return double(testing::residentKiB(m_process.processId())) / 1024.0; }
    double peakResidentMiB() const { return double(testing::peakResidentKiB(m_process.processId())) / 1024.0; }
    double cpuSeconds() const { return testing::cpuSeconds(m_process.processId()); }

private:
    QProcess m_process;
};

QString hostWithTwoWidgets(const QString &dir)
{
    QString path = dir + QStringLiteral("/widget-host.ini");
    QSettings host(path, QSettings::IniFormat);
    host.setValue(QStringLiteral("initialised"), true);
    for (const auto &[id, x] : {std::pair{QStringLiteral("medium"), 40}, std::pair{QStringLiteral("small"), 440}}) {
        host.setValue(QStringLiteral("widgets/%1/kind").arg(id), QStringLiteral("MainPersonWidget"));
        host.setValue(QStringLiteral("widgets/%1/family").arg(id), id);
        host.setValue(QStringLiteral("widgets/%1/x").arg(id), x);
        host.setValue(QStringLiteral("widgets/%1/y").arg(id), 40);
    }
    return path;
}

double bareWindowMiB = 0;
double bareWindowPeakMiB = 0;
double hostMiB = 0;
double hostReloadsPeakMiB = 0;
constexpr int reloadCount = 500;
double hostIdleCpu = -1;
int idleSeconds = 60;

void BM_BareQuickWindowResident(benchmark::State &state)
{
    testing::XDisplay display;
    for (auto _ : state) {
        // In the host's own scene graph backend, so only our code differs.
        Program bare(display, QStringLiteral(VORLIE_BARE_WINDOW), {}, app().dir.path(), QStringLiteral("software"));
        bareWindowMiB = bare.residentMiB();
        bareWindowPeakMiB = bare.peakResidentMiB();
    }
    state.counters["resident_MiB"] = bareWindowMiB;
}

void BM_HostTwoWidgetsResidentAndIdleCpu(benchmark::State &state)
{
    testing::XDisplay display;
    for (auto _ : state) {
        Program host(display, QStringLiteral(VORLIE_WIDGET_HOST),
                     {QStringLiteral("--preferences"), hostWithTwoWidgets(app().dir.path())}, app().dir.path());
        hostMiB = host.residentMiB();
        const double before = host.cpuSeconds();
        QTest::qWait(idleSeconds * 1000);
        hostIdleCpu = host.cpuSeconds() - before;
    }
    state.counters["resident_MiB"] = hostMiB;
    state.counters["idle_cpu_s"] = hostIdleCpu;
}

// Reloads one after another, as a busy day of status changes brings them:
// whatever one reload holds must be gone by the next.
void BM_HostPeakResidentOverReloads(benchmark::State &state)
{
    testing::XDisplay display;
    for (auto _ : state) {
        Program host(display, QStringLiteral(VORLIE_WIDGET_HOST),
                     {QStringLiteral("--preferences"), hostWithTwoWidgets(app().dir.path())}, app().dir.path());
        for (int i = 0; i < reloadCount; ++i) {
            WidgetCenter().reloadAllTimelines();
            // Longer than the host's coalescing of reload requests.
            QTest::qWait(70);
        }
        hostReloadsPeakMiB = host.peakResidentMiB();
    }
    state.counters["peak_resident_MiB"] = hostReloadsPeakMiB;
}

BENCHMARK(BM_ReadStoredBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TimelineRequest)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderEmptySmall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderSmall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderEmptyMedium)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderMedium)->Unit(benchmark::kMicrosecond);
// Processes, once each: they measure a state, not a loop.
BENCHMARK(BM_BareQuickWindowResident)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_HostTwoWidgetsResidentAndIdleCpu)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_HostPeakResidentOverReloads)->Iterations(1)->Repetitions(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // VORLIE_BENCH_IDLE_SECONDS shortens the idle measurement for a quick look.
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("VORLIE_BENCH_IDLE_SECONDS", &ok);
    if (ok && seconds > 0)
        idleSeconds = seconds;
    QGuiApplication application(argc, argv);
    bench::runAndReportRatios(&argc, argv,
                              {{"timeline request / reading the stored bytes", "BM_ReadStoredBytes", "BM_TimelineRequest", 20.0},
                               {"small widget render / empty window", "BM_RenderEmptySmall", "BM_RenderSmall", 10.0},
                               {"medium widget render / empty window", "BM_RenderEmptyMedium", "BM_RenderMedium", 10.0}});
    theBundle.reset();
    if (bareWindowMiB > 0 && hostMiB > 0)
        bench::printFigure("widget host with two widgets, resident over a bare Qt Quick window", hostMiB - bareWindowMiB,
                           "MB", 15, hostMiB - bareWindowMiB <= 15);
    if (bareWindowPeakMiB > 0 && hostReloadsPeakMiB > 0)
        bench::printFigure("widget host's peak resident over " + std::to_string(reloadCount)
                               + " reloads, over a bare Qt Quick window's peak",
                           hostReloadsPeakMiB - bareWindowPeakMiB, "MB", 15, hostReloadsPeakMiB - bareWindowPeakMiB <= 15);
    if (hostIdleCpu >= 0)
        bench::printFigure("widget host CPU time over 60 s idle", hostIdleCpu * 60.0 / idleSeconds, "s", 0.05,
                           hostIdleCpu * 60.0 / idleSeconds < 0.05);
    return 0;
}
