#include "ServiceState.h"

#include <QJsonDocument>
#include <QRandomGenerator>

#include <array>

namespace vorlie::fake {

namespace {

QString randomToken(QStringView prefix)
{
    std::array<quint32, 8> words{};
    QRandomGenerator::system()->fillRange(words.data(), static_cast<qsizetype>(words.size()));
    const QByteArray bytes(reinterpret_cast<const char *>(words.data()), static_cast<qsizetype>(sizeof words));
    return prefix.toString() + QString::fromLatin1(bytes.toHex());
}


QJsonObject avatar(const char *skinTone, const char *hairStyle, const char *hairColor, const char *outfit, const char *outfitColor,
                   const char *accessory, const char *expression, const char *sex)
{
    return QJsonObject{{"skinTone", skinTone}, {"hairStyle", hairStyle}, {"hairColor", hairColor}, {"outfit", outfit},
                       {"outfitColor", outfitColor}, {"accessory", accessory}, {"expression", expression}, {"sex", sex}};
}

} // namespace

ScriptedReply dataReply(const QJsonValue &data, int status)
{
    ScriptedReply reply;
    reply.status = status;
    reply.body = QJsonDocument(QJsonObject{{QStringLiteral("data"), data}}).toJson(QJsonDocument::Compact);
    return reply;
}

ScriptedReply errorReply(int status, const QString &code, const QString &message)
{
    ScriptedReply reply;
    reply.status = status;
    const QJsonObject error{{QStringLiteral("code"), code}, {QStringLiteral("message"), message}};
    reply.body = QJsonDocument(QJsonObject{{QStringLiteral("error"), error}}).toJson(QJsonDocument::Compact);
    return reply;
}

ScriptedReply badRequest(const QString &message)
{
    return errorReply(400, QStringLiteral("BAD_REQUEST"), message);
}

ScriptedReply noContent()
{
    ScriptedReply reply;
    reply.status = 204;
    return reply;
}

QString wireInstant(const QDateTime &t)
{
    return t.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

QString ServiceState::seededUserId()
{
    return QStringLiteral("01DEMOQUORRIN0000000000000");
}

Account ServiceState::seededAccount()
{
    return Account{
        QStringLiteral("quorrin@example.com"),
        QStringLiteral("vorlie-demo"),
        QJsonObject{
            {"id", seededUserId()},
            {"displayName", "Quorrin"},
            {"username", "quorrin"},
            {"avatar", avatar("warm_2", "short_2", "black", "hoodie", "navy", "none", "default", "male")},
            {"email", "quorrin@example.com"},
            {"locale", "en"},
            {"timezone", "Europe/Vienna"},
            {"notifyStatusReminder", true},
            {"notifyPartnerStatusChanged", true},
            {"notifyAutomationStatusChanged", true},
            {"createdAt", "2025-01-15T09:30:00Z"},
        },
    };
}

namespace {
Account samplePerson(const char *id, const char *name, QJsonObject avatarJson)
{
    const QString username = QString::fromLatin1(name).toLower();
    return Account{username + QStringLiteral("@example.com"), QStringLiteral("vorlie-demo"),
                   QJsonObject{{"id", id},
                               {"displayName", name},
                               {"username", username},
                               {"avatar", avatarJson},
                               {"locale", "en"},
                               {"timezone", "Europe/Vienna"},
                               {"createdAt", "2025-02-01T10:00:00Z"}}};
}
} // namespace

ServiceState::ServiceState(Clock clock)
    : m_clock(std::move(clock))
    , m_social(m_clock, [this](const QString &userId) { return m_accounts.value(userId).user; })
{
    using Access = Router::Access;
    const auto route = [this](const QByteArray &method, const QString &pattern, Access access, ScriptedReply (ServiceState::*handler)(const RouteCall &)) {
        m_router.add(method, pattern, access, [this, handler](const RouteCall &call) { return (this->*handler)(call); });
    };
    route("POST", QStringLiteral("auth/login"), Access::open, &ServiceState::login);
    route("POST", QStringLiteral("auth/register"), Access::open, &ServiceState::registerAccount);
    route("POST", QStringLiteral("auth/refresh"), Access::open, &ServiceState::refresh);
    route("POST", QStringLiteral("auth/logout"), Access::open, &ServiceState::logout);
    route("GET", QStringLiteral("me"), Access::bearer, &ServiceState::me);
    route("PATCH", QStringLiteral("me"), Access::bearer, &ServiceState::updateMe);

    m_social.addRoutes(m_router);

    // The demo's people: Quil is Quorrin's main person, Maren and Tobi are connections.
    addAccount(seededAccount());
    addAccount(samplePerson("01DEMOQUIL00000000000000000", "Quil", avatar("neutral_1", "long_1", "brown", "sweater", "pink", "earrings", "smile", "female")));
    addAccount(samplePerson("01DEMOMAREN0000000000000000", "Maren", avatar("cool_1", "bun", "red", "jacket", "green", "glasses", "grin", "female")));
    addAccount(samplePerson("01DEMOTOBI00000000000000000", "Tobi", avatar("deep_1", "buzz", "black", "tshirt", "yellow", "headphones", "default", "male")));
    m_social.seedAround(seededUserId(), QStringLiteral("01DEMOQUIL00000000000000000"),
                        {QStringLiteral("01DEMOMAREN0000000000000000"), QStringLiteral("01DEMOTOBI00000000000000000")});
}

void ServiceState::addAccount(const Account &account)
{
    m_accounts.insert(account.user.value(QStringLiteral("id")).toString(), account);
}

TokenPair ServiceState::issueTokens(const QString &userId)
{
    TokenPair pair{randomToken(u"at_"), randomToken(u"rt_")};
    m_accessTokens.insert(pair.accessToken, AccessGrant{userId, m_clock().addSecs(m_accessTokenLifetime.count())});
    m_refreshTokens.insert(pair.refreshToken, userId);
    return pair;
}

void ServiceState::expireAccessTokens()
{
    const QDateTime now = m_clock();
    for (AccessGrant &grant : m_accessTokens)
        grant.expiresAt = now;
}

void ServiceState::setAccessTokenLifetime(std::chrono::seconds lifetime)
{
    m_accessTokenLifetime = lifetime;
}

ScriptedReply ServiceState::handle(const QByteArray &method, const QString &path, const RecordedRequest &request)
{
    Router::Match match = m_router.match(method, path);
    if (!match.route) {
        if (match.pathKnown)
            return errorReply(405, QStringLiteral("METHOD_NOT_ALLOWED"), QStringLiteral("This endpoint does not take %1.").arg(QString::fromLatin1(method)));
        return errorReply(404, QStringLiteral("NOT_FOUND"), QStringLiteral("No such endpoint."));
    }

    RouteCall call{request, std::move(match.params), {}, {}};
    if (match.route->access == Router::Access::bearer) {
        auto user = authenticate(request);
        if (auto *refusal = std::get_if<ScriptedReply>(&user))
            return *refusal;
        call.userId = std::get<QString>(user);
    }
    if (!request.body.isEmpty()) {
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(request.body, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            return badRequest(QStringLiteral("The body is not a JSON object."));
        call.body = document.object();
    }
    return match.route->handler(call);
}

std::variant<QString, ScriptedReply> ServiceState::authenticate(const RecordedRequest &request) const
{
    const QByteArray header = request.headers.value("authorization");
    const auto grant = header.startsWith("Bearer ") ? m_accessTokens.constFind(QString::fromUtf8(header.mid(7))) : m_accessTokens.constEnd();
    if (grant == m_accessTokens.constEnd())
        return errorReply(401, QStringLiteral("UNAUTHORIZED"), QStringLiteral("Sign in first."));
    if (grant->expiresAt <= m_clock())
        return errorReply(401, QStringLiteral("TOKEN_EXPIRED"), QStringLiteral("The access token has expired."));
    if (!m_accounts.contains(grant->userId))
        return errorReply(401, QStringLiteral("UNAUTHORIZED"), QStringLiteral("The account no longer exists."));
    return grant->userId;
}

Account *ServiceState::accountByEmail(const QString &email)
{
    for (Account &account : m_accounts) {
        if (account.email.compare(email, Qt::CaseInsensitive) == 0)
            return &account;
    }
    return nullptr;
}

ScriptedReply ServiceState::signedIn(const Account &account, bool isNewUser)
{
    const TokenPair tokens = issueTokens(account.user.value(QStringLiteral("id")).toString());
    return dataReply(QJsonObject{{"accessToken", tokens.accessToken},
                                 {"refreshToken", tokens.refreshToken},
                                 {"user", account.user},
                                 {"isNewUser", isNewUser}});
}

ScriptedReply ServiceState::login(const RouteCall &call)
{
    const QJsonValue email = call.body.value(QStringLiteral("email"));
    const QJsonValue password = call.body.value(QStringLiteral("password"));
    if (!email.isString() || !password.isString())
        return badRequest(QStringLiteral("E-mail and password are required."));
    const Account *account = accountByEmail(email.toString());
    if (!account)
        return errorReply(404, QStringLiteral("USER_NOT_FOUND"), QStringLiteral("There is no account with this e-mail address."));
    if (account->password != password.toString())
        return errorReply(401, QStringLiteral("INVALID_CREDENTIALS"), QStringLiteral("E-mail or password is wrong."));
    return signedIn(*account, false);
}

ScriptedReply ServiceState::registerAccount(const RouteCall &call)
{
    const QString email = call.body.value(QStringLiteral("email")).toString();
    const QString password = call.body.value(QStringLiteral("password")).toString();
    if (!email.contains(u'@') || password.size() < 8)
        return badRequest(QStringLiteral("A valid e-mail address and a password of at least 8 characters are required."));
    if (accountByEmail(email))
        return errorReply(409, QStringLiteral("EMAIL_TAKEN"), QStringLiteral("An account with this e-mail address exists."));

    const QString id = QStringLiteral("01NEWUSER%1").arg(++m_registered, 17, 10, QChar(u'0'));
    const QJsonValue givenName = call.body.value(QStringLiteral("displayName"));
    Account account{email, password,
                    QJsonObject{
                        {"id", id},
                        {"displayName", givenName.isString() ? givenName.toString() : email.section(u'@', 0, 0)},
                        {"avatar", avatar("neutral_1", "curly", "brown", "tshirt", "green", "none", "smile", "none")},
                        {"email", email},
                        {"notifyStatusReminder", true},
                        {"notifyPartnerStatusChanged", true},
                        {"notifyAutomationStatusChanged", true},
                        {"createdAt", wireInstant(m_clock())},
                    }};
    addAccount(account);
    return signedIn(account, true);
}

ScriptedReply ServiceState::refresh(const RouteCall &call)
{
    const QString token = call.body.value(QStringLiteral("refreshToken")).toString();
    if (!m_refreshTokens.contains(token))
        return errorReply(401, QStringLiteral("INVALID_REFRESH_TOKEN"), QStringLiteral("The refresh token is not valid."));
    const QString userId = m_refreshTokens.take(token); // rotation: a refresh token works once
    const TokenPair tokens = issueTokens(userId);
    return dataReply(QJsonObject{{"accessToken", tokens.accessToken}, {"refreshToken", tokens.refreshToken}});
}

ScriptedReply ServiceState::logout(const RouteCall &call)
{
    const QJsonValue token = call.body.value(QStringLiteral("refreshToken"));
    if (!token.isString())
        return badRequest(QStringLiteral("The refresh token is required."));
    m_refreshTokens.remove(token.toString());
    return noContent();
}

ScriptedReply ServiceState::me(const RouteCall &call)
{
    return dataReply(m_accounts.value(call.userId).user);
}

ScriptedReply ServiceState::updateMe(const RouteCall &call)
{
    static const QStringList textFields{"displayName", "username", "locale", "timezone"};
    static const QStringList flagFields{"notifyStatusReminder", "notifyPartnerStatusChanged", "notifyAutomationStatusChanged"};
    for (auto it = call.body.constBegin(); it != call.body.constEnd(); ++it) {
        const bool valid = (textFields.contains(it.key()) && it->isString()) || (flagFields.contains(it.key()) && it->isBool())
                           || (it.key() == u"avatar" && it->isObject());
        if (!valid)
            return badRequest(QStringLiteral("Unknown or malformed field \"%1\".").arg(it.key()));
    }
    QJsonObject &user = m_accounts[call.userId].user;
    for (auto it = call.body.constBegin(); it != call.body.constEnd(); ++it)
        user.insert(it.key(), *it);
    return dataReply(user);
}

} // namespace vorlie::fake
