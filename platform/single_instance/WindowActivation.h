#pragma once

#include <QString>

class QWindow;

namespace vorlie {

// Shows and raises `window` for a launch that the desktop gave `activationToken`
// (empty for none). Desktops that prevent focus stealing accept the raise only
// with the launch's token. On Wayland, Qt hands XDG_ACTIVATION_TOKEN to the
// compositor when it creates the window's surface, which showing a window
// closed to the tray does; on X11 the token goes onto the window as
// _NET_STARTUP_ID, which also ends the desktop's launch feedback.
void activateWindow(QWindow *window, const QString &activationToken);

} // namespace vorlie
