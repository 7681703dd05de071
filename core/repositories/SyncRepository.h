#pragma once

#include "api/Result.h"
#include "sync/SyncSnapshot.h"

#include <QCoro/QCoroTask>

namespace vorlie {

class SyncRepository {
public:
    virtual ~SyncRepository() = default;

    virtual QCoro::Task<Result<SyncSnapshot>> fetchSync() = 0;
};

} // namespace vorlie
