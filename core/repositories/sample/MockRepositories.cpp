#include "MockRepositories.h"

#include "SampleData.h"

namespace vorlie {

QCoro::Task<Result<User>> MockAuthRepository::registerAccount(QString, QString, std::optional<QString>, std::optional<QString>)
{
    co_return sample::data().user;
}

QCoro::Task<Result<User>> MockAuthRepository::login(QString, QString, std::optional<QString>)
{
    co_return sample::data().user;
}

QCoro::Task<void> MockAuthRepository::logout()
{
    co_return;
}

QCoro::Task<Result<User>> MockProfileRepository::updateMe(UpdateMeRequestBody)
{
    co_return sample::data().user;
}

QCoro::Task<Result<std::vector<StatusCatalogItem>>> MockStatusRepository::fetchCatalog()
{
    co_return sample::data().catalog;
}

QCoro::Task<Result<void>> MockStatusRepository::addFavorite(QString)
{
    co_return Result<void>();
}

QCoro::Task<Result<void>> MockStatusRepository::removeFavorite(QString)
{
    co_return Result<void>();
}

QCoro::Task<Result<Status>> MockStatusRepository::setStatus(QString, std::optional<QString>, StatusSource)
{
    co_return sample::data().ownStatus;
}

QCoro::Task<Result<SyncSnapshot>> MockSyncRepository::fetchSync()
{
    co_return sample::data().snapshot;
}

QCoro::Task<Result<QString>> MockDeviceRepository::registerDevice(QString, std::optional<QString>, std::optional<QString>)
{
    co_return sample::data().deviceId;
}

QCoro::Task<Result<std::vector<Announcement>>> MockAnnouncementRepository::fetchAnnouncements()
{
    co_return std::vector<Announcement>{};
}

} // namespace vorlie
