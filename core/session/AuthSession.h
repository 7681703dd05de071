#pragma once

#include "SerialQueue.h"
#include "SingleFlight.h"
#include "TokenStore.h"
#include "api/Result.h"

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QCoro/QCoroTask>
#include <chrono>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace vorlie {

// Owns the signed-in user's token pair. Every operation takes its turn in one
// queue, so keychain writes never interleave; concurrent callers that need a
// new access token share one refresh exchange.
// A pair the credential store refused stays in memory and is written again
// when the store may be back (its service appears, a collection is unlocked,
// every minute meanwhile) and with every later store or clear, so the stored
// refresh token is never left one the service has replaced.
class AuthSession : public QObject {
    Q_OBJECT
    Q_PROPERTY(vorlie::CredentialStoreState credentialStoreState READ credentialStoreState NOTIFY credentialStoreStateChanged)
public:
    enum class State { signedOut, signedIn };
    Q_ENUM(State)

    static constexpr std::chrono::milliseconds defaultRefreshTimeout{60'000};

    // Both tokens are loaded from the store when the session is first asked
    // (at start, by the session restore); every operation waits for that.
    AuthSession(TokenStore &keychain, QUrl baseURL, QNetworkAccessManager &network,
                std::chrono::milliseconds refreshTimeout = defaultRefreshTimeout, QObject *parent = nullptr);
    ~AuthSession() override;

    QCoro::Task<std::optional<QString>> accessToken();
    // The access token without waiting, when nothing holds the session; empty
    // before the load and while a load, store or refresh holds it, and then
    // accessToken() waits its turn.
    std::optional<std::optional<QString>> accessTokenAtRest() const;
    QCoro::Task<std::optional<QString>> refreshToken();
    QCoro::Task<State> state();
    // The state as it stands, without waiting for a load or refresh to end.
    State stateAtRest() const { return m_state; }

    // How the credential store took the tokens: only `available` means they
    // survive a restart. The session holds them either way.
    QCoro::Task<CredentialStoreState> storeTokens(QString accessToken, QString refreshToken);
    QCoro::Task<void> clearTokens();

    // How the credential store answered last; `available` until it has been asked.
    CredentialStoreState credentialStoreState() const { return m_credentialStoreState; }
    // Whether the tokens held differ from the stored ones.
    bool hasUnsavedTokens() const { return m_unsaved; }

    static constexpr std::chrono::milliseconds unsavedRetryInterval{60'000};

    // The new access token. The exchange belongs to the session, not to the
    // caller: it runs to its end whoever stops waiting.
    QCoro::Task<Result<QString>> refreshAccessToken();

signals:
    void stateChanged(vorlie::AuthSession::State state);
    void credentialStoreStateChanged();
    // A start-up that found no answering keychain found the stored session later.
    void sessionRestored();

private:
    // The queue's turn for every operation; the first one starts the load.
    SerialQueue::EnterAwaiter takeTurn();
    QCoro::Task<void> load();
    // Reads both tokens; false when the store did not answer.
    QCoro::Task<bool> loadHoldingTurn();
    // The keychain may be back: write what it is missing, or read what start-up could not.
    QCoro::Task<void> catchUpWithStore();
    // Makes the store hold what the session holds.
    QCoro::Task<void> persistHoldingTurn();
    void setCredentialStoreState(CredentialStoreState state);
    // The retry timer runs while the store misses something.
    void scheduleRetry();
    QCoro::Task<Result<QString>> performRefresh();
    // Callers hold the queue's turn.
    QCoro::Task<void> storeTokensHoldingTurn(QString accessToken, QString refreshToken);
    QCoro::Task<void> clearTokensHoldingTurn();
    void setState(State state);

    TokenStore &m_keychain;
    const QUrl m_baseURL;
    QNetworkAccessManager &m_network;
    const std::chrono::milliseconds m_refreshTimeout;
    SerialQueue m_queue;

    std::optional<QString> m_accessToken;
    std::optional<QString> m_refreshToken;
    State m_state = State::signedOut;
    // Advanced by every store and clear, so a refresh that outlived a sign-out
    // or another sign-in cannot write the old account's tokens back.
    quint64 m_generation = 0;
    SingleFlight<Result<QString>> m_refreshFlight;
    CredentialStoreState m_credentialStoreState = CredentialStoreState::available;
    bool m_unsaved = false;      // the store missed the last store or clear
    bool m_loadStarted = false;
    bool m_loadPending = false;  // start-up could not read the store
    bool m_catchUpWaiting = false; // a catch-up waits for its turn
    QTimer m_retry;
};

} // namespace vorlie
