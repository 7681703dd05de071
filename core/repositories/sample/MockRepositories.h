#pragma once

#include "repositories/AnnouncementRepository.h"
#include "repositories/AuthRepository.h"
#include "repositories/ConnectionsRepository.h"
#include "repositories/DeviceRepository.h"
#include "repositories/ProfileRepository.h"
#include "repositories/StatusRepository.h"
#include "repositories/SyncRepository.h"

namespace vorlie {

// Sample repositories: every call answers at once from the fixed sample data,
// ignores its arguments, never fails and changes nothing.

class MockAuthRepository final : public AuthRepository {
public:
    QCoro::Task<Result<User>> registerAccount(QString, QString, std::optional<QString>, std::optional<QString>) override;
    QCoro::Task<Result<User>> login(QString, QString, std::optional<QString>) override;
    QCoro::Task<void> logout() override;
};

class MockProfileRepository final : public ProfileRepository {
public:
    QCoro::Task<Result<User>> updateMe(UpdateMeRequestBody) override;
};

class MockConnectionsRepository final : public ConnectionsRepository {};

class MockStatusRepository final : public StatusRepository {
public:
    QCoro::Task<Result<std::vector<StatusCatalogItem>>> fetchCatalog() override;
    QCoro::Task<Result<void>> addFavorite(QString) override;
    QCoro::Task<Result<void>> removeFavorite(QString) override;
    QCoro::Task<Result<Status>> setStatus(QString, std::optional<QString>, StatusSource) override;
};

class MockSyncRepository final : public SyncRepository {
public:
    QCoro::Task<Result<SyncSnapshot>> fetchSync() override;
};

class MockDeviceRepository final : public DeviceRepository {
public:
    QCoro::Task<Result<QString>> registerDevice(QString, std::optional<QString>, std::optional<QString>) override;
};

class MockAnnouncementRepository final : public AnnouncementRepository {
public:
    QCoro::Task<Result<std::vector<Announcement>>> fetchAnnouncements() override;
};

} // namespace vorlie
