#pragma once

#include "StatusRepository.h"
#include "api/HTTPMethod.h"

namespace vorlie {

class APIClient;

class RemoteStatusRepository final : public StatusRepository {
public:
    explicit RemoteStatusRepository(const APIClient &apiClient) : m_apiClient(apiClient) {}

    QCoro::Task<Result<std::vector<StatusCatalogItem>>> fetchCatalog() override;
    QCoro::Task<Result<void>> addFavorite(QString statusKey) override;
    QCoro::Task<Result<void>> removeFavorite(QString statusKey) override;
    QCoro::Task<Result<Status>> setStatus(QString statusKey, std::optional<QString> customText, StatusSource source) override;

private:
    QCoro::Task<Result<void>> sendFavorite(HTTPMethod method, QString statusKey);

    const APIClient &m_apiClient;
};

// A key becomes a path segment, so only plain identifiers may pass: "/", "..",
// "?" or "%" would point the request somewhere else.
bool isPlainStatusKey(const QString &key);

} // namespace vorlie
