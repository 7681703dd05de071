#include "RemoteDeviceRepository.h"

#include "AccountRecords.h"
#include "api/APIClient.h"

namespace vorlie {

RemoteDeviceRepository::RemoteDeviceRepository(const APIClient &apiClient, std::function<DeviceInfo()> deviceInfo)
    : m_apiClient(apiClient)
    , m_deviceInfo(std::move(deviceInfo))
{
}

QCoro::Task<Result<QString>> RemoteDeviceRepository::registerDevice(QString platform, std::optional<QString> pushToken,
                                                                    std::optional<QString> deviceId)
{
    DeviceInfo info = m_deviceInfo();
    APIRequest request;
    request.method = HTTPMethod::post;
    request.path = QStringLiteral("devices");
    request.body = AnyEncodable(RegisterDeviceRequestBody{
        .platform = std::move(platform),
        .pushToken = std::move(pushToken),
        .appVersion = std::move(info.appVersion),
        .osVersion = std::move(info.osVersion),
        .locale = std::move(info.locale),
        .timezone = std::move(info.timezone),
        .deviceId = std::move(deviceId),
    });
    Result<RegisterDeviceResponseDTO> response = co_await m_apiClient.send<RegisterDeviceResponseDTO>(std::move(request));
    if (!response)
        co_return response.error();
    co_return std::move(response->deviceId);
}

} // namespace vorlie
