#pragma once

#include "AppConfig.h"
#include "AppRouter.h"
#include "AppServices.h"
#include "api/IdleClosingNetwork.h"
#include "XdgAutostart.h"
#include "login/LaunchAtLogin.h"
#include "notifications/DesktopNotifications.h"
#include "LiveDependencies.h"
#include "MacAppDelegate.h"
#include "WidgetCenter.h"
#include "i18n/TextLookup.h"
#include "prefs/LanguageSettings.h"
#include "prefs/MenuBarPreferences.h"
#include "push/PushRegistrar.h"
#include "push/UnifiedPushConnector.h"
#include "resume/ReachabilitySource.h"
#include "resume/SleepWatcher.h"
#include "session/SessionStore.h"
#include "widget/WidgetSnapshotStore.h"

#include <QObject>
#include <QCoro/QCoroTask>
#include <chrono>
#include <memory>
#include <optional>

namespace vorlie {

// The application's long-lived objects, built once on the main thread and
// kept for the life of the process, and the start-up task that brings them
// to life: delegate wiring, session restore, push registration and the
// periodic refresh. Screens only observe what it owns.
class VorlieMacApp : public QObject {
    Q_OBJECT
public:
    struct Options {
        AppConfig config;
        PreferencePaths paths = PreferencePaths::forUser();
        QString keychainService = LiveDependencies::keychainService();
        // The well-known bus name push distributors call back on.
        QString pushServiceName = QStringLiteral("com.vorlia.app");
        std::chrono::milliseconds refreshInterval{60'000};
        // Where logind says the machine woke; the system bus when not given.
        std::optional<QDBusConnection> sleepBus = std::nullopt;
        // What says the network came back; the network manager's when not given.
        ReachabilitySource *reachability = nullptr;
    };

    explicit VorlieMacApp(Options options, QObject *parent = nullptr);

    // Runs once, when the main content is first shown.
    QCoro::Task<void> start();
    // After the sign-in screen's successful login or registration.
    QCoro::Task<void> completeSignIn(User user);

    MacAppDelegate &delegate() { return m_delegate; }
    AppDependencies dependencies() { return m_live.dependencies(); }
    SessionStore &sessionStore() { return m_sessionStore; }
    WidgetSnapshotStore &widgetSnapshots() { return m_widgetSnapshots; }
    LanguageSettings &languageSettings() { return m_languageSettings; }
    MenuBarPreferences &menuBarPreferences() { return m_menuBarPreferences; }
    PushRegistrar &pushRegistrar() { return m_pushRegistrar; }
    TextLookup &textLookup() { return m_textLookup; }
    AppRouter &router() { return m_router; }
    // What the screens' presenters are given.
    AppServices::Parts screenServices();

signals:
    // A tapped notification about this person, after the router opened them.
    void personRequested(const QString &personId);

private:
    void wireDelegate();
    void wirePush();
    // A machine that woke or a network that came back shows old news: one
    // refresh each, joining one that runs.
    void wireResume();
    QCoro::Task<void> refreshSession();
    QCoro::Task<void> refreshForPush();
    QCoro::Task<void> languageChanged(AppLanguage language);
    QCoro::Task<void> present(QVariantMap userInfo);
    QCoro::Task<void> openTapped(PushNotificationPayload payload);

    const Options m_options;
    MacAppDelegate m_delegate;
    LiveDependencies m_live;
    WidgetCenter m_widgetCenter;
    TextLookup m_textLookup;
    LanguageSettings m_languageSettings;
    MenuBarPreferences m_menuBarPreferences;
    IdleClosingNetwork m_pictureNetwork; // avatar pictures never share the service's connections
    WidgetSnapshotStore m_widgetSnapshots;
    SessionStore m_sessionStore;
    DesktopNotifications m_notifications;
    UnifiedPushConnector m_pushConnector;
    PushRegistrar m_pushRegistrar;
    AppRouter m_router;
    XdgAutostart m_autostart;
    LaunchAtLogin m_launchAtLogin{m_autostart};
    StandardDefaults m_standardDefaults{m_options.paths};
    // Both made by the start-up task: the system bus and the network
    // manager answer slowly on some desktops.
    std::unique_ptr<SleepWatcher> m_sleepWatcher;
    std::unique_ptr<ReachabilitySource> m_ownReachability; // when none was given
};

} // namespace vorlie
