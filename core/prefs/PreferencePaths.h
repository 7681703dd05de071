#pragma once

#include <QString>

namespace vorlie {

// Where the two preference files of one user live. Both deliverables compute
// the same paths, which is what lets them share the suite file.
struct PreferencePaths {
    QString sharedSuite;  // the application group's store, read by the widget too
    QString standard;     // the application's own store

    // "<configDir>/vorlie/group.com.vorlia.app.ini" and "<configDir>/vorlie/vorlie.ini".
    static PreferencePaths under(const QString &configDir);
    // Under the user's XDG configuration directory.
    static PreferencePaths forUser();
};

} // namespace vorlie
