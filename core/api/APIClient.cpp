#include "APIClient.h"

#include "HttpExchange.h"
#include "ServiceURL.h"
#include "TransportErrors.h"
#include "session/AuthSession.h"

#include <QStringBuilder>

namespace vorlie {

APIClient::APIClient(QUrl baseURL, AuthSession &authSession, QNetworkAccessManager &network,
                     std::chrono::milliseconds timeout)
    : m_baseURL(std::move(baseURL))
    , m_authSession(authSession)
    , m_network(network)
    , m_timeout(timeout)
{
    prepareForExchange(m_requestTemplate);
    m_requestTemplate.setRawHeader(QByteArrayLiteral("Content-Type"), QByteArrayLiteral("application/json"));
}

Result<APIClient::PreparedRequest> APIClient::prepare(const APIRequest &request,
                                                     const std::optional<QString> &accessToken) const
{
    const QUrl url = serviceURL(m_baseURL, request.path, request.query);
    if (!url.isValid() || url.isEmpty())
        return APIError::unknown(-1);

    PreparedRequest prepared{m_requestTemplate, wireText(request.method), std::nullopt};
    prepared.request.setUrl(url);
    if (accessToken)
        prepared.request.setRawHeader(QByteArrayLiteral("Authorization"), QByteArrayLiteral("Bearer ") % accessToken->toUtf8());

    if (request.body) {
        Result<QByteArray> encoded = request.body->encode();
        if (!encoded)
            return encoded.error();
        prepared.body = std::move(*encoded);
    }
    return prepared;
}

QCoro::Task<Result<QByteArray>> APIClient::perform(APIRequest request, bool allowRetry, CancelToken cancel) const
{
    if (cancel.isCancelled())
        co_return APIError::cancelled();

    std::optional<QString> accessToken;
    if (request.requiresAuth) {
        // Mostly nothing is changing the tokens, and reading needs no turn.
        if (std::optional<std::optional<QString>> atRest = m_authSession.accessTokenAtRest())
            accessToken = std::move(*atRest);
        else
            accessToken = co_await m_authSession.accessToken();
        if (!accessToken)
            co_return APIError::unauthorized();
    }
    Result<PreparedRequest> prepared = prepare(request, accessToken);
    if (!prepared)
        co_return prepared.error();

    // Named, not braced in the call: g++ 12 destroys a braced aggregate argument
    // of a co_awaited call twice.
    HttpExchangeOptions options{m_timeout};
    options.cancel = cancel;
    const HttpOutcome outcome =
        co_await exchange(m_network, prepared->request, prepared->verb, prepared->body, options);
    if (outcome.failure != HttpOutcome::Failure::none)
        co_return transportFailure(outcome);

    if (outcome.status == 401 && request.requiresAuth && allowRetry) {
        Result<QString> refreshed = co_await m_authSession.refreshAccessToken();
        if (!refreshed)
            co_return refreshed.error();
        // Rebuilt, so it carries the new token; sent exactly once more.
        co_return co_await perform(std::move(request), false, std::move(cancel));
    }

    if (std::optional<APIError> error = validate(outcome.status, outcome.body))
        co_return *error;
    co_return outcome.body;
}

QCoro::Task<Result<void>> APIClient::sendVoid(APIRequest request, CancelToken cancel) const
{
    Result<QByteArray> body = co_await perform(std::move(request), true, std::move(cancel));
    if (!body)
        co_return body.error();
    co_return Result<void>();
}

std::optional<APIError> validate(int status, const QByteArray &body)
{
    if (status >= 200 && status <= 299)
        return std::nullopt;
    const std::optional<ErrorEnvelope> envelope = decodeErrorEnvelope(body);
    if (!envelope)
        return APIError::unknown(status);
    if (status == 429)
        return APIError::rateLimited();
    if (status == 401)
        return APIError::unauthorized();
    return APIError::server(envelope->code, envelope->message, status);
}

} // namespace vorlie
