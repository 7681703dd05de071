#include "VorlieMacApp.h"

#include "NotificationText.h"
#include "repositories/ProfileRepository.h"

#include <QPointer>
#include <QCoro/QCoroTask>

namespace vorlie {

VorlieMacApp::VorlieMacApp(Options options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_live(m_options.config.apiBaseURL, m_options.keychainService)
    , m_languageSettings(SharedDefaults(m_options.paths), m_textLookup, [this] { m_widgetCenter.reloadAllTimelines(); })
    , m_menuBarPreferences(StandardDefaults(m_options.paths))
    , m_widgetSnapshots(SharedDefaults(m_options.paths), m_pictureNetwork, m_options.config.avatarBaseURL,
                        [this] { m_widgetCenter.reloadAllTimelines(); })
    , m_sessionStore(m_live.dependencies(), SyncSnapshotCache(SharedDefaults(m_options.paths)), m_widgetSnapshots)
    , m_pushConnector(m_options.pushServiceName)
    , m_pushRegistrar(SharedDefaults(m_options.paths), m_live.dependencies().deviceRepository,
                      PushPlatform{[this] { m_pushConnector.start(); }, [this] { return m_notifications.isServerPresent(); }})
{
    // Texts written from now on (the widget snapshot included) are in the chosen language.
    m_textLookup.apply(m_languageSettings.selection());
    wirePush();
    connect(&m_languageSettings, &LanguageSettings::selectionChanged, this,
            [this] { QCoro::connect(languageChanged(m_languageSettings.selection()), this, [] {}); });
}

AppServices::Parts VorlieMacApp::screenServices()
{
    const AppDependencies service = m_live.dependencies();
    return AppServices::Parts{
        m_sessionStore,
        service.authRepository,
        service.statusRepository,
        service.profileRepository,
        m_languageSettings,
        m_menuBarPreferences,
        m_textLookup,
        m_router,
        m_launchAtLogin,
        m_standardDefaults,
        m_options.config.avatarBaseURL,
        [this]() -> QCoro::Task<void> { co_await m_pushRegistrar.requestAuthorization(); },
    };
}

QCoro::Task<void> VorlieMacApp::start()
{
    wireResume();
    wireDelegate();
    co_await m_sessionStore.bootstrap();
    if (m_sessionStore.authState() == SessionStore::AuthState::signedIn)
        co_await m_pushRegistrar.requestAuthorization();
    m_delegate.startPeriodicRefresh(m_options.refreshInterval);
}

QCoro::Task<void> VorlieMacApp::completeSignIn(User user)
{
    co_await m_sessionStore.completeSignIn(std::move(user));
    co_await m_pushRegistrar.requestAuthorization();
}

void VorlieMacApp::wireDelegate()
{
    m_delegate.setOnDeviceToken([this](const QByteArray &token) {
        QCoro::connect(m_pushRegistrar.registerDeviceToken(token), this, [] {});
    });
    m_delegate.setOnRemoteNotification([this] { return refreshForPush(); });
    m_delegate.setOnPeriodicRefresh([this] { return refreshSession(); });
    m_delegate.setNotificationText([this](const PushNotificationPayload &payload) {
        return notificationText(payload, m_sessionStore);
    });
    m_delegate.setOnNotificationTapped([this](const PushNotificationPayload &payload) {
        QCoro::connect(openTapped(payload), this, [] {});
    });
}

// The service writes texts such as notifications in the profile's language;
// the refresh then rewrites the widget in the new one.
QCoro::Task<void> VorlieMacApp::languageChanged(AppLanguage language)
{
    if (m_sessionStore.authState() != SessionStore::AuthState::signedIn)
        co_return;
    UpdateMeRequestBody change;
    change.locale = localeCode(language);
    const QPointer<VorlieMacApp> self(this);
    const Result<User> updated = co_await m_live.dependencies().profileRepository.updateMe(change);
    Q_UNUSED(updated) // best effort: the next change tries again
    if (self)
        co_await m_sessionStore.refresh();
}

QCoro::Task<void> VorlieMacApp::refreshSession()
{
    co_await m_sessionStore.refresh();
}

// A push may tell of a change that the sync already out asked about too
// early: joining it alone would leave the change for the next tick.
QCoro::Task<void> VorlieMacApp::refreshForPush()
{
    const bool joined = m_sessionStore.isSyncing();
    const QPointer<VorlieMacApp> self(this);
    co_await m_sessionStore.refresh();
    if (joined && self)
        co_await m_sessionStore.refresh();
}

// The desktop's push transport and notification server stand in for the
// platform's remote notifications: a token, a pushed message, a click.
void VorlieMacApp::wirePush()
{
    connect(&m_pushConnector, &UnifiedPushConnector::deviceTokenReceived, &m_delegate,
            &MacAppDelegate::didRegisterForRemoteNotifications);
    connect(&m_pushConnector, &UnifiedPushConnector::messageReceived, this,
            [this](const QVariantMap &userInfo) { QCoro::connect(present(userInfo), this, [] {}); });
    connect(&m_notifications, &DesktopNotifications::tapped, &m_delegate, &MacAppDelegate::didReceiveNotificationResponse);
}

// A pushed event refreshes first, so the notification can name the new status.
QCoro::Task<void> VorlieMacApp::present(QVariantMap userInfo)
{
    const std::optional<NotificationText> text = co_await m_delegate.willPresentNotification(userInfo);
    if (text)
        m_notifications.show(text->title, text->body, userInfo);
}

void VorlieMacApp::wireResume()
{
    const auto refreshOnce = [this] { QCoro::connect(refreshSession(), this, [] {}); };
    m_sleepWatcher = std::make_unique<SleepWatcher>(m_options.sleepBus ? *m_options.sleepBus : QDBusConnection::systemBus());
    connect(m_sleepWatcher.get(), &SleepWatcher::woke, this, refreshOnce);
    ReachabilitySource *reachability = m_options.reachability;
    if (!reachability) {
        m_ownReachability = std::make_unique<NetworkManagerReachability>();
        reachability = m_ownReachability.get();
    }
    connect(reachability, &ReachabilitySource::onlineChanged, this, [refreshOnce](bool online) {
        if (online)
            refreshOnce();
    });
}

QCoro::Task<void> VorlieMacApp::openTapped(PushNotificationPayload payload)
{
    co_await m_sessionStore.refresh();
    const QString personId = payload.personId.value_or(QString());
    m_router.open(app_route::Person{personId});
    if (!personId.isEmpty())
        emit personRequested(personId);
}

} // namespace vorlie
