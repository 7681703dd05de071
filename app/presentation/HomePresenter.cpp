#include "HomePresenter.h"

#include "AppRouter.h"
#include "AppServices.h"
#include "StatusTexts.h"
#include "domain/AvatarImageURL.h"
#include "domain/OfflineLabel.h"
#include "domain/StatusCatalog.h"
#include "domain/UpdatedLabel.h"
#include "i18n/TextLookup.h"
#include "prefs/LanguageSettings.h"
#include "session/SessionStore.h"

#include <QCoro/QCoroTask>

namespace vorlie {

HomePresenter::HomePresenter(QObject *parent)
    : ServicesPresenter(parent)
{
    m_minute.setInterval(std::chrono::minutes(1));
    connect(&m_minute, &QTimer::timeout, this, &HomePresenter::update);
}

HomePresenter::HomePresenter(const Inputs &inputs, QObject *parent)
    : HomePresenter(parent)
{
    use(inputs);
}

void HomePresenter::bind(AppServices &services)
{
    use({services.sessionStore(), services.router(), services.textLookup(), services.languageSettings(),
         services.avatarBaseURL(), services.clock()});
}

void HomePresenter::use(const Inputs &inputs)
{
    m_in.emplace(inputs);
    SessionStore *store = &inputs.session;
    for (auto signal : {&SessionStore::currentUserChanged, &SessionStore::mainPersonChanged,
                        &SessionStore::mainPersonStatusChanged, &SessionStore::ownStatusChanged,
                        &SessionStore::connectionsChanged, &SessionStore::isSyncingChanged,
                        &SessionStore::lastSyncErrorChanged, &SessionStore::serviceUnreachableChanged,
                        &SessionStore::sessionExpiredChanged, &SessionStore::dataAsOfChanged}) {
        connect(store, signal, this, &HomePresenter::update);
    }
    connect(&inputs.texts, &TextLookup::languageApplied, this, &HomePresenter::update);
    update();
}

void HomePresenter::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    if (active) {
        update();
        m_minute.start();
    } else {
        m_minute.stop();
    }
    emit activeChanged();
}

void HomePresenter::refresh()
{
    if (m_in)
        QCoro::connect(m_in->session.refresh(), this, [](bool) {});
}

void HomePresenter::signInAgain()
{
    if (!m_in)
        return;
    SessionStore &store = m_in->session;
    const std::optional<User> &user = store.currentUser();
    m_in->router.setSignInEmail(user ? user->email.value_or(QString()) : QString());
    QCoro::connect(store.signOut(), this, [] {});
}

void HomePresenter::update()
{
    State next = compute();
    if (next == m_state)
        return;
    m_state = std::move(next);
    emit changed();
}

HomePresenter::State HomePresenter::compute() const
{
    State state;
    if (!m_in)
        return state;
    const SessionStore &store = m_in->session;
    const QUrl &avatarBase = m_in->avatarBaseURL;
    const std::optional<Status> &status = store.mainPersonStatus();
    const QLocale locale = formattingLocale(m_in->language.selection());

    if (const std::optional<MainPerson> &main = store.mainPerson()) {
        const User &person = main->person;
        state.hasMainPerson = true;
        state.mainPersonId = person.id;
        state.mainPersonName = person.displayName;
        state.panelAvatarURL = avatarImageURL(avatarBase, person.avatar, person.id, panelAvatarPoints);
        state.cardAvatarURL = avatarImageURL(avatarBase, person.avatar, person.id, cardAvatarPoints);
        state.connectionText = connectionStateText(store.connections(), main->connectionId);
        state.connectionAccepted = isConnectionAccepted(store.connections(), main->connectionId);
    }
    state.mainVisualState = visualStateOf(status);
    if (status && !status->isExpired) {
        state.showsStatus = true;
        state.statusId = status->id;
        state.statusText = displayText(*status);
        state.statusEmoji = status->emoji.value_or(QString());
        state.updatedLabel = vorlie::updatedLabel(status->createdAt, m_in->now(), locale).value_or(QString());
    }

    if (const std::optional<User> &user = store.currentUser()) {
        state.hasCurrentUser = true;
        state.ownAvatarURL = avatarImageURL(avatarBase, user->avatar, user->id, ownAvatarPoints);
    }
    state.ownVisualState = visualStateOf(store.ownStatus());
    state.ownStatusText = vorlie::ownStatusText(store.ownStatus());
    state.isSyncing = store.isSyncing();
    if (const std::optional<APIError> &error = store.lastSyncError())
        state.syncErrorMessage = error->userMessage();
    if (store.serviceUnreachable())
        state.offlineText = offlineLabel(store.dataAsOf(), m_in->now(), locale);
    state.offersSignInAgain = store.sessionExpired();
    return state;
}

} // namespace vorlie
