#pragma once

#include "AuthRepository.h"
#include "api/APIRequest.h"

namespace vorlie {

class APIClient;
class AuthSession;

class RemoteAuthRepository final : public AuthRepository {
public:
    RemoteAuthRepository(const APIClient &apiClient, AuthSession &authSession);

    QCoro::Task<Result<User>> registerAccount(QString email, QString password, std::optional<QString> displayName,
                                              std::optional<QString> deviceId) override;
    QCoro::Task<Result<User>> login(QString email, QString password, std::optional<QString> deviceId) override;
    QCoro::Task<void> logout() override;

private:
    QCoro::Task<Result<User>> signIn(APIRequest request);

    const APIClient &m_apiClient;
    AuthSession &m_authSession;
};

} // namespace vorlie
