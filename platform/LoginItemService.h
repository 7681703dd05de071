#pragma once

namespace vorlie {

// The desktop's registration of the program as something that starts at login.
class LoginItemService {
public:
    enum class Status { notRegistered, enabled, requiresApproval, notFound };

    virtual ~LoginItemService() = default;

    virtual Status status() const = 0;
    // Both give false when the desktop refused.
    virtual bool registerItem() = 0;
    virtual bool unregisterItem() = 0;
};

} // namespace vorlie
