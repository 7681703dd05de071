#pragma once

#include <QString>

class QWindow;

namespace vorlie {

// Shows and raises `window` for a launch that the desktop gave `activationToken`
// (empty for none). Desktops that prevent focus stealing accept the raise only
// with the launch's token: on Wayland it goes to the xdg-activation request,
// on X11 onto the window as _NET_STARTUP_ID, which also ends the desktop's
// launch feedback.
void activateWindow(QWindow *window, const QString &activationToken);

} // namespace vorlie
