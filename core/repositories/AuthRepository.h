#pragma once

#include "api/Result.h"
#include "domain/User.h"

#include <QString>
#include <QCoro/QCoroTask>
#include <optional>

namespace vorlie {

class AuthRepository {
public:
    virtual ~AuthRepository() = default;

    // `register` is a reserved word in C++, hence the longer name.
    virtual QCoro::Task<Result<User>> registerAccount(QString email, QString password, std::optional<QString> displayName,
                                                      std::optional<QString> deviceId) = 0;
    virtual QCoro::Task<Result<User>> login(QString email, QString password, std::optional<QString> deviceId) = 0;
    // Always ends signed out locally, whatever the service answers.
    virtual QCoro::Task<void> logout() = 0;
};

} // namespace vorlie
