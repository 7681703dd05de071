#include "PushNotificationPayload.h"

#include <array>
#include <utility>

namespace vorlie {

namespace {

constexpr std::array<std::pair<PushNotificationKind, const char *>, 5> kinds{{
    {PushNotificationKind::partnerStatusChanged, "partner_status_changed"},
    {PushNotificationKind::reactionReceived, "reaction_received"},
    {PushNotificationKind::connectionRequested, "connection_requested"},
    {PushNotificationKind::connectionAccepted, "connection_accepted"},
    {PushNotificationKind::statusReminder, "status_reminder"},
}};

// A value of another type counts as absent; QVariant would convert it silently.
std::optional<QString> text(const QVariantMap &userInfo, const char *key)
{
    const QVariant value = userInfo.value(QString::fromLatin1(key));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

} // namespace

std::optional<PushNotificationKind> pushNotificationKind(const QString &raw)
{
    for (const auto &[kind, name] : kinds) {
        if (raw == QLatin1StringView(name))
            return kind;
    }
    return std::nullopt;
}

std::optional<PushNotificationPayload> PushNotificationPayload::fromUserInfo(const QVariantMap &userInfo)
{
    const std::optional<QString> type = text(userInfo, "type");
    if (!type)
        return std::nullopt;
    const std::optional<PushNotificationKind> kind = pushNotificationKind(*type);
    if (!kind)
        return std::nullopt;
    return PushNotificationPayload{*kind, text(userInfo, "personId"), text(userInfo, "statusId"), text(userInfo, "connectionId")};
}

PushAlert PushAlert::fromUserInfo(const QVariantMap &userInfo)
{
    return PushAlert{text(userInfo, "title").value_or(QString()), text(userInfo, "body").value_or(QString())};
}

QString deviceTokenText(const QByteArray &token)
{
    return QString::fromLatin1(token.toHex());
}

} // namespace vorlie
