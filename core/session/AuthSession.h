#pragma once

#include "SerialQueue.h"
#include "SingleFlight.h"
#include "TokenStore.h"
#include "api/Result.h"

#include <QObject>
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
class AuthSession : public QObject {
    Q_OBJECT
public:
    enum class State { signedOut, signedIn };
    Q_ENUM(State)

    static constexpr std::chrono::milliseconds defaultRefreshTimeout{60'000};

    // Starts loading both tokens from the store; every operation waits for that.
    AuthSession(TokenStore &keychain, QUrl baseURL, QNetworkAccessManager &network,
                std::chrono::milliseconds refreshTimeout = defaultRefreshTimeout, QObject *parent = nullptr);
    ~AuthSession() override;

    QCoro::Task<std::optional<QString>> accessToken();
    QCoro::Task<std::optional<QString>> refreshToken();
    QCoro::Task<State> state();

    QCoro::Task<void> storeTokens(QString accessToken, QString refreshToken);
    QCoro::Task<void> clearTokens();

    // The new access token. The exchange belongs to the session, not to the
    // caller: it runs to its end whoever stops waiting.
    QCoro::Task<Result<QString>> refreshAccessToken();

signals:
    void stateChanged(vorlie::AuthSession::State state);

private:
    QCoro::Task<void> load();
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
};

} // namespace vorlie
