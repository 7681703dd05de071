#include "LaunchAtLogin.h"

#include "LoginItemService.h"

namespace vorlie {

bool LaunchAtLogin::isEnabled() const
{
    return m_service.status() == LoginItemService::Status::enabled;
}

void LaunchAtLogin::setEnabled(bool enabled)
{
    // A refusal is dropped: the switch keeps what the user chose.
    const LoginItemService::Status status = m_service.status();
    if (enabled && status != LoginItemService::Status::enabled)
        m_service.registerItem();
    else if (!enabled && status != LoginItemService::Status::notRegistered)
        m_service.unregisterItem();
}

} // namespace vorlie
