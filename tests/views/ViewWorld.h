#pragma once

#include "support/SpinUntil.h"
#include "FakeServiceHost.h"
#include "KeychainTokenStore.h"
#include "support/ResultOf.h"
#include "UiRoot.h"
#include "repositories/sample/MockRepositories.h"
#include "repositories/sample/SampleData.h"
#include "session/AuthSession.h"
#include "session/SessionStore.h"
#include "widget/WidgetSnapshotStore.h"
#include "screens/ScreenServices.h"

#include <QCoreApplication>
#include <QCoro/QCoroFuture>
#include <QPromise>
#include <QDeadlineTimer>
#include <QNetworkAccessManager>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QUuid>
#include <memory>

namespace vorlie::testing {

// The sample world's sync, with a snapshot each test may change first.
class FixedSyncRepository final : public SyncRepository {
public:
    FixedSyncRepository() { release(); }

    SyncSnapshot snapshot = sample::data().snapshot;
    std::optional<APIError> failure;

    // From hold() until release(), a sync waits before it answers.
    void hold()
    {
        m_held = QPromise<void>();
        m_held.start();
    }
    void release()
    {
        m_held.start();
        m_held.finish();
    }

    QCoro::Task<Result<SyncSnapshot>> fetchSync() override
    {
        co_await qCoro(m_held.future()).waitForFinished();
        if (failure)
            co_return *failure;
        // A copy: g++ 12 moves from a member named in co_return.
        SyncSnapshot answer = snapshot;
        co_return answer;
    }

private:
    QPromise<void> m_held;
};

// The application below its views, built from the sample repositories as
// previews are, with avatar pictures drawn by the local fake service, and
// the Qt Quick root the program uses.
class ViewWorld {
public:
    explicit ViewWorld(AppLanguage language = AppLanguage::english,
                       Appearance::ColorScheme scheme = Appearance::ColorScheme::light)
    {
        languages.setSelection(language);
        ui.appearance().setColorScheme(scheme);
    }

    ~ViewWorld()
    {
        sync.release();
        spinUntil([this] { return !store.isSyncing(); });
    }

    // Signed in with `snapshot` as the service's sync answer.
    void signIn(const SyncSnapshot &snapshot = sample::data().snapshot)
    {
        sync.snapshot = snapshot;
        resultOf(store.completeSignIn(snapshot.user));
    }

    // Shows `item` alone in a window of its own size.
    static std::unique_ptr<QQuickWindow> show(QQuickItem *item)
    {
        auto window = std::make_unique<QQuickWindow>();
        item->setParentItem(window->contentItem());
        window->resize(qCeil(item->width() > 0 ? item->width() : item->implicitWidth()),
                       qCeil(item->implicitHeight()));
        QObject::connect(item, &QQuickItem::implicitHeightChanged, window.get(),
                         [w = window.get(), item] { w->resize(w->width(), qCeil(item->implicitHeight())); });
        window->show();
        return window;
    }

    // Runs the event loop until `done` holds or the deadline passes.
    template<typename Predicate>
    static bool spinUntil(Predicate done, std::chrono::milliseconds limit = std::chrono::seconds(5))
    {
        return testing::spinUntil(done, limit);
    }

    QTemporaryDir config; // preferences of this world alone
    fake::FakeServiceHost host; // draws the avatar pictures
    QNetworkAccessManager network;
    KeychainTokenStore keychain{QStringLiteral("com.vorlia.app.tokens.views-") + QUuid::createUuid().toString(QUuid::WithoutBraces)};
    AuthSession auth{keychain, host.baseUrl(), network};
    MockAuthRepository authRepository;
    MockProfileRepository profile;
    MockConnectionsRepository connections;
    MockStatusRepository statuses;
    FixedSyncRepository sync;
    MockDeviceRepository devices;
    MockAnnouncementRepository announcements;
    WidgetSnapshotStore widget{SharedDefaults(PreferencePaths::under(config.path())), network, host.rootUrl(), [] {}};
    AppDependencies service{auth, authRepository, profile, connections, statuses, sync, devices, announcements};
    SessionStore store{service, SyncSnapshotCache(SharedDefaults(PreferencePaths::under(config.path()))), widget};
    ScreenServices screen{config.path(), store, service, host.rootUrl()};
    LanguageSettings &languages = screen.languages;
    MenuBarPreferences &menuBar = screen.menuBar;
    LaunchAtLogin &launchAtLogin = screen.launchAtLogin;
    AppRouter &router = screen.router;
    QDateTime now = QDateTime::currentDateTimeUtc();
    UiRoot ui{[this] {
        AppServices::Parts parts = screen.parts;
        parts.now = [this] { return now; };
        return parts;
    }()};
};

} // namespace vorlie::testing
