#pragma once

#include "APIRequest.h"
#include "CancelToken.h"
#include "Envelope.h"
#include "Result.h"

#include <QByteArray>
#include <QNetworkRequest>
#include <QUrl>
#include <QCoro/QCoroTask>
#include <chrono>

class QNetworkAccessManager;

namespace vorlie {

class AuthSession;

// The one way to the service: builds requests, attaches the bearer token,
// classifies failures, refreshes the token once on a 401 and repeats the
// request once, and unwraps {"data": …}. Holds no mutable state.
class APIClient {
public:
    static constexpr std::chrono::milliseconds defaultTimeout{15'000};

    APIClient(QUrl baseURL, AuthSession &authSession, QNetworkAccessManager &network,
              std::chrono::milliseconds timeout = defaultTimeout);

    // The envelope's data decoded as T; an undecodable success body is `decoding`.
    template<typename T>
    QCoro::Task<Result<T>> send(APIRequest request, CancelToken cancel = {}) const
    {
        Result<QByteArray> body = co_await perform(std::move(request), true, std::move(cancel));
        if (!body)
            co_return body.error();
        std::optional<T> data = decodeDataEnvelope<T>(*body);
        if (!data)
            co_return APIError::decoding();
        co_return std::move(*data);
    }

    // Any 2xx answer is success; the body is not read.
    QCoro::Task<Result<void>> sendVoid(APIRequest request, CancelToken cancel = {}) const;

    const QUrl &baseURL() const { return m_baseURL; }

private:
    struct PreparedRequest {
        QNetworkRequest request;
        QByteArray verb;
        std::optional<QByteArray> body;
    };
    // The request as sent: its URL, the bearer token when there is one, the body encoded.
    Result<PreparedRequest> prepare(const APIRequest &request, const std::optional<QString> &accessToken) const;
    QCoro::Task<Result<QByteArray>> perform(APIRequest request, bool allowRetry, CancelToken cancel) const;

    const QUrl m_baseURL;
    AuthSession &m_authSession;
    QNetworkAccessManager &m_network;
    const std::chrono::milliseconds m_timeout;
    // What every request shares, set once: the headers and how it is sent.
    QNetworkRequest m_requestTemplate;
};

// The error an HTTP answer stands for, or none for a 2xx status. 401 and 429
// count only with a well-formed error envelope.
std::optional<APIError> validate(int status, const QByteArray &body);

} // namespace vorlie
