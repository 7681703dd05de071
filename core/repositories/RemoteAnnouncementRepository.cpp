#include "RemoteAnnouncementRepository.h"

#include "api/APIClient.h"

namespace vorlie {

QCoro::Task<Result<std::vector<Announcement>>> RemoteAnnouncementRepository::fetchAnnouncements()
{
    APIRequest request;
    request.path = QStringLiteral("announcements");
    co_return co_await m_apiClient.send<std::vector<Announcement>>(std::move(request));
}

} // namespace vorlie
