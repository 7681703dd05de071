#include "RemoteAuthRepository.h"

#include "AccountRecords.h"
#include "api/APIClient.h"
#include "session/AuthSession.h"

namespace vorlie {

RemoteAuthRepository::RemoteAuthRepository(const APIClient &apiClient, AuthSession &authSession)
    : m_apiClient(apiClient)
    , m_authSession(authSession)
{
}

QCoro::Task<Result<User>> RemoteAuthRepository::registerAccount(QString email, QString password,
                                                                std::optional<QString> displayName,
                                                                std::optional<QString> deviceId)
{
    APIRequest request;
    request.method = HTTPMethod::post;
    request.path = QStringLiteral("auth/register");
    request.body = AnyEncodable(EmailRegisterRequestBody{std::move(email), std::move(password), std::move(displayName), std::move(deviceId)});
    request.requiresAuth = false;
    co_return co_await signIn(std::move(request));
}

QCoro::Task<Result<User>> RemoteAuthRepository::login(QString email, QString password, std::optional<QString> deviceId)
{
    APIRequest request;
    request.method = HTTPMethod::post;
    request.path = QStringLiteral("auth/login");
    request.body = AnyEncodable(EmailLoginRequestBody{std::move(email), std::move(password), std::move(deviceId)});
    request.requiresAuth = false;
    co_return co_await signIn(std::move(request));
}

// The tokens are stored before the caller continues, so whatever it does next
// already runs signed in.
QCoro::Task<Result<User>> RemoteAuthRepository::signIn(APIRequest request)
{
    Result<AuthResponseDTO> response = co_await m_apiClient.send<AuthResponseDTO>(std::move(request));
    if (!response)
        co_return response.error();
    co_await m_authSession.storeTokens(response->accessToken, response->refreshToken);
    co_return std::move(response->user);
}

QCoro::Task<void> RemoteAuthRepository::logout()
{
    if (const std::optional<QString> refreshToken = co_await m_authSession.refreshToken()) {
        APIRequest request;
        request.method = HTTPMethod::post;
        request.path = QStringLiteral("auth/logout");
        request.body = AnyEncodable(QJsonObject{{QStringLiteral("refreshToken"), *refreshToken}});
        request.requiresAuth = false;
        // The local sign-out happens whatever the service says.
        [[maybe_unused]] const Result<void> ignored = co_await m_apiClient.sendVoid(std::move(request));
    }
    co_await m_authSession.clearTokens();
}

} // namespace vorlie
