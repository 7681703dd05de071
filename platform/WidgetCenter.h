#pragma once

#include <QString>

namespace vorlie {

// Asks the desktop widget host to re-read the widget snapshot, as D-Bus
// signals on the session bus. Fire and forget: with nobody listening, or no
// session bus at all, nothing happens.
class WidgetCenter {
public:
    static constexpr const char *objectPath = "/com/vorlia/app/WidgetCenter";
    static constexpr const char *interfaceName = "com.vorlia.app.WidgetCenter";
    static constexpr const char *reloadAllSignal = "ReloadAllTimelines";
    static constexpr const char *reloadKindSignal = "ReloadTimelines"; // one argument: the widget kind

    void reloadAllTimelines();
    void reloadTimelines(const QString &kind);
};

} // namespace vorlie
