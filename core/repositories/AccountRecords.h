#pragma once

#include "domain/AvatarConfiguration.h"
#include "domain/User.h"
#include "json/JsonCodec.h"

#include <QString>
#include <optional>

namespace vorlie {

struct EmailRegisterRequestBody {
    QString email;
    QString password;
    std::optional<QString> displayName;
    std::optional<QString> deviceId;
};

struct EmailLoginRequestBody {
    QString email;
    QString password;
    std::optional<QString> deviceId;
};

struct RegisterDeviceRequestBody {
    QString platform;
    std::optional<QString> pushToken;
    std::optional<QString> appVersion;
    std::optional<QString> osVersion;
    std::optional<QString> locale;
    std::optional<QString> timezone;
    std::optional<QString> deviceId;
};

// Only the fields given are written, so the service changes only those.
struct UpdateMeRequestBody {
    std::optional<QString> displayName;
    std::optional<QString> username;
    std::optional<AvatarConfiguration> avatar;
    std::optional<QString> locale;
    std::optional<QString> timezone;
    std::optional<bool> notifyStatusReminder;
    std::optional<bool> notifyPartnerStatusChanged;
    std::optional<bool> notifyAutomationStatusChanged;
};

struct AuthResponseDTO {
    QString accessToken;
    QString refreshToken;
    User user;
    std::optional<bool> isNewUser;
};

struct RegisterDeviceResponseDTO {
    QString deviceId;
};

template<>
struct JsonCodec<EmailRegisterRequestBody> {
    static QJsonValue encode(const EmailRegisterRequestBody &body);
};

template<>
struct JsonCodec<EmailLoginRequestBody> {
    static QJsonValue encode(const EmailLoginRequestBody &body);
};

template<>
struct JsonCodec<RegisterDeviceRequestBody> {
    static QJsonValue encode(const RegisterDeviceRequestBody &body);
};

template<>
struct JsonCodec<UpdateMeRequestBody> {
    static QJsonValue encode(const UpdateMeRequestBody &body);
};

template<>
struct JsonCodec<AuthResponseDTO> {
    static std::optional<AuthResponseDTO> decode(JsonView value);
};

template<>
struct JsonCodec<RegisterDeviceResponseDTO> {
    static std::optional<RegisterDeviceResponseDTO> decode(JsonView value);
};

} // namespace vorlie
