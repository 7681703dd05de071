#pragma once

#include "AppRouter.h"
#include "AppServices.h"
#include "session/AppDependencies.h"
#include "XdgAutostart.h"
#include "i18n/TextLookup.h"
#include "login/LaunchAtLogin.h"
#include "prefs/LanguageSettings.h"
#include "prefs/MenuBarPreferences.h"
#include "prefs/SharedDefaults.h"
#include "prefs/StandardDefaults.h"

#include <QTemporaryDir>
#include <QCoro/QCoroTask>

namespace vorlie::testing {

// Everything the screens' presenters need besides the session store, as the
// composition root builds it, over private preference and autostart folders.
struct ScreenServices {
    ScreenServices(const QString &prefsDir, SessionStore &store, const AppDependencies &service, QUrl avatarBase)
        : defaults(PreferencePaths::under(prefsDir))
        , standard(PreferencePaths::under(prefsDir))
        , parts{store, service.authRepository, service.statusRepository, service.profileRepository, languages, menuBar, lookup, router, launchAtLogin, standard, std::move(avatarBase),
                [this] { return countPushRequest(); }}
    {
        lookup.apply(languages.selection());
    }

    QCoro::Task<void> countPushRequest()
    {
        ++pushAuthorizations;
        co_return;
    }

    // What the system says it speaks; the device language follows it.
    QStringList systemLanguages{QStringLiteral("en-US")};
    SharedDefaults defaults;
    StandardDefaults standard;
    TextLookup lookup{[this] { return systemLanguages; }};
    LanguageSettings languages{defaults, lookup, [] {}};
    MenuBarPreferences menuBar{standard};
    QTemporaryDir autostartDir;
    XdgAutostart loginItems{autostartDir.path(), QStringLiteral("/usr/bin/vorlie")};
    LaunchAtLogin launchAtLogin{loginItems};
    AppRouter router;
    int pushAuthorizations = 0;
    AppServices::Parts parts;
};

} // namespace vorlie::testing
