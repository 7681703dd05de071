#pragma once

namespace vorlie {

class AuthSession;
class AuthRepository;
class ProfileRepository;
class ConnectionsRepository;
class StatusRepository;
class SyncRepository;
class DeviceRepository;
class AnnouncementRepository;

// The auth session and one repository per area, service-backed in the
// program and sample ones in previews. Shared by value; the objects it refers
// to are owned by the composition root and outlive every holder.
struct AppDependencies {
    AuthSession &authSession;
    AuthRepository &authRepository;
    ProfileRepository &profileRepository;
    ConnectionsRepository &connectionsRepository;
    StatusRepository &statusRepository;
    SyncRepository &syncRepository;
    DeviceRepository &deviceRepository;
    AnnouncementRepository &announcementRepository;
};

} // namespace vorlie
