#include "SettingsPresenter.h"

#include "AppServices.h"
#include "i18n/TextLookup.h"
#include "login/LaunchAtLogin.h"
#include "prefs/LanguageSettings.h"
#include "prefs/MenuBarPreferences.h"
#include "repositories/ProfileRepository.h"
#include "session/SessionStore.h"

namespace vorlie {
namespace {

using Notification = SettingsPresenter::Notification;

bool User::*fieldOf(Notification kind)
{
    switch (kind) {
    case Notification::partnerStatusChanged:
        return &User::notifyPartnerStatusChanged;
    case Notification::statusReminder:
        return &User::notifyStatusReminder;
    case Notification::automationStatusChanged:
        break;
    }
    return &User::notifyAutomationStatusChanged;
}

// Only the one field: the service leaves everything else as it is.
UpdateMeRequestBody changeOf(Notification kind, bool enabled)
{
    UpdateMeRequestBody body;
    switch (kind) {
    case Notification::partnerStatusChanged:
        body.notifyPartnerStatusChanged = enabled;
        break;
    case Notification::statusReminder:
        body.notifyStatusReminder = enabled;
        break;
    case Notification::automationStatusChanged:
        body.notifyAutomationStatusChanged = enabled;
        break;
    }
    return body;
}

constexpr std::array allNotifications{Notification::partnerStatusChanged, Notification::statusReminder,
                                      Notification::automationStatusChanged};

} // namespace

SettingsPresenter::SettingsPresenter(QObject *parent)
    : ServicesPresenter(parent)
{
}

SettingsPresenter::SettingsPresenter(const Inputs &inputs, QObject *parent)
    : ServicesPresenter(parent)
{
    use(inputs);
}

void SettingsPresenter::bind(AppServices &services)
{
    use({services.sessionStore(), services.profileRepository(), services.launchAtLogin(),
         services.menuBarPreferences(), services.languageSettings(), services.textLookup()});
}

void SettingsPresenter::use(const Inputs &inputs)
{
    m_in.emplace(inputs);
    m_launchAtLogin = inputs.launchAtLogin.isEnabled();
    connect(&inputs.session, &SessionStore::currentUserChanged, this, [this] {
        for (Notification kind : allNotifications)
            settle(kind);
        update();
    });
    connect(&inputs.session, &SessionStore::authStateChanged, this, &SettingsPresenter::update);
    connect(&inputs.menuBar, &MenuBarPreferences::isIconEnabledChanged, this,
            &SettingsPresenter::menuBarIconEnabledChanged);
    connect(&inputs.language, &LanguageSettings::selectionChanged, this,
            &SettingsPresenter::languageIndexChanged);
    update();
    emit launchAtLoginChanged();
    emit menuBarIconEnabledChanged();
    // Options first: a drop-down given an index beyond its options drops the index.
    emit languageOptionsChanged();
    emit languageIndexChanged();
}

bool SettingsPresenter::showsNotifications() const
{
    return m_in && m_in->session.currentUser().has_value();
}

std::optional<bool> SettingsPresenter::storedValue(const std::optional<User> &user, Notification kind)
{
    if (!user)
        return std::nullopt;
    return (*user).*fieldOf(kind);
}

bool SettingsPresenter::shownValue(Notification kind) const
{
    if (const std::optional<bool> &shown = m_pending[size_t(kind)].shown)
        return *shown;
    return m_in ? storedValue(m_in->session.currentUser(), kind).value_or(false) : false;
}

void SettingsPresenter::setNotification(Notification kind, bool enabled)
{
    if (!showsNotifications() || shownValue(kind) == enabled)
        return;
    Pending &pending = m_pending[size_t(kind)];
    pending.shown = enabled;
    update();
    if (!pending.inFlight)
        QCoro::connect(send(kind), this, [] {});
}

QCoro::Task<void> SettingsPresenter::send(Notification kind)
{
    const QPointer<SettingsPresenter> self(this);
    SessionStore &store = m_in->session;
    ProfileRepository &profile = m_in->profile;
    Pending &pending = m_pending[size_t(kind)];
    pending.inFlight = true;
    std::optional<bool> confirmed;
    for (;;) {
        const bool choice = *pending.shown;
        Result<User> answer = co_await profile.updateMe(changeOf(kind, choice));
        if (!self)
            co_return;
        if (!answer) {
            // Back to what the service holds: an earlier change of this run, or the stored value.
            pending = Pending{confirmed};
            setErrorMessage(answer.error().userMessage());
            update();
            if (!confirmed)
                co_return;
            break;
        }
        confirmed = (*answer).*fieldOf(kind);
        if (pending.shown == choice) {
            pending = Pending{confirmed};
            setErrorMessage({});
            update();
            break;
        }
        // Flipped again while this one travelled: send the latest choice.
    }
    co_await store.refresh();
    if (self) {
        settle(kind);
        update();
    }
}

// The stored user caught up with the confirmed value: show it directly again.
void SettingsPresenter::settle(Notification kind)
{
    Pending &pending = m_pending[size_t(kind)];
    if (pending.inFlight || !pending.shown || !m_in)
        return;
    if (storedValue(m_in->session.currentUser(), kind) == pending.shown)
        pending.shown.reset();
}

void SettingsPresenter::setErrorMessage(const QString &message)
{
    m_errorMessage = message;
}

void SettingsPresenter::update()
{
    const Shown now{showsNotifications(), notifyPartnerStatusChanged(), notifyStatusReminder(),
                    notifyAutomationStatusChanged(), m_errorMessage, showsSignOut()};
    if (now == m_shown)
        return;
    m_shown = now;
    emit changed();
}

void SettingsPresenter::setLaunchAtLogin(bool enabled)
{
    if (!m_in || m_launchAtLogin == enabled)
        return;
    m_launchAtLogin = enabled;
    // A refusal of the desktop is dropped: the switch stays where the user put it.
    m_in->launchAtLogin.setEnabled(enabled);
    emit launchAtLoginChanged();
}

bool SettingsPresenter::showsSignOut() const
{
    // Kept while a sign-out runs, so its progress stays in view until the form closes.
    return m_in && (isSigningOut() || m_in->session.authState() == SessionStore::AuthState::signedIn);
}

bool SettingsPresenter::menuBarIconEnabled() const
{
    return m_in && m_in->menuBar.isIconEnabled();
}

void SettingsPresenter::setMenuBarIconEnabled(bool enabled)
{
    if (m_in)
        m_in->menuBar.setIconEnabled(enabled);
}

int SettingsPresenter::languageIndex() const
{
    return m_in ? int(m_in->language.selection()) : 0;
}

void SettingsPresenter::setLanguageIndex(int index)
{
    if (!m_in || index < 0 || index > int(AppLanguage::english))
        return;
    m_in->language.setSelection(AppLanguage(index));
}

QStringList SettingsPresenter::languageOptions() const
{
    if (!m_in)
        return {};
    return {m_in->texts.inSystemLanguage("settings.language.device"), QStringLiteral("Deutsch"),
            QStringLiteral("English")};
}

void SettingsPresenter::signOut()
{
    if (!m_in)
        return;
    setSignOutsRunning(m_signOutsRunning + 1);
    QCoro::connect(m_in->session.signOut(), this, [this] {
        setSignOutsRunning(m_signOutsRunning - 1);
        emit dismissRequested();
    });
}

void SettingsPresenter::setSignOutsRunning(int count)
{
    const bool was = isSigningOut();
    m_signOutsRunning = count;
    if (was != isSigningOut())
        emit isSigningOutChanged();
    update();
}

} // namespace vorlie
