#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>
#include <optional>

namespace vorlie {

enum class PushNotificationKind { partnerStatusChanged, reactionReceived, connectionRequested, connectionAccepted, statusReminder };

// The raw "type" values, matched exactly (case-sensitive).
std::optional<PushNotificationKind> pushNotificationKind(const QString &raw);

// What a notification's user information says: only a known "type" makes a
// payload; the ids are taken when they are texts and dropped otherwise.
struct PushNotificationPayload {
    PushNotificationKind kind;
    std::optional<QString> personId;
    std::optional<QString> statusId;
    std::optional<QString> connectionId;

    static std::optional<PushNotificationPayload> fromUserInfo(const QVariantMap &userInfo);

    friend bool operator==(const PushNotificationPayload &, const PushNotificationPayload &) = default;
};

// The texts a message carries for the desktop to show as they are, whatever
// its type: its "title" and "body", each empty when missing or not text.
struct PushAlert {
    QString title;
    QString body;

    static PushAlert fromUserInfo(const QVariantMap &userInfo);
    bool isEmpty() const { return title.isEmpty() && body.isEmpty(); }
};

// A device token as the service receives it: two lower-case hex digits per byte.
QString deviceTokenText(const QByteArray &token);

} // namespace vorlie
