// One status change travels the whole way, headless: the fake service
// changes the main person's status and pushes through the development
// distributor; the application refreshes once, shows the new status,
// rewrites the widget snapshot once, asks for one widget reload and shows a
// notification whose click opens that person.
#include "AppUnderTest.h"
#include "DevDistributorHost.h"
#include "WidgetCenter.h"
#include "domain/StatusCatalog.h"
#include "support/NotificationServer.h"
#include "support/ScriptedReplies.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

class ReloadCounter : public QObject {
    Q_OBJECT
public:
    int count = 0;
public slots:
    void reloaded() { ++count; }
};

} // namespace

class RoadOfOneEvent : public ::testing::Test {
protected:
    RoadOfOneEvent()
    {
        // Other test processes may run distributors of their own on this bus.
        qputenv(UnifiedPushConnector::distributorVariable, distributor.busName().toUtf8());
    }

    void SetUp() override
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        ASSERT_TRUE(bus.isConnected()) << "run inside tools/test-session.sh";
        ASSERT_TRUE(notificationServer.start());
        // Only this process's reload requests count.
        ASSERT_TRUE(bus.connect(bus.baseService(), QString::fromLatin1(WidgetCenter::objectPath),
                                QString::fromLatin1(WidgetCenter::interfaceName),
                                QString::fromLatin1(WidgetCenter::reloadAllSignal), &reloads, SLOT(reloaded())));

        signInSeeded(app, host);
        resultOf(app.start());
        ASSERT_EQ(app.sessionStore().authState(), SessionStore::AuthState::signedIn);

        // Settled: the machine is registered for push and the widget has its picture.
        ASSERT_TRUE(QTest::qWaitFor([this] { return host.service().requestCount(QStringLiteral("devices")) == 1; }, waitMs));
        ASSERT_TRUE(waitForWidgetPicture(app));
        settle();
        host.service().clearRecords();
        reloads.count = 0;
    }

    ~RoadOfOneEvent() override { shutDown(app); }

    // Lets reload signals still on the bus arrive before counting: a short
    // wait, since what is counted is that no further one comes.
    void settle()
    {
        BusPeer(unique("settle")).sync();
        QTest::qWait(200);
    }

    // Waits for the end of one sync: its announcements request comes last.
    bool syncEnded(int syncs)
    {
        return QTest::qWaitFor([this, syncs] {
            return host.service().requestCount(QStringLiteral("announcements")) >= syncs && !app.sessionStore().isSyncing();
        }, waitMs);
    }

    fake::FakeServiceHost host;
    devpush::DevDistributorHost distributor{unique("org.unifiedpush.Distributor.e2e_")};
    BusPeer notificationPeer{unique("notifications")};
    NotificationServer notificationServer{notificationPeer.bus()};
    ReloadCounter reloads;
    QTemporaryDir prefs;
    VorlieMacApp app{appOptions(host, prefs)};
};

TEST_F(RoadOfOneEvent, AStatusChangeArrivesAsOnePushOneSyncOneWidgetWriteAndOneReload)
{
    QSignalSpy statusChanged(&app.sessionStore(), &SessionStore::mainPersonStatusChanged);
    const auto widgetBefore = storedBytes(prefs, prefkeys::widgetSnapshot());

    ASSERT_EQ(publishAsMainPerson(host, QStringLiteral("tired")).status, 200);

    ASSERT_TRUE(waitForCount(statusChanged, 1, waitMs));
    ASSERT_TRUE(syncEnded(1));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !notificationServer.shown.isEmpty(); }, waitMs));
    settle();

    EXPECT_EQ(host.service().sentPushes().size(), 1);
    EXPECT_EQ(host.service().requestCount(QStringLiteral("sync")), 1);
    EXPECT_EQ(statusChanged.size(), 1);
    EXPECT_EQ(app.sessionStore().mainPersonStatus()->statusKey, QStringLiteral("tired"));
    EXPECT_EQ(reloads.count, 1);
    const auto snapshot = app.widgetSnapshots().load();
    EXPECT_EQ(snapshot->statusText, BuiltInStatusCatalog::localizedText(QStringLiteral("tired")));
    EXPECT_NE(storedBytes(prefs, prefkeys::widgetSnapshot()), widgetBefore);

    const ShownNotification shown = notificationServer.shown.constFirst();
    EXPECT_EQ(shown.summary, qtTrId("notification.partner_status_changed").arg(QStringLiteral("Quil")));
    EXPECT_TRUE(shown.body.contains(BuiltInStatusCatalog::localizedText(QStringLiteral("tired"))));

    // Clicking it refreshes and opens Quil.
    QSignalSpy opened(&app, &VorlieMacApp::personRequested);
    notificationServer.invokeAction(shown.id, QStringLiteral("default"));
    ASSERT_TRUE(waitForCount(opened, 1, waitMs));
    EXPECT_EQ(opened.constFirst().constFirst().toString(), QStringLiteral("01DEMOQUIL00000000000000000"));
    EXPECT_EQ(host.service().requestCount(QStringLiteral("sync")), 2);
}

// Every push refreshes once, and one without a change rewrites nothing. What
// a push of another type shows, the delegate's and the notifications' own
// suites prove.
TEST_F(RoadOfOneEvent, RepeatedPushesRefreshOnceAndRewriteNothing)
{
    const int shownBefore = static_cast<int>(notificationServer.shown.size());
    ASSERT_EQ(publishAsMainPerson(host, QStringLiteral("home")).status, 200);
    ASSERT_TRUE(syncEnded(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return notificationServer.shown.size() == shownBefore + 1; }, waitMs));
    settle();
    const fake::SentPush push = host.service().sentPushes().constFirst();
    host.service().clearRecords();
    reloads.count = 0;
    QSignalSpy statusChanged(&app.sessionStore(), &SessionStore::mainPersonStatusChanged);
    const auto storedSync = storedBytes(prefs, prefkeys::syncSnapshot());
    const auto storedWidget = storedBytes(prefs, prefkeys::widgetSnapshot());

    // The same event delivered again: the service has nothing new.
    ASSERT_EQ(post(QUrl(push.endpoint), push.body).status, 201);
    ASSERT_TRUE(syncEnded(1));
    settle();
    EXPECT_EQ(host.service().requestCount(QStringLiteral("sync")), 1);
    EXPECT_EQ(statusChanged.size(), 0);
    EXPECT_EQ(reloads.count, 0);
    EXPECT_EQ(storedBytes(prefs, prefkeys::syncSnapshot()), storedSync) << "a new server time alone is not written yet";
    EXPECT_EQ(storedBytes(prefs, prefkeys::widgetSnapshot()), storedWidget);

    const auto shown = notificationServer.shown.size();
    ASSERT_EQ(post(QUrl(push.endpoint), R"({"type":"PARTNER_STATUS_CHANGED","personId":"01DEMOQUIL00000000000000000"})").status, 201);
    ASSERT_TRUE(syncEnded(2));
    settle();
    EXPECT_EQ(notificationServer.shown.size(), shown);
    EXPECT_EQ(host.service().requestCount(QStringLiteral("sync")), 2) << "each push refreshes once";
}

// A push that comes while a sync is out may tell of a change that sync
// asked about too early: a sync of its own follows, so the change shows now
// rather than at the next tick. The syncs all pushes of one moment join stay one.
TEST_F(RoadOfOneEvent, APushDuringASyncIsFollowedByASyncThatBringsItsChange)
{
    // The service answers this sync as things stand now, but only later.
    host.service().script("GET", QStringLiteral("sync"), delayedServiceAnswer(std::chrono::milliseconds(800)));
    QCoro::Task<bool> running = app.sessionStore().refresh();
    ASSERT_TRUE(QTest::qWaitFor([this] { return host.service().requestCount(QStringLiteral("sync")) == 1; }, waitMs));

    ASSERT_EQ(publishAsMainPerson(host, QStringLiteral("tired")).status, 200);
    const fake::SentPush push = host.service().sentPushes().constFirst();
    ASSERT_EQ(post(QUrl(push.endpoint), push.body).status, 201); // the same news twice, as a distributor may
    EXPECT_TRUE(resultOf(running));

    ASSERT_TRUE(QTest::qWaitFor([this] {
        const std::optional<Status> &status = app.sessionStore().mainPersonStatus();
        return status && status->statusKey == QStringLiteral("tired");
    }, waitMs)) << "the change waited for the next tick";
    ASSERT_TRUE(syncEnded(2));
    settle();
    EXPECT_EQ(host.service().requestCount(QStringLiteral("sync")), 2);
}

// Start-up and the language switch, against the fake service alone.
class StartUp : public ::testing::Test {
protected:
    StartUp()
    {
        qputenv(UnifiedPushConnector::distributorVariable, unique("org.unifiedpush.Distributor.absent_").toUtf8());
    }
    ~StartUp() override { shutDown(app); }

    fake::FakeServiceHost host;
    QTemporaryDir prefs;
    VorlieMacApp app{appOptions(host, prefs)};
};

TEST_F(StartUp, WithoutASessionNothingIsAskedButTheRefreshLoopRuns)
{
    resultOf(app.start());
    EXPECT_EQ(app.sessionStore().authState(), SessionStore::AuthState::signedOut);
    EXPECT_TRUE(host.service().requests().isEmpty());
    EXPECT_TRUE(app.delegate().isPeriodicRefreshRunning());
    EXPECT_FALSE(resultOf(app.sessionStore().refresh()));

    app.languageSettings().setSelection(AppLanguage::german);
    QTest::qWait(200); // a request would have gone out within this
    EXPECT_TRUE(host.service().requests().isEmpty());
    app.languageSettings().setSelection(AppLanguage::device);
}

TEST_F(StartUp, ALanguageChangeTellsTheServiceThenRefreshesTheWidgetInTheNewLanguage)
{
    signInSeeded(app, host);
    resultOf(app.start());
    ASSERT_TRUE(waitForWidgetPicture(app));
    host.service().clearRecords();

    app.languageSettings().setSelection(AppLanguage::german);
    ASSERT_TRUE(QTest::qWaitFor([this] { return host.service().requestCount(QStringLiteral("announcements")) == 1; }, waitMs));
    QList<fake::RecordedRequest> requests = host.service().requests();
    requests.removeIf([](const fake::RecordedRequest &request) { return !request.underApi; });
    ASSERT_GE(requests.size(), 2);
    EXPECT_EQ(requests[0].method, "PATCH");
    EXPECT_EQ(requests[0].path, u"me");
    EXPECT_EQ(QJsonDocument::fromJson(requests[0].body).object(), (QJsonObject{{"locale", "de"}}));
    EXPECT_EQ(requests[1].path, u"sync");
    const Status &status = *app.sessionStore().mainPersonStatus();
    EXPECT_EQ(app.widgetSnapshots().load()->statusText, BuiltInStatusCatalog::localizedText(*status.statusKey));
    EXPECT_EQ(app.widgetSnapshots().load()->statusText.isEmpty(), false);
}

#include "RoadOfOneEventTest.moc"
