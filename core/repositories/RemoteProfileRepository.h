#pragma once

#include "ProfileRepository.h"

namespace vorlie {

class APIClient;

class RemoteProfileRepository final : public ProfileRepository {
public:
    explicit RemoteProfileRepository(const APIClient &apiClient) : m_apiClient(apiClient) {}

    QCoro::Task<Result<User>> updateMe(UpdateMeRequestBody changes) override;

private:
    const APIClient &m_apiClient;
};

} // namespace vorlie
