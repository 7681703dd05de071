#pragma once

#include <QDateTime>
#include <QObject>
#include <QUrl>
#include <QCoro/QCoroTask>

#include <functional>

class QQmlEngine;

namespace vorlie {

class AppRouter;
class AuthRepository;
class LanguageSettings;
class LaunchAtLogin;
class MenuBarPreferences;
class ProfileRepository;
class SessionStore;
class StandardDefaults;
class StatusRepository;
class TextLookup;

// Everything the screens' presenters may take from the composition root. The
// root provides one to its QML engine; a presenter created by a view finds it
// through the engine that created it (AppServices::of) and takes only what it
// works with, so views get their objects without context properties or
// globals, and tests hand a presenter just its own inputs.
class AppServices : public QObject {
    Q_OBJECT

public:
    struct Parts {
        SessionStore &sessionStore;
        // The service calls a screen makes itself; everything else reaches
        // the service through the session store.
        AuthRepository &authRepository;
        StatusRepository &statusRepository;
        ProfileRepository &profileRepository;
        LanguageSettings &languageSettings;
        MenuBarPreferences &menuBarPreferences;
        TextLookup &textLookup;
        AppRouter &router;
        LaunchAtLogin &launchAtLogin;
        // Where the recently used statuses are kept.
        const StandardDefaults &standardDefaults;
        // The avatar rendering service's root address.
        QUrl avatarBaseURL;
        // After a sign-in: register for push and ask to show notifications.
        std::function<QCoro::Task<void>()> requestPushAuthorization;
        std::function<QDateTime()> now = [] { return QDateTime::currentDateTimeUtc(); };
    };

    explicit AppServices(Parts parts, QObject *parent = nullptr);

    // The services of the engine that created `qmlObject`; null outside QML
    // or when the engine was given none.
    static AppServices *of(const QObject *qmlObject);

    SessionStore &sessionStore() const { return m_parts.sessionStore; }
    AuthRepository &authRepository() const { return m_parts.authRepository; }
    StatusRepository &statusRepository() const { return m_parts.statusRepository; }
    ProfileRepository &profileRepository() const { return m_parts.profileRepository; }
    LanguageSettings &languageSettings() const { return m_parts.languageSettings; }
    MenuBarPreferences &menuBarPreferences() const { return m_parts.menuBarPreferences; }
    TextLookup &textLookup() const { return m_parts.textLookup; }
    AppRouter &router() const { return m_parts.router; }
    LaunchAtLogin &launchAtLogin() const { return m_parts.launchAtLogin; }
    const StandardDefaults &standardDefaults() const { return m_parts.standardDefaults; }
    QUrl avatarBaseURL() const { return m_parts.avatarBaseURL; }
    const std::function<QCoro::Task<void>()> &requestPushAuthorization() const
    {
        return m_parts.requestPushAuthorization;
    }
    const std::function<QDateTime()> &clock() const { return m_parts.now; }

private:
    Parts m_parts;
};

} // namespace vorlie
