#pragma once

#include "AnnouncementRepository.h"

namespace vorlie {

class APIClient;

class RemoteAnnouncementRepository final : public AnnouncementRepository {
public:
    explicit RemoteAnnouncementRepository(const APIClient &apiClient) : m_apiClient(apiClient) {}

    QCoro::Task<Result<std::vector<Announcement>>> fetchAnnouncements() override;

private:
    const APIClient &m_apiClient;
};

} // namespace vorlie
