#pragma once

#include "Router.h"
#include "SocialState.h"
#include "ScriptedReply.h"

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>
#include <variant>

namespace vorlie::fake {

struct TokenPair {
    QString accessToken;
    QString refreshToken;
};

struct Account {
    QString email;
    QString password;
    QJsonObject user; // the user record as the service sends it; its "id" identifies the account
};

// The built-in behaviour of the fake service: accounts, tokens and the
// endpoints below the API prefix. Not thread-safe; FakeService serialises
// every call. New endpoints are one more route in the constructor.
class ServiceState {
public:
    using Clock = std::function<QDateTime()>;

    explicit ServiceState(Clock clock = &QDateTime::currentDateTimeUtc);
    // Routes point back at this object.
    ServiceState(const ServiceState &) = delete;
    ServiceState &operator=(const ServiceState &) = delete;

    static QString seededUserId();
    static Account seededAccount();

    // `path` is below "/api/v1/", still percent-encoded.
    ScriptedReply handle(const QByteArray &method, const QString &path, const RecordedRequest &request);

    void addAccount(const Account &account);
    TokenPair issueTokens(const QString &userId);
    void expireAccessTokens();
    void setAccessTokenLifetime(std::chrono::seconds lifetime);
    void setPushSender(SocialState::PushSender sender) { m_social.setPushSender(std::move(sender)); }

private:
    struct AccessGrant {
        QString userId;
        QDateTime expiresAt;
    };

    ScriptedReply login(const RouteCall &call);
    ScriptedReply registerAccount(const RouteCall &call);
    ScriptedReply refresh(const RouteCall &call);
    ScriptedReply logout(const RouteCall &call);
    ScriptedReply me(const RouteCall &call);
    ScriptedReply updateMe(const RouteCall &call);

    // The bearer's user id, or the 401 answer to give instead.
    std::variant<QString, ScriptedReply> authenticate(const RecordedRequest &request) const;
    ScriptedReply signedIn(const Account &account, bool isNewUser);
    Account *accountByEmail(const QString &email);

    Clock m_clock;
    Router m_router;
    QHash<QString, Account> m_accounts; // by user id
    QHash<QString, AccessGrant> m_accessTokens;
    QHash<QString, QString> m_refreshTokens; // token → user id
    std::chrono::seconds m_accessTokenLifetime{15 * 60};
    int m_registered = 0;
    SocialState m_social;
};

// The service's two envelopes.
ScriptedReply dataReply(const QJsonValue &data, int status = 200);
ScriptedReply errorReply(int status, const QString &code, const QString &message);
ScriptedReply badRequest(const QString &message);
ScriptedReply noContent();
// Whole seconds with "Z", the only instant form clients accept.
QString wireInstant(const QDateTime &t);

} // namespace vorlie::fake
