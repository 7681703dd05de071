#pragma once

#include "single_instance/InstanceRequest.h"

#include <QString>
#include <optional>

namespace vorlie {

// The program's command line: `vorlie [--background] [vorlia://home | vorlia://status]`,
// plus --version and --help. Qt's own window-system options pass through untouched.
struct CommandLine {
    enum class Action {
        start,       // run, or hand the request to the running instance
        showVersion, // print "vorlie X.Y.Z"
        showHelp,
        refuse, // print `message` on stderr and end with status 2
    };

    Action action = Action::start;
    // Start to the menu-bar item without showing the main window.
    bool background = false;
    // Where a "vorlia://" URL on the command line leads.
    std::optional<InstanceRequest::Kind> route;
    // One line for `refuse`, the help text for `showHelp`.
    QString message;

    // argv as the system passed it, program name first; read before any
    // application object exists, so it needs no display.
    static CommandLine parse(int argc, const char *const *argv);
};

// Only "vorlia://home" and "vorlia://status" are accepted (scheme and host in
// any letter case); anything more, less or else gives none.
std::optional<InstanceRequest::Kind> routeForURL(const QString &url);

} // namespace vorlie
