#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace vorlie {

// What a later launch asks of the instance that is already running.
struct InstanceRequest {
    enum class Kind { activate, home, statusPicker };

    Kind kind = Kind::activate;
    // The desktop's token for raising a window on behalf of that launch; empty when it gave none.
    QString activationToken;

    bool operator==(const InstanceRequest &) const = default;
};

// One line of compact JSON ending in "\n".
QByteArray encodeInstanceRequest(const InstanceRequest &request);
// Anything this program would not have sent is refused, including unusable tokens.
std::optional<InstanceRequest> decodeInstanceRequest(const QByteArray &line);

// Tokens are opaque, but they travel in X11 startup messages and environment
// variables: printable ASCII without quotes or backslashes, and short.
bool isUsableActivationToken(const QString &token);
// The token the desktop gave this process (Wayland's XDG_ACTIVATION_TOKEN,
// else X11's DESKTOP_STARTUP_ID), or empty when there is none we can use.
QString launchActivationToken();

} // namespace vorlie
