#include "InstanceRequest.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <utility>

namespace vorlie {
namespace {

using namespace Qt::StringLiterals;

constexpr qsizetype maxTokenLength = 256;

constexpr std::array<std::pair<InstanceRequest::Kind, const char *>, 3> kindNames{{
    {InstanceRequest::Kind::activate, "activate"},
    {InstanceRequest::Kind::home, "home"},
    {InstanceRequest::Kind::statusPicker, "status"},
}};

} // namespace

QByteArray encodeInstanceRequest(const InstanceRequest &request)
{
    const auto named = std::find_if(kindNames.begin(), kindNames.end(), [&](const auto &entry) { return entry.first == request.kind; });
    const QJsonObject object{{"request"_L1, QLatin1String(named->second)}, {"token"_L1, request.activationToken}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<InstanceRequest> decodeInstanceRequest(const QByteArray &line)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue request = object.value("request"_L1);
    const QJsonValue token = object.value("token"_L1);
    if (object.size() != 2 || !request.isString() || !token.isString())
        return std::nullopt;
    const auto named = std::find_if(kindNames.begin(), kindNames.end(),
                                    [&](const auto &entry) { return request.toString() == QLatin1String(entry.second); });
    if (named == kindNames.end())
        return std::nullopt;
    const QString tokenText = token.toString();
    if (!tokenText.isEmpty() && !isUsableActivationToken(tokenText))
        return std::nullopt;
    return InstanceRequest{named->first, tokenText};
}

bool isUsableActivationToken(const QString &token)
{
    return !token.isEmpty() && token.size() <= maxTokenLength && std::all_of(token.begin(), token.end(), [](QChar c) {
        return c.unicode() > 0x20 && c.unicode() < 0x7f && c != u'"' && c != u'\\';
    });
}

QString launchActivationToken()
{
    for (const char *variable : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        QString token = qEnvironmentVariable(variable);
        if (isUsableActivationToken(token))
            return token;
    }
    return {};
}

} // namespace vorlie
