#include "RemoteSyncRepository.h"

#include "api/APIClient.h"

namespace vorlie {

QCoro::Task<Result<SyncSnapshot>> RemoteSyncRepository::fetchSync()
{
    APIRequest request;
    request.path = QStringLiteral("sync");
    co_return co_await m_apiClient.send<SyncSnapshot>(std::move(request));
}

} // namespace vorlie
