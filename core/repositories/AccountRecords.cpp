#include "AccountRecords.h"

namespace vorlie {

using namespace Qt::StringLiterals;

QJsonValue JsonCodec<EmailRegisterRequestBody>::encode(const EmailRegisterRequestBody &body)
{
    QJsonObject o;
    json::write(o, "email"_L1, body.email);
    json::write(o, "password"_L1, body.password);
    json::writeOptional(o, "displayName"_L1, body.displayName);
    json::writeOptional(o, "deviceId"_L1, body.deviceId);
    return o;
}

QJsonValue JsonCodec<EmailLoginRequestBody>::encode(const EmailLoginRequestBody &body)
{
    QJsonObject o;
    json::write(o, "email"_L1, body.email);
    json::write(o, "password"_L1, body.password);
    json::writeOptional(o, "deviceId"_L1, body.deviceId);
    return o;
}

QJsonValue JsonCodec<RegisterDeviceRequestBody>::encode(const RegisterDeviceRequestBody &body)
{
    QJsonObject o;
    json::write(o, "platform"_L1, body.platform);
    json::writeOptional(o, "pushToken"_L1, body.pushToken);
    json::writeOptional(o, "appVersion"_L1, body.appVersion);
    json::writeOptional(o, "osVersion"_L1, body.osVersion);
    json::writeOptional(o, "locale"_L1, body.locale);
    json::writeOptional(o, "timezone"_L1, body.timezone);
    json::writeOptional(o, "deviceId"_L1, body.deviceId);
    return o;
}

QJsonValue JsonCodec<UpdateMeRequestBody>::encode(const UpdateMeRequestBody &body)
{
    QJsonObject o;
    json::writeOptional(o, "displayName"_L1, body.displayName);
    json::writeOptional(o, "username"_L1, body.username);
    json::writeOptional(o, "avatar"_L1, body.avatar);
    json::writeOptional(o, "locale"_L1, body.locale);
    json::writeOptional(o, "timezone"_L1, body.timezone);
    json::writeOptional(o, "notifyStatusReminder"_L1, body.notifyStatusReminder);
    json::writeOptional(o, "notifyPartnerStatusChanged"_L1, body.notifyPartnerStatusChanged);
    json::writeOptional(o, "notifyAutomationStatusChanged"_L1, body.notifyAutomationStatusChanged);
    return o;
}

std::optional<AuthResponseDTO> JsonCodec<AuthResponseDTO>::decode(JsonView o)
{
    if (!o.isObject())
        return std::nullopt;
    AuthResponseDTO dto;
    if (!json::readRequired(o, "accessToken"_L1, dto.accessToken) || !json::readRequired(o, "refreshToken"_L1, dto.refreshToken)
        || !json::readRequired(o, "user"_L1, dto.user) || !json::readOptional(o, "isNewUser"_L1, dto.isNewUser))
        return std::nullopt;
    return dto;
}

std::optional<RegisterDeviceResponseDTO> JsonCodec<RegisterDeviceResponseDTO>::decode(JsonView value)
{
    if (!value.isObject())
        return std::nullopt;
    RegisterDeviceResponseDTO dto;
    if (!json::readRequired(value, "deviceId"_L1, dto.deviceId))
        return std::nullopt;
    return dto;
}

} // namespace vorlie
