#pragma once

namespace vorlie {

class LoginItemService;

// The settings switch "start at login": reads the desktop's registration and
// changes it only when it differs from what the user wants.
class LaunchAtLogin {
public:
    explicit LaunchAtLogin(LoginItemService &service) : m_service(service) {}

    bool isEnabled() const;
    // A refusal of the desktop is dropped; the next isEnabled() tells the truth.
    void setEnabled(bool enabled);

private:
    LoginItemService &m_service;
};

} // namespace vorlie
