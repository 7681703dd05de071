#pragma once

namespace vorlie::trayhosts {

// Qt decides once per process whether its tray icons speak
// StatusNotifierItem, the first time it is asked. These ask the desktop
// directly, so the question can be put before a tray exists without
// fixing Qt on XEmbed for good.

// The selection an XEmbed tray of the first screen owns.
inline constexpr char xembedSelection[] = "_NET_SYSTEM_TRAY_S0";

// A StatusNotifierWatcher is on the session bus and reports a host.
bool statusNotifierHostPresent();
// An XEmbed system tray owns its selection on the X display.
bool xembedTrayPresent();

} // namespace vorlie::trayhosts
