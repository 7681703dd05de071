#include "RemoteStatusRepository.h"

#include "api/APIClient.h"

#include <algorithm>

namespace vorlie {

namespace {
using namespace Qt::StringLiterals;

struct SetStatusRequestBody {
    QString statusKey;
    std::optional<QString> customText;
    StatusSource source;
};
} // namespace

template<>
struct JsonCodec<SetStatusRequestBody> {
    static QJsonValue encode(const SetStatusRequestBody &body)
    {
        QJsonObject o;
        json::write(o, "statusKey"_L1, body.statusKey);
        json::writeOptional(o, "customText"_L1, body.customText);
        json::write(o, "source"_L1, body.source);
        return o;
    }
};

bool isPlainStatusKey(const QString &key)
{
    if (key.isEmpty() || key.size() > 64)
        return false;
    return std::all_of(key.cbegin(), key.cend(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
    });
}

QCoro::Task<Result<std::vector<StatusCatalogItem>>> RemoteStatusRepository::fetchCatalog()
{
    APIRequest request;
    request.path = QStringLiteral("status/catalog");
    co_return co_await m_apiClient.send<std::vector<StatusCatalogItem>>(std::move(request));
}

QCoro::Task<Result<void>> RemoteStatusRepository::addFavorite(QString statusKey)
{
    co_return co_await sendFavorite(HTTPMethod::post, std::move(statusKey));
}

QCoro::Task<Result<void>> RemoteStatusRepository::removeFavorite(QString statusKey)
{
    co_return co_await sendFavorite(HTTPMethod::delete_, std::move(statusKey));
}

QCoro::Task<Result<void>> RemoteStatusRepository::sendFavorite(HTTPMethod method, QString statusKey)
{
    if (!isPlainStatusKey(statusKey))
        co_return PassThroughError{PassThroughError::Origin::encoding, QStringLiteral("status key is not a plain identifier")};
    APIRequest request;
    request.method = method;
    request.path = QStringLiteral("status/favorites/") + statusKey;
    co_return co_await m_apiClient.sendVoid(std::move(request));
}

QCoro::Task<Result<Status>> RemoteStatusRepository::setStatus(QString statusKey, std::optional<QString> customText,
                                                              StatusSource source)
{
    APIRequest request;
    request.method = HTTPMethod::put;
    request.path = QStringLiteral("status/me");
    request.body = AnyEncodable(SetStatusRequestBody{std::move(statusKey), std::move(customText), source});
    co_return co_await m_apiClient.send<Status>(std::move(request));
}

} // namespace vorlie
