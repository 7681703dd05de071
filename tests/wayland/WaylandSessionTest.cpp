// The real `vorlie` program speaking Wayland natively to sway, in the
// session tests/wayland/sway-session.sh starts: with swaybar as the tray
// host (WaylandOnATray) or with no tray at all (WaylandWithoutATray). What a
// person sees is read from the compositor: its tree of windows and the
// pixels of the output.
#include "SwayDesktop.h"
#include "VirtualInput.h"
#include "support/StatusNotifierItemClient.h"

#include <QDBusInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

using namespace vorlie::testing;

namespace {

constexpr int waitMs = 15000;
constexpr int panelWidth = 280;
// sway draws a border of 2 pixels around every window (the session's config).
constexpr int border = 2;

QStringList registeredItems()
{
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"));
    return watcher.isValid() ? watcher.property("RegisteredStatusNotifierItems").toStringList() : QStringList();
}

// A widget as the host stores it: where the user left it.
struct StoredWidget {
    const char *family;
    QRect place;
};

class WaylandSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("SWAYSOCK")) << "run inside tests/wayland/sway-session.sh";
        ASSERT_TRUE(home.isValid());
    }

    ~WaylandSession() override
    {
        for (QProcess *started : {&program, &host}) {
            started->terminate();
            if (!started->waitForFinished(5000))
                started->kill();
        }
    }

    // Natively on Wayland, with the program's files in the test's home.
    void start(QProcess &process, const QString &executable, const QStringList &arguments,
               const QProcessEnvironment &extra = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(extra);
        for (const char *variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            environment.insert(QString::fromLatin1(variable), home.filePath(QString::fromLatin1(variable)));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(executable, arguments);
        ASSERT_TRUE(process.waitForStarted());
    }
    // Started as login autostart starts it: to the tray, without the window.
    void launchInBackground(const QProcessEnvironment &extra = {})
    {
        start(program, QStringLiteral(VORLIE_PROGRAM), {QStringLiteral("--background")}, extra);
    }

    std::string whatHappened() const
    {
        QStringList windows;
        for (const SwayWindow &w : swayWindows())
            windows << QStringLiteral("%1 %2x%3+%4+%5%6").arg(w.appId).arg(w.rect.width()).arg(w.rect.height()).arg(w.rect.x())
                           .arg(w.rect.y()).arg(w.floating ? QStringLiteral(" floating") : QString());
        const QString state = program.state() == QProcess::NotRunning ? QStringLiteral("ended with %1").arg(program.exitCode())
                                                                        : QStringLiteral("running");
        return QStringLiteral("windows: [%1]; the program is %2").arg(windows.join(u", "), state).toStdString();
    }

    QString widgetPreferences() const { return home.filePath(QStringLiteral("widget-host.ini")); }

    QTemporaryDir home;
    QProcess program;
    QProcess host;
};

using WaylandOnATray = WaylandSession;
using WaylandWithoutATray = WaylandSession;

// The stored widget drawn at its place: its face fills the place (inset
// past the round corners) and the desktop shows right outside it.
bool drawnAt(const QImage &screen, QRect place, QRgb desktop)
{
    const QRect face = place.adjusted(24, 24, -24, -24);
    const bool faceDrawn = screen.pixel(face.topLeft()) != desktop && screen.pixel(face.bottomRight()) != desktop;
    return faceDrawn && screen.pixel(place.left() - 2, place.center().y()) == desktop
        && screen.pixel(place.right() + 2, place.center().y()) == desktop;
}

} // namespace

// The panel on the desktop's top layer, not a window: next to the tray at
// the top-right corner below the bar, at its own size and with the
// keyboard, which it hands to its status picker. Escape closes it, and so
// does a click elsewhere (sway 1.7 keeps the keyboard on a layer whatever
// the user clicks, so a lost keyboard is not how it learns of that click).
TEST_F(WaylandOnATray, ActivateOpensThePanelOnTheTopLayerNextToTheTrayUntilEscapeOrAClickElsewhere)
{
    // A seat without a keyboard gives no one the keyboard.
    const std::unique_ptr<VirtualInput> input = VirtualInput::create(screenshot().size());
    ASSERT_TRUE(input) << "the compositor offers no virtual input";
    launchInBackground();
    ASSERT_TRUE(QTest::qWaitFor([] { return !registeredItems().isEmpty(); }, waitMs)) << "no item on swaybar's tray";
    const QRect workArea = swayWorkArea();

    // swaybar's tray sits at the right end of the bar above the work area.
    const QPoint trayIcon(workArea.right() - workArea.y() / 2, workArea.y() / 2);
    const QRgb desktop = screenshot().pixel(2, workArea.bottom() - 2);
    const QPoint belowTheTray(workArea.right() - panelWidth / 2, workArea.y() + 8);
    const auto panelShown = [&] { return screenshot(QRect(belowTheTray, QSize(1, 1))).pixel(0, 0) != desktop; };
    StatusNotifierItemClient item(registeredItems().constFirst());
    QElapsedTimer activated;
    activated.start();
    ASSERT_TRUE(item.activate(trayIcon.x(), trayIcon.y()));
    ASSERT_TRUE(QTest::qWaitFor(panelShown, waitMs)) << "no panel below the tray; " << whatHappened();
    // In the run's XML report: a person's wait, give or take one small screenshot.
    RecordProperty("activate_to_panel_drawn_ms", static_cast<int>(activated.elapsed()));
    EXPECT_TRUE(swayWindows().isEmpty()) << "the panel is a window; " << whatHappened();

    // The panel's place: what is not desktop there.
    const QImage screen = screenshot();
    QRect panel(belowTheTray, QSize(1, 1));
    while (panel.left() > 0 && screen.pixel(panel.left() - 1, belowTheTray.y()) != desktop)
        panel.setLeft(panel.left() - 1);
    while (panel.right() < workArea.right() && screen.pixel(panel.right() + 1, belowTheTray.y()) != desktop)
        panel.setRight(panel.right() + 1);
    panel.setTop(workArea.y());
    while (panel.bottom() < workArea.bottom() && screen.pixel(panel.center().x(), panel.bottom() + 1) != desktop)
        panel.setBottom(panel.bottom() + 1);
    EXPECT_EQ(panel.width(), panelWidth);
    EXPECT_GT(panel.height(), 150);
    EXPECT_LT(panel.height(), workArea.height() / 2) << "the panel is stretched";
    const int off = std::max({panel.left() - trayIcon.x(), trayIcon.x() - panel.right(), 0});
    const int below = std::max({panel.top() - trayIcon.y(), trayIcon.y() - panel.bottom(), 0});
    EXPECT_LE(std::hypot(off, below), 64) << "the panel is far from the tray";

    // The status picker is a window: it takes the keyboard, the panel stays;
    // Escape closes the picker, then the panel.
    const QPoint changeStatus(panel.center().x(), panel.top() + 150);
    input->moveTo(changeStatus);
    input->press(BTN_LEFT);
    input->release(BTN_LEFT);
    const auto pickerHasTheKeyboard = [] {
        const QList<SwayWindow> windows = swayWindows();
        return windows.size() == 1 && windows.constFirst().focused;
    };
    ASSERT_TRUE(QTest::qWaitFor(pickerHasTheKeyboard, waitMs)) << "the picker did not take the keyboard; " << whatHappened();
    EXPECT_FALSE(aLayerHasTheKeyboard());
    EXPECT_TRUE(panelShown());
    input->tap(KEY_ESC);
    ASSERT_TRUE(QTest::qWaitFor([] { return swayWindows().isEmpty(); }, waitMs)) << "the picker stayed; " << whatHappened();
    EXPECT_TRUE(panelShown()) << "the panel went with the picker";
    // The keyboard alone, once sway has given it back to the panel: the
    // focused button opens the picker again.
    ASSERT_TRUE(QTest::qWaitFor(aLayerHasTheKeyboard, waitMs)) << "the keyboard did not come back; " << whatHappened();
    input->tap(KEY_SPACE);
    ASSERT_TRUE(QTest::qWaitFor(pickerHasTheKeyboard, waitMs)) << "Space opened no picker";
    input->tap(KEY_ESC);
    ASSERT_TRUE(QTest::qWaitFor([] { return swayWindows().isEmpty(); }, waitMs)) << "the picker stayed; " << whatHappened();
    ASSERT_TRUE(QTest::qWaitFor(aLayerHasTheKeyboard, waitMs)) << "the keyboard did not come back; " << whatHappened();
    input->tap(KEY_ESC);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, waitMs)) << "Escape did not close the panel";

    // A click elsewhere closes it, as it would close a menu.
    ASSERT_TRUE(item.activate(trayIcon.x(), trayIcon.y()));
    ASSERT_TRUE(QTest::qWaitFor(panelShown, waitMs)) << "the panel did not open again";
    input->moveTo(workArea.center());
    input->press(BTN_LEFT);
    input->release(BTN_LEFT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !panelShown(); }, waitMs)) << "a click elsewhere left the panel open";
}

// Where Qt Quick draws with OpenGL (the user's choice here, as it is
// wherever the desktop has no layers, GNOME's), the panel is a window of
// its own fixed size, which the compositor floats instead of tiling.
TEST_F(WaylandOnATray, WithoutItsLayerThePanelIsAFloatingWindowOfItsOwnSize)
{
    QProcessEnvironment openGl;
    openGl.insert(QStringLiteral("QSG_RHI_BACKEND"), QStringLiteral("opengl"));
    launchInBackground(openGl);
    ASSERT_TRUE(QTest::qWaitFor([] { return !registeredItems().isEmpty(); }, waitMs)) << "no item on swaybar's tray";
    StatusNotifierItemClient item(registeredItems().constFirst());
    ASSERT_TRUE(item.activate(1, 1));
    std::optional<SwayWindow> panel;
    ASSERT_TRUE(QTest::qWaitFor([&panel] { return (panel = swayWindowOfWidth(panelWidth + 2 * border)).has_value(); },
                                waitMs))
        << "no panel; " << whatHappened();
    EXPECT_TRUE(panel->floating) << "the panel is tiled; " << whatHappened();
    EXPECT_GT(panel->rect.height(), 150);
    EXPECT_LT(panel->rect.height(), swayWorkArea().height() / 2) << "the panel is stretched; " << whatHappened();
    EXPECT_TRUE(QTest::qWaitFor([] {
        const std::optional<SwayWindow> shown = swayWindowOfWidth(panelWidth + 2 * border);
        return shown && shown->focused;
    }, waitMs)) << "the panel did not take the keyboard; " << whatHappened();
}

// Without a tray the main window is the way in and out: closing it ends
// the program.
TEST_F(WaylandWithoutATray, ClosingTheMainWindowEndsTheProgram)
{
    launchInBackground();
    ASSERT_TRUE(QTest::qWaitFor([] { return !swayWindows().isEmpty(); }, waitMs)) << "no window without a tray";
    // As the window's close button would: the compositor asks it to close.
    QProcess::execute(QStringLiteral("swaymsg"), {QStringLiteral("kill")});
    ASSERT_TRUE(program.waitForFinished(waitMs)) << whatHappened();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

// The widget host on a desktop with a layer shell: each widget on the
// bottom layer at the place it was stored with, not a window, and below a
// normal window that opens over it. The pointer on a widget: a drag moves
// it and the host keeps the new place; a right click opens its menu.
TEST_F(WaylandWithoutATray, WidgetsSitOnTheDesktopLayerBelowWindowsFollowADragAndOpenTheirMenu)
{
    const std::vector<StoredWidget> stored{{"medium", QRect(600, 300, 364, 170)}, {"small", QRect(100, 100, 170, 170)}};
    const QRect from = stored[1].place;
    const QPoint by(300, 200);
    const QRgb desktop = screenshot().pixel(2, 2);
    // The headless seat has a pointer only once this one exists; made first,
    // as a desktop's mouse is there before the host asks its seat for one.
    const std::unique_ptr<VirtualInput> pointer = VirtualInput::create(swayWorkArea().size() + QSize(0, swayWorkArea().y()));
    ASSERT_TRUE(pointer) << "the compositor offers no virtual pointer";
    // The widget host, natively on Wayland, with the widgets stored where the user left them.
    {
        QSettings preferences(widgetPreferences(), QSettings::IniFormat);
        preferences.setValue(QStringLiteral("initialised"), true);
        for (std::size_t i = 0; i < stored.size(); ++i) {
            const QString group = QStringLiteral("widgets/w%1/").arg(i);
            preferences.setValue(group + QStringLiteral("kind"), QStringLiteral("MainPersonWidget"));
            preferences.setValue(group + QStringLiteral("family"), QString::fromLatin1(stored[i].family));
            preferences.setValue(group + QStringLiteral("x"), stored[i].place.x());
            preferences.setValue(group + QStringLiteral("y"), stored[i].place.y());
        }
    }
    start(host, QStringLiteral(VORLIE_WIDGET_HOST), {QStringLiteral("--preferences"), widgetPreferences()});

    QImage alone;
    const bool placed = QTest::qWaitFor([&] {
        alone = screenshot();
        return std::all_of(stored.cbegin(), stored.cend(), [&](const StoredWidget &w) { return drawnAt(alone, w.place, desktop); });
    }, waitMs);
    ASSERT_TRUE(placed) << "the widgets are not at their stored places; " << whatHappened();
    EXPECT_TRUE(swayWindows().isEmpty()) << "the widgets are windows; " << whatHappened();

    // A normal window over the whole work area hides them.
    launchInBackground();
    const bool covered = QTest::qWaitFor([&] {
        const QImage screen = screenshot();
        return !swayWindows().isEmpty() && std::none_of(stored.cbegin(), stored.cend(), [&](const StoredWidget &w) {
            const QRect face = w.place.adjusted(24, 24, -24, -24);
            return screen.copy(face) == alone.copy(face);
        });
    }, waitMs);
    EXPECT_TRUE(covered) << "a widget shows above a normal window; " << whatHappened();
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(waitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return drawnAt(screenshot(), from, desktop); }, waitMs)) << whatHappened();

    pointer->moveTo(from.center());
    pointer->press(BTN_LEFT);
    for (int step = 1; step <= 10; ++step)
        pointer->moveTo(from.center() + by * step / 10);
    pointer->release(BTN_LEFT);
    const QRect to = from.translated(by);
    EXPECT_TRUE(QTest::qWaitFor([&] { return drawnAt(screenshot(), to, desktop); }, waitMs)) << "the widget did not follow";
    // Read as text: this process's own QSettings would answer from its cache.
    const auto keptPlace = [this] {
        QFile file(widgetPreferences());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QString kept = keptPlace();
        return kept.contains(QStringLiteral("w1\\x=%1").arg(to.x())) && kept.contains(QStringLiteral("w1\\y=%1").arg(to.y()));
    }, waitMs)) << "the new place was not kept: " << keptPlace().toStdString();

    pointer->moveTo(to.center());
    pointer->press(BTN_RIGHT);
    pointer->release(BTN_RIGHT);
    EXPECT_TRUE(QTest::qWaitFor([desktop] {
        const QList<SwayWindow> menus = swayWindows();
        return !menus.isEmpty() && screenshot().pixel(menus.constFirst().rect.center()) != desktop;
    }, waitMs)) << "no menu; " << whatHappened();
}
