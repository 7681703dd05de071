#pragma once

#include "ServicesPresenter.h"

#include <QObject>
#include <QQmlEngine>
#include <QStringList>
#include <array>
#include <optional>

#include <QCoro/QCoroTask>

namespace vorlie {

class LanguageSettings;
class LaunchAtLogin;
class MenuBarPreferences;
class ProfileRepository;
class SessionStore;
class TextLookup;
struct User;

// The settings form: the three notification switches kept by the service,
// launch at login, the tray icon, the interface language and sign-out.
//
// A notification switch shows the user's choice while its change is on the
// way. One change per switch travels at a time; a switch flipped again
// meanwhile sends the last choice once the first answer is in, so it always
// ends where the user left it, as the service confirms. A refused change
// moves the switch back and shows the service's message.
class SettingsPresenter : public ServicesPresenter {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool showsNotifications READ showsNotifications NOTIFY changed)
    Q_PROPERTY(bool notifyPartnerStatusChanged READ notifyPartnerStatusChanged WRITE setNotifyPartnerStatusChanged NOTIFY changed)
    Q_PROPERTY(bool notifyStatusReminder READ notifyStatusReminder WRITE setNotifyStatusReminder NOTIFY changed)
    Q_PROPERTY(bool notifyAutomationStatusChanged READ notifyAutomationStatusChanged WRITE setNotifyAutomationStatusChanged NOTIFY changed)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY changed)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginChanged)
    Q_PROPERTY(bool menuBarIconEnabled READ menuBarIconEnabled WRITE setMenuBarIconEnabled NOTIFY menuBarIconEnabledChanged)
    Q_PROPERTY(int languageIndex READ languageIndex WRITE setLanguageIndex NOTIFY languageIndexChanged)
    Q_PROPERTY(QStringList languageOptions READ languageOptions NOTIFY languageOptionsChanged)
    Q_PROPERTY(bool isSigningOut READ isSigningOut NOTIFY isSigningOutChanged)
    // Signed out (the settings window opened from the tray) there is nobody to sign out.
    Q_PROPERTY(bool showsSignOut READ showsSignOut NOTIFY changed)

public:
    enum class Notification { partnerStatusChanged, statusReminder, automationStatusChanged };

    struct Inputs {
        // The signed-in user's stored switches, and sign-out.
        SessionStore &session;
        // Where a switch's change is sent.
        ProfileRepository &profile;
        LaunchAtLogin &launchAtLogin;
        MenuBarPreferences &menuBar;
        LanguageSettings &language;
        const TextLookup &texts;
    };

    explicit SettingsPresenter(QObject *parent = nullptr);
    // For tests and C++ hosts: bound at once.
    explicit SettingsPresenter(const Inputs &inputs, QObject *parent = nullptr);

    bool showsNotifications() const;
    bool notifyPartnerStatusChanged() const { return shownValue(Notification::partnerStatusChanged); }
    void setNotifyPartnerStatusChanged(bool enabled) { setNotification(Notification::partnerStatusChanged, enabled); }
    bool notifyStatusReminder() const { return shownValue(Notification::statusReminder); }
    void setNotifyStatusReminder(bool enabled) { setNotification(Notification::statusReminder, enabled); }
    bool notifyAutomationStatusChanged() const { return shownValue(Notification::automationStatusChanged); }
    void setNotifyAutomationStatusChanged(bool enabled) { setNotification(Notification::automationStatusChanged, enabled); }
    bool shownValue(Notification kind) const;
    // Empty when there is none.
    QString errorMessage() const { return m_errorMessage; }

    bool launchAtLogin() const { return m_launchAtLogin; }
    void setLaunchAtLogin(bool enabled);
    bool menuBarIconEnabled() const;
    void setMenuBarIconEnabled(bool enabled);
    // In the order of languageOptions: device, German, English.
    int languageIndex() const;
    void setLanguageIndex(int index);
    // The device option in the system's language, then "Deutsch", "English".
    QStringList languageOptions() const;
    bool isSigningOut() const { return m_signOutsRunning > 0; }
    bool showsSignOut() const;

    void setNotification(Notification kind, bool enabled);
    // Not refused while one runs: the session store makes them one.
    Q_INVOKABLE void signOut();

signals:
    void changed();
    void launchAtLoginChanged();
    void menuBarIconEnabledChanged();
    void languageIndexChanged();
    void languageOptionsChanged();
    void isSigningOutChanged();
    // A sign-out ended: whatever holds the form closes it.
    void dismissRequested();

private:
    struct Pending {
        // What the switch shows instead of the stored user: the user's
        // latest choice, then the service's confirmed value until a sync
        // brings the same.
        std::optional<bool> shown;
        bool inFlight = false;
    };

    // What the form shows of the switches; `changed` only when it differs.
    struct Shown {
        bool showsNotifications = false;
        bool partnerStatusChanged = false;
        bool statusReminder = false;
        bool automationStatusChanged = false;
        QString errorMessage;
        bool showsSignOut = false;
        friend bool operator==(const Shown &, const Shown &) = default;
    };

    void bind(AppServices &services) override;
    void use(const Inputs &inputs);
    void update();
    QCoro::Task<void> send(Notification kind);
    void settle(Notification kind);
    void setErrorMessage(const QString &message);
    void setSignOutsRunning(int count);
    static std::optional<bool> storedValue(const std::optional<User> &user, Notification kind);

    std::optional<Inputs> m_in;
    std::array<Pending, 3> m_pending;
    Shown m_shown;
    QString m_errorMessage;
    bool m_launchAtLogin = false;
    int m_signOutsRunning = 0;
};

} // namespace vorlie
