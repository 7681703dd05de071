#include "RemoteProfileRepository.h"

#include "api/APIClient.h"

namespace vorlie {

QCoro::Task<Result<User>> RemoteProfileRepository::updateMe(UpdateMeRequestBody changes)
{
    APIRequest request;
    request.method = HTTPMethod::patch;
    request.path = QStringLiteral("me");
    request.body = AnyEncodable(std::move(changes));
    co_return co_await m_apiClient.send<User>(std::move(request));
}

} // namespace vorlie
