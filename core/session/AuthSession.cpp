#include "AuthSession.h"

#include "api/Envelope.h"
#include "api/HttpExchange.h"
#include "api/ServiceURL.h"
#include "api/TransportErrors.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QCoro/QCoroSignal>

namespace vorlie {
namespace {

const QString accessTokenAccount = QStringLiteral("accessToken");
const QString refreshTokenAccount = QStringLiteral("refreshToken");

struct RefreshResponse {
    QString accessToken;
    QString refreshToken;
};

} // namespace

template<>
struct JsonCodec<RefreshResponse> {
    static std::optional<RefreshResponse> decode(JsonView value)
    {
        RefreshResponse response;
        if (!value.isObject() || !json::readRequired(value, QLatin1StringView("accessToken"), response.accessToken)
            || !json::readRequired(value, QLatin1StringView("refreshToken"), response.refreshToken))
            return std::nullopt;
        return response;
    }
};

AuthSession::AuthSession(TokenStore &keychain, QUrl baseURL, QNetworkAccessManager &network,
                         std::chrono::milliseconds refreshTimeout, QObject *parent)
    : QObject(parent)
    , m_keychain(keychain)
    , m_baseURL(std::move(baseURL))
    , m_network(network)
    , m_refreshTimeout(refreshTimeout)
    , m_queue(this)
    , m_refreshFlight(this)
{
    m_retry.setInterval(unsavedRetryInterval);
    connect(&m_retry, &QTimer::timeout, this, [this] { QCoro::connect(catchUpWithStore(), this, [] {}); });
    m_keychain.watchAvailability([self = QPointer<AuthSession>(this)] {
        if (self)
            QCoro::connect(self->catchUpWithStore(), self.data(), [] {});
    });
}

AuthSession::~AuthSession() = default;

SerialQueue::EnterAwaiter AuthSession::takeTurn()
{
    if (!m_loadStarted) {
        m_loadStarted = true;
        // Enters the queue synchronously, so it is first in line.
        QCoro::connect(load(), this, [] {});
    }
    return m_queue.enter();
}

QCoro::Task<void> AuthSession::load()
{
    // Runs detached from the operation that started it: the session may be
    // gone when a read returns.
    const QPointer<AuthSession> alive(this);
    auto turn = co_await m_queue.enter();
    // Without an answer the session stays signed out until the store is back.
    if (alive)
        co_await loadHoldingTurn();
}

QCoro::Task<bool> AuthSession::loadHoldingTurn()
{
    const QPointer<AuthSession> alive(this);
    // The refresh token first: without an answer for it the access token is
    // not asked for, so a keychain that never answers costs one guard, not two.
    const TokenRead refreshToken = co_await m_keychain.readEntry(refreshTokenAccount);
    if (!alive)
        co_return false;
    setCredentialStoreState(refreshToken.store);
    m_loadPending = refreshToken.store != CredentialStoreState::available;
    scheduleRetry();
    if (m_loadPending)
        co_return false;
    const TokenRead accessToken = co_await m_keychain.readEntry(accessTokenAccount);
    if (!alive)
        co_return false;
    m_accessToken = accessToken.token;
    m_refreshToken = refreshToken.token;
    // An access token alone does not make a session.
    setState(m_refreshToken ? State::signedIn : State::signedOut);
    co_return true;
}

QCoro::Task<void> AuthSession::catchUpWithStore()
{
    // Nothing missing, or a catch-up already waiting: the bus announces every
    // owner change, and a turn taken for nothing would delay token reads.
    if ((!m_unsaved && !m_loadPending) || m_catchUpWaiting)
        co_return;
    const QPointer<AuthSession> alive(this);
    m_catchUpWaiting = true;
    auto turn = co_await takeTurn();
    if (!alive)
        co_return;
    m_catchUpWaiting = false;
    if (m_unsaved) {
        co_await persistHoldingTurn();
    } else if (m_loadPending && !m_refreshToken) {
        // Nobody signed in meanwhile: what the store holds is the session.
        if (co_await loadHoldingTurn() && alive && m_refreshToken)
            emit sessionRestored();
    }
}

QCoro::Task<std::optional<QString>> AuthSession::accessToken()
{
    auto turn = co_await takeTurn();
    // g++ 12 moves from a member named in co_return; copy explicitly.
    co_return std::optional<QString>(m_accessToken);
}

std::optional<std::optional<QString>> AuthSession::accessTokenAtRest() const
{
    if (!m_loadStarted || !m_queue.isIdle())
        return std::nullopt;
    return m_accessToken;
}

QCoro::Task<std::optional<QString>> AuthSession::refreshToken()
{
    auto turn = co_await takeTurn();
    co_return std::optional<QString>(m_refreshToken);
}

QCoro::Task<AuthSession::State> AuthSession::state()
{
    auto turn = co_await takeTurn();
    co_return m_state;
}

QCoro::Task<CredentialStoreState> AuthSession::storeTokens(QString accessToken, QString refreshToken)
{
    const QPointer<AuthSession> alive(this);
    auto turn = co_await takeTurn();
    co_await storeTokensHoldingTurn(std::move(accessToken), std::move(refreshToken));
    co_return alive ? m_credentialStoreState : CredentialStoreState::unavailable;
}

QCoro::Task<void> AuthSession::clearTokens()
{
    auto turn = co_await takeTurn();
    co_await clearTokensHoldingTurn();
}

QCoro::Task<void> AuthSession::storeTokensHoldingTurn(QString accessToken, QString refreshToken)
{
    ++m_generation;
    m_accessToken = std::move(accessToken);
    m_refreshToken = std::move(refreshToken);
    m_loadPending = false; // a stored session found later must not replace this one
    const QPointer<AuthSession> alive(this);
    co_await persistHoldingTurn();
    if (alive)
        setState(State::signedIn);
}

QCoro::Task<void> AuthSession::clearTokensHoldingTurn()
{
    ++m_generation;
    m_accessToken.reset();
    m_refreshToken.reset();
    m_loadPending = false;
    const QPointer<AuthSession> alive(this);
    co_await persistHoldingTurn();
    if (alive)
        setState(State::signedOut);
}

QCoro::Task<void> AuthSession::persistHoldingTurn()
{
    const QPointer<AuthSession> alive(this);
    // Copies: the members may change while the store works.
    const std::optional<QString> refreshToken = m_refreshToken;
    const std::optional<QString> accessToken = m_accessToken;
    // Refresh token first: an interrupted write then leaves a new refresh
    // token beside an old access token, which the next 401 repairs. After a
    // refusal the second item is not tried, so a hung store costs one guard.
    CredentialStoreState result = refreshToken ? co_await m_keychain.write(*refreshToken, refreshTokenAccount)
                                               : co_await m_keychain.deleteItem(refreshTokenAccount);
    if (alive && result == CredentialStoreState::available)
        result = accessToken ? co_await m_keychain.write(*accessToken, accessTokenAccount)
                             : co_await m_keychain.deleteItem(accessTokenAccount);
    if (!alive)
        co_return;
    m_unsaved = result != CredentialStoreState::available;
    scheduleRetry();
    setCredentialStoreState(result);
}

void AuthSession::scheduleRetry()
{
    if (m_unsaved || m_loadPending)
        m_retry.start();
    else
        m_retry.stop();
}

void AuthSession::setCredentialStoreState(CredentialStoreState state)
{
    if (m_credentialStoreState == state)
        return;
    m_credentialStoreState = state;
    emit credentialStoreStateChanged();
}

void AuthSession::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

QCoro::Task<Result<QString>> AuthSession::refreshAccessToken()
{
    return m_refreshFlight.join([this] { return performRefresh(); });
}

QCoro::Task<Result<QString>> AuthSession::performRefresh()
{
    std::optional<QString> sentToken;
    quint64 generation = 0;
    {
        auto turn = co_await takeTurn();
        sentToken = m_refreshToken;
        generation = m_generation;
    }
    if (!sentToken)
        co_return APIError::unauthorized();

    QNetworkRequest request(serviceURL(m_baseURL, QStringLiteral("auth/refresh")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    const QByteArray body =
        QJsonDocument(QJsonObject{{QStringLiteral("refreshToken"), *sentToken}}).toJson(QJsonDocument::Compact);

    HttpExchangeOptions options{m_refreshTimeout}; // named: see APIClient::perform
    // The queue is free while the exchange runs: others may read tokens or join this refresh.
    const QPointer<AuthSession> alive(this); // the exchange may outlive the session
    const HttpOutcome outcome =
        co_await exchange(m_network, request, QByteArrayLiteral("POST"), body, options);
    if (!alive)
        co_return APIError::cancelled();

    switch (outcome.failure) {
    case HttpOutcome::Failure::none:
        break;
    case HttpOutcome::Failure::notHttp:
        co_return APIError::unknown(-1);
    default:
        co_return transportPassThrough(outcome);
    }

    auto turn = co_await takeTurn();
    const bool superseded = m_generation != generation || m_refreshToken != sentToken;
    if (outcome.status == 200) {
        auto response = decodeDataEnvelope<RefreshResponse>(outcome.body);
        if (!response)
            co_return PassThroughError{PassThroughError::Origin::decoding,
                                       QStringLiteral("refresh answer is not a token pair")};
        if (superseded)
            co_return APIError::unauthorized();
        co_await storeTokensHoldingTurn(response->accessToken, response->refreshToken);
        co_return response->accessToken;
    }
    // A rejection of a token that is no longer ours must not sign out the session that replaced it.
    if (outcome.status == 401 && !superseded)
        co_await clearTokensHoldingTurn();
    co_return APIError::unauthorized();
}

} // namespace vorlie
