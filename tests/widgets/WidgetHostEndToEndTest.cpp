// The widget host as a process of its own on an X server of its own, the
// application side (this process) writing through its own store and asking
// for reloads over the session bus, a user clicking and dragging with a real
// pointer.
#include "WidgetCenter.h"
#include "WidgetFixtures.h"
#include "ProcessUsage.h"
#include "XDisplay.h"
#include "prefs/AppLanguage.h"
#include "prefs/PrefsFixture.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

using namespace vorlie;
using vorlie::testing::AppSide;
using vorlie::testing::sampleSnapshot;
using vorlie::testing::XDisplay;

namespace {

const QRect mediumFrame(100, 100, 364, 170);
const QRect smallFrame(600, 100, 170, 170);
const QPoint onMedium(250, 185);

int differingPixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    }
    return n;
}

void sendReload()
{
    WidgetCenter().reloadAllTimelines();
    // A round trip to the bus daemon: the signal has left before it returns.
    QDBusConnection::sessionBus().interface()->isServiceRegistered(QDBusConnection::sessionBus().baseService());
}

// The desktop around one host process: its X server, its preference file
// with a medium and a small widget, and a stand-in URL handler that
// records what it was asked to open.
class Desktop {
public:
    explicit Desktop(AppSide &app)
        : m_app(app)
    {
        const QString dir = app.dir.path();
        m_preferences = dir + QStringLiteral("/widget-host.ini");
        QSettings host(m_preferences, QSettings::IniFormat);
        host.setValue(QStringLiteral("initialised"), true);
        for (const auto &[id, frame] : {std::pair{QStringLiteral("medium"), mediumFrame}, std::pair{QStringLiteral("small"), smallFrame}}) {
            host.setValue(QStringLiteral("widgets/%1/kind").arg(id), QStringLiteral("MainPersonWidget"));
            host.setValue(QStringLiteral("widgets/%1/family").arg(id), id);
            host.setValue(QStringLiteral("widgets/%1/x").arg(id), frame.x());
            host.setValue(QStringLiteral("widgets/%1/y").arg(id), frame.y());
        }
        host.sync();

        const QString recorder = dir + QStringLiteral("/record-url.sh");
        writeRaw(recorder, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened.txt\"\n");
        QFile::setPermissions(recorder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeRaw(dir + QStringLiteral("/data/applications/vorlie-test-recorder.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Recorder\nNoDisplay=true\nMimeType=x-scheme-handler/vorlia;\nExec="
                     + recorder.toUtf8() + " %u\n");
        writeRaw(dir + QStringLiteral("/mimeapps.list"),
                 "[Default Applications]\nx-scheme-handler/vorlia=vorlie-test-recorder.desktop\n");
    }
    ~Desktop() { stopHost(); }

    XDisplay &display() { return m_display; }
    QString preferences() const { return m_preferences; }
    // What the host keeps in its preference file, read afresh.
    QVariant stored(const QString &key) const { return QSettings(m_preferences, QSettings::IniFormat).value(key); }
    QStringList storedWidgets() const
    {
        QSettings host(m_preferences, QSettings::IniFormat);
        host.beginGroup(QStringLiteral("widgets"));
        return host.childGroups();
    }

    // Starts the host and waits until these widgets are drawn.
    bool startHost(const QList<QRect> &frames = {mediumFrame, smallFrame})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display.name());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_app.dir.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_app.dir.path() + QStringLiteral("/data"));
        environment.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
        environment.remove(QStringLiteral("BROWSER"));
        m_host.setProcessEnvironment(environment);
        m_host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_host.setChildProcessModifier(vorlie::testing::endWithParent);
        m_host.start(QStringLiteral(VORLIE_WIDGET_HOST), {QStringLiteral("--preferences"), m_preferences});
        if (!m_host.waitForStarted(10'000))
            return false;
        return QTest::qWaitFor([&] { return std::all_of(frames.begin(), frames.end(), [this](const QRect &frame) { return drawn(frame); }); },
                               20'000);
    }
    void stopHost()
    {
        m_host.terminate();
        if (!m_host.waitForFinished(5000))
            m_host.kill();
        m_host.waitForFinished(5000);
    }
    bool hostRunning() const { return m_host.state() == QProcess::Running; }
    qint64 hostPid() const { return m_host.processId(); }

    QImage frame(const QRect &rect) const { return m_display.capture().copy(rect); }
    // Something other than the bare black root window in its middle.
    bool drawn(const QRect &rect) const
    {
        const QImage image = frame(rect);
        return !image.isNull() && QColor(image.pixel(image.width() / 2, 8)) != QColor(Qt::black);
    }
    bool changesWithin(const QRect &rect, const QImage &from, int ms) const
    {
        return QTest::qWaitFor([&] { return differingPixels(frame(rect), from) > 20; }, ms);
    }
    // The frame once drawing has come to rest: the same over a few looks in a row.
    QImage settled(const QRect &rect) const
    {
        QImage last = frame(rect);
        int same = 0;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            const QImage now = frame(rect);
            same = differingPixels(now, last) == 0 ? same + 1 : 0;
            last = now;
            return same >= 5;
        }, 5000)) << "the widget never stopped changing";
        return last;
    }
    // Mouse actions of xdotool at a point of the screen.
    bool at(QPoint point, const QStringList &actions)
    {
        return m_display.pointer(QStringList{QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y())} + actions);
    }

    QStringList opened() const
    {
        QFile file(m_app.dir.path() + QStringLiteral("/opened.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    AppSide &m_app;
    XDisplay m_display;
    QString m_preferences;
    QProcess m_host;
};

class WidgetHostEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "needs the private session bus of tools/test-session.sh";
        ASSERT_TRUE(desktop.display().isRunning()) << "Xvfb did not start";
    }

    AppSide app;
    Desktop desktop{app};
};

} // namespace

TEST_F(WidgetHostEndToEnd, ReloadsRedrawWithinASecondAndFloodsNeitherStopNorBusyTheHost)
{
    writeStoredLanguage(app.defaults, AppLanguage::english);
    ASSERT_TRUE(desktop.startHost());
    const QImage empty = desktop.settled(mediumFrame);

    // A language change reaches the widget with the reload, and back again.
    writeStoredLanguage(app.defaults, AppLanguage::german);
    sendReload();
    EXPECT_TRUE(desktop.changesWithin(mediumFrame, empty, 1000));
    writeStoredLanguage(app.defaults, AppLanguage::english);
    sendReload();
    EXPECT_TRUE(QTest::qWaitFor([&] { return differingPixels(desktop.frame(mediumFrame), empty) < 20; }, 2000))
        << "back in English the widget looks as before";

    // The application's store asks for the reload after it wrote; its suite
    // and the end-to-end one count those requests.
    app.write(sampleSnapshot(QDateTime::currentDateTimeUtc().addSecs(-7200)));
    sendReload();
    EXPECT_TRUE(desktop.changesWithin(mediumFrame, empty, 1000)) << "not redrawn within a second";
    EXPECT_GT(differingPixels(desktop.settled(mediumFrame), empty), 1000);

    // Many reloads at once are answered once, and then the host rests.
    for (int i = 0; i < 300; ++i)
        WidgetCenter().reloadAllTimelines();
    sendReload();
    desktop.settled(mediumFrame);
    // Idle is measured over a while: under a tenth of a core.
    const double before = vorlie::testing::cpuSeconds(desktop.hostPid());
    QTest::qWait(2000);
    EXPECT_LT(vorlie::testing::cpuSeconds(desktop.hostPid()) - before, 0.2) << "busy while idle";

    // Reloads one after another do not pile up memory.
    const auto reloads = [](int count) {
        for (int i = 0; i < count; ++i) {
            sendReload();
            QTest::qWait(70);
        }
    };
    reloads(20);
    const qint64 settled = vorlie::testing::residentKiB(desktop.hostPid());
    reloads(60);
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed memory in quarantine, so only a plain build can tell.
    EXPECT_LT(vorlie::testing::residentKiB(desktop.hostPid()) - settled, 6 * 1024) << "resident memory grew with reloads";
#else
    static_cast<void>(settled);
#endif
    EXPECT_TRUE(desktop.hostRunning());
}

TEST_F(WidgetHostEndToEnd, AClickOpensTheAppsAddressAndADragMovesTheWidgetForGood)
{
    app.write(sampleSnapshot());
    ASSERT_TRUE(desktop.startHost());
    ASSERT_TRUE(desktop.at(onMedium, {QStringLiteral("click"), QStringLiteral("1")}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop.opened().isEmpty(); }, 10'000));
    EXPECT_EQ(desktop.opened(), QStringList{QStringLiteral("vorlia://home")});

    // A drag is no click: it moves the small widget and opens nothing.
    const QPoint grab = smallFrame.center();
    ASSERT_TRUE(desktop.at(grab, {QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousemove"),
                                  QString::number(grab.x() + 20), QString::number(grab.y() + 20), QStringLiteral("mousemove"),
                                  QString::number(grab.x() + 60), QString::number(grab.y() + 250), QStringLiteral("mouseup"),
                                  QStringLiteral("1")}));
    const QRect moved = smallFrame.translated(60, 250);
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.stored(QStringLiteral("widgets/small/y")).toInt() == moved.y(); }, 5000));
    EXPECT_EQ(desktop.stored(QStringLiteral("widgets/small/x")).toInt(), moved.x());
    // Time enough for a click's URL to arrive, had the drag been taken for one.
    QTest::qWait(300);
    EXPECT_EQ(desktop.opened().size(), 1);

    // Without a snapshot a click leads to the status picker.
    const QImage withSnapshot = desktop.frame(mediumFrame);
    app.clear();
    sendReload();
    ASSERT_TRUE(desktop.changesWithin(mediumFrame, withSnapshot, 5000)) << "the empty state is not drawn";
    desktop.at(onMedium, {QStringLiteral("click"), QStringLiteral("1")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.opened().size() == 2; }, 10'000));
    EXPECT_EQ(desktop.opened().value(1), QStringLiteral("vorlia://status"));

    // The next start puts the widget where the user left it.
    app.write(sampleSnapshot());
    desktop.stopHost();
    ASSERT_TRUE(desktop.startHost({mediumFrame}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.drawn(moved); }, 10'000));
    EXPECT_FALSE(desktop.drawn(smallFrame));

    // The menu opens at the pointer, over whatever was there: add small, the
    // updated time's switch, remove.
    const QRect underMenu(onMedium, QSize(120, 60));
    const auto choose = [&](const QStringList &keys) {
        const QImage before = desktop.settled(underMenu);
        ASSERT_TRUE(desktop.at(onMedium, {QStringLiteral("click"), QStringLiteral("3")}));
        ASSERT_TRUE(desktop.changesWithin(underMenu, before, 5000)) << "no menu";
        ASSERT_TRUE(desktop.display().pointer(QStringList{QStringLiteral("key")} + keys));
    };
    choose({QStringLiteral("Down"), QStringLiteral("Return")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop.storedWidgets().size() == 3; }, 5000));
    const QImage withTime = desktop.settled(mediumFrame);
    choose({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
    EXPECT_TRUE(desktop.changesWithin(mediumFrame, withTime, 3000)) << "the elapsed time is still shown";
    EXPECT_EQ(desktop.stored(QStringLiteral("widgets/medium/configuration/showUpdatedTime")).toString(), QStringLiteral("false"));
    choose({QStringLiteral("Up"), QStringLiteral("Return")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop.storedWidgets().contains(QStringLiteral("medium")); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop.drawn(mediumFrame); }, 5000));
    EXPECT_TRUE(desktop.hostRunning());
}

TEST_F(WidgetHostEndToEnd, AFirstStartShowsOneMediumWidgetAndHandEditedNonsenseIsSkipped)
{
    QFile::remove(desktop.preferences());
    const QRect firstPlace(32, 32, 364, 170);
    ASSERT_TRUE(desktop.startHost({firstPlace}));
    const QStringList ids = desktop.storedWidgets();
    ASSERT_EQ(ids.size(), 1);
    EXPECT_EQ(desktop.stored(QStringLiteral("widgets/%1/family").arg(ids.first())).toString(), QStringLiteral("medium"));
    desktop.stopHost();

    QFile::remove(desktop.preferences());
    QSettings host(desktop.preferences(), QSettings::IniFormat);
    for (const char *line : {"initialised=true", "widgets/huge/kind=MainPersonWidget", "widgets/huge/family=enormous",
                             "widgets/gone/kind=NoSuchWidget", "widgets/gone/family=small", "widgets/odd/kind=MainPersonWidget",
                             "widgets/odd/family=small", "widgets/odd/x=left", "widgets/odd/configuration/showUpdatedTime=maybe"})
        host.setValue(QString::fromLatin1(line).section(u'=', 0, 0), QString::fromLatin1(line).section(u'=', 1));
    host.sync();
    // Only the small one with its unreadable place is shown, at a place of the host's choosing.
    ASSERT_TRUE(desktop.startHost({QRect(32, 32, 170, 170)}));
    EXPECT_FALSE(desktop.drawn(QRect(32 + 170 + 16, 32, 170, 170)));
    EXPECT_TRUE(desktop.hostRunning());
}
