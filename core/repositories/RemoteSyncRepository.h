#pragma once

#include "SyncRepository.h"

namespace vorlie {

class APIClient;

class RemoteSyncRepository final : public SyncRepository {
public:
    explicit RemoteSyncRepository(const APIClient &apiClient) : m_apiClient(apiClient) {}

    QCoro::Task<Result<SyncSnapshot>> fetchSync() override;

private:
    const APIClient &m_apiClient;
};

} // namespace vorlie
