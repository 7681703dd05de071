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
    static std::optional<RefreshResponse> decode(const QJsonValue &value)
    {
        RefreshResponse response;
        if (!value.isObject() || !json::readRequired(value.toObject(), QLatin1StringView("accessToken"), response.accessToken)
            || !json::readRequired(value.toObject(), QLatin1StringView("refreshToken"), response.refreshToken))
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
    // Enters the queue synchronously, so it is first in line.
    QCoro::connect(load(), this, [] {});
}

AuthSession::~AuthSession() = default;

QCoro::Task<void> AuthSession::load()
{
    // Runs detached from the constructor: the session may be gone when a read returns.
    const QPointer<AuthSession> alive(this);
    auto turn = co_await m_queue.enter();
    std::optional<QString> accessToken = co_await m_keychain.read(accessTokenAccount);
    if (!alive)
        co_return;
    std::optional<QString> refreshToken = co_await m_keychain.read(refreshTokenAccount);
    if (!alive)
        co_return;
    m_accessToken = std::move(accessToken);
    m_refreshToken = std::move(refreshToken);
    // An access token alone does not make a session.
    setState(m_refreshToken ? State::signedIn : State::signedOut);
}

QCoro::Task<std::optional<QString>> AuthSession::accessToken()
{
    auto turn = co_await m_queue.enter();
    // g++ 12 moves from a member named in co_return; copy explicitly.
    co_return std::optional<QString>(m_accessToken);
}

QCoro::Task<std::optional<QString>> AuthSession::refreshToken()
{
    auto turn = co_await m_queue.enter();
    co_return std::optional<QString>(m_refreshToken);
}

QCoro::Task<AuthSession::State> AuthSession::state()
{
    auto turn = co_await m_queue.enter();
    co_return m_state;
}

QCoro::Task<void> AuthSession::storeTokens(QString accessToken, QString refreshToken)
{
    auto turn = co_await m_queue.enter();
    co_await storeTokensHoldingTurn(std::move(accessToken), std::move(refreshToken));
}

QCoro::Task<void> AuthSession::clearTokens()
{
    auto turn = co_await m_queue.enter();
    co_await clearTokensHoldingTurn();
}

QCoro::Task<void> AuthSession::storeTokensHoldingTurn(QString accessToken, QString refreshToken)
{
    ++m_generation;
    m_accessToken = accessToken;
    m_refreshToken = refreshToken;
    // Refresh token first: an interrupted write then leaves a new refresh
    // token beside an old access token, which the next 401 repairs.
    co_await m_keychain.write(std::move(refreshToken), refreshTokenAccount);
    co_await m_keychain.write(std::move(accessToken), accessTokenAccount);
    setState(State::signedIn);
}

QCoro::Task<void> AuthSession::clearTokensHoldingTurn()
{
    ++m_generation;
    m_accessToken.reset();
    m_refreshToken.reset();
    co_await m_keychain.deleteItem(accessTokenAccount);
    co_await m_keychain.deleteItem(refreshTokenAccount);
    setState(State::signedOut);
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
        auto turn = co_await m_queue.enter();
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
        co_await exchange(m_network, request, QByteArrayLiteral("POST"), body, std::move(options));
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

    auto turn = co_await m_queue.enter();
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
