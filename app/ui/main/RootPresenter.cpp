#include "RootPresenter.h"

#include "AppRouter.h"
#include "AppServices.h"
#include "i18n/TextLookup.h"
#include "session/SessionStore.h"

namespace vorlie {

RootPresenter::RootPresenter(QObject *parent)
    : ServicesPresenter(parent)
{
}

RootPresenter::RootPresenter(const Inputs &inputs, QObject *parent)
    : ServicesPresenter(parent)
{
    use(inputs);
}

void RootPresenter::bind(AppServices &services)
{
    use({services.sessionStore(), services.textLookup(), services.router()});
}

void RootPresenter::use(const Inputs &inputs)
{
    m_in.emplace(inputs);
    connect(&inputs.session, &SessionStore::authStateChanged, this, &RootPresenter::update);
    connect(&inputs.session, &SessionStore::credentialStoreStateChanged, this, &RootPresenter::updateKeyringMessage);
    connect(&inputs.texts, &TextLookup::languageApplied, this, &RootPresenter::updateKeyringMessage);
    update();
    updateKeyringMessage();
}

void RootPresenter::updateKeyringMessage()
{
    QString message;
    switch (m_in->session.credentialStoreState()) {
    case CredentialStoreState::available:
        break;
    case CredentialStoreState::unavailable:
        message = qtTrId("mac.signin.keyring_unavailable");
        break;
    case CredentialStoreState::locked:
        message = qtTrId("mac.signin.keyring_locked");
        break;
    }
    if (message == m_keyringMessage)
        return;
    m_keyringMessage = message;
    emit keyringMessageChanged();
}

void RootPresenter::update()
{
    Screen next = Screen::splash;
    switch (m_in->session.authState()) {
    case SessionStore::AuthState::unknown:
        break;
    case SessionStore::AuthState::signedOut:
        next = Screen::signIn;
        break;
    case SessionStore::AuthState::signedIn:
        next = Screen::main;
        break;
    }
    if (next == m_screen)
        return;
    // Leaving the main content closes its sheets: the next account must not
    // find the previous one's settings or picker open.
    if (m_screen == Screen::main) {
        m_in->router.setSettingsPresented(false);
        m_in->router.setStatusPickerPresented(false);
    }
    m_screen = next;
    emit screenChanged();
}

} // namespace vorlie
