#pragma once

#include "api/Result.h"
#include "domain/Status.h"
#include "domain/StatusCatalog.h"

#include <QString>
#include <QCoro/QCoroTask>
#include <optional>
#include <vector>

namespace vorlie {

class StatusRepository {
public:
    virtual ~StatusRepository() = default;

    virtual QCoro::Task<Result<std::vector<StatusCatalogItem>>> fetchCatalog() = 0;
    virtual QCoro::Task<Result<void>> addFavorite(QString statusKey) = 0;
    virtual QCoro::Task<Result<void>> removeFavorite(QString statusKey) = 0;
    // Gives the status the service stored.
    virtual QCoro::Task<Result<Status>> setStatus(QString statusKey, std::optional<QString> customText, StatusSource source) = 0;
};

} // namespace vorlie
