#pragma once

#include "api/Result.h"
#include "domain/Announcement.h"

#include <QCoro/QCoroTask>
#include <vector>

namespace vorlie {

class AnnouncementRepository {
public:
    virtual ~AnnouncementRepository() = default;

    virtual QCoro::Task<Result<std::vector<Announcement>>> fetchAnnouncements() = 0;
};

} // namespace vorlie
