#pragma once

#include "AccountRecords.h"
#include "api/Result.h"

#include <QCoro/QCoroTask>

namespace vorlie {

class ProfileRepository {
public:
    virtual ~ProfileRepository() = default;

    // Gives the profile as the service now has it.
    virtual QCoro::Task<Result<User>> updateMe(UpdateMeRequestBody changes) = 0;
};

} // namespace vorlie
