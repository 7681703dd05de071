#pragma once

#include "FakeServiceHost.h"
#include "shell/VorlieMacApp.h"
#include "support/ResultOf.h"

#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

namespace vorlie::testing {

constexpr int waitMs = 8000;

inline QString unique(const char *prefix)
{
    return QString::fromLatin1(prefix) + QUuid::createUuid().toString(QUuid::Id128);
}

// The app against `host`, with preferences, keychain items and bus names of
// its own; only pushes and the test trigger syncs unless `refresh` says otherwise.
inline VorlieMacApp::Options appOptions(const fake::FakeServiceHost &host, const QTemporaryDir &prefs,
                                        std::chrono::milliseconds refresh = std::chrono::hours(1))
{
    VorlieMacApp::Options o{AppConfig{host.baseUrl(), host.rootUrl()}};
    o.paths = PreferencePaths::under(prefs.path());
    o.keychainService = unique("com.vorlia.app.tokens.e2e-");
    o.pushServiceName = unique("com.vorlia.app.e2e_");
    o.refreshInterval = refresh;
    return o;
}

// Ends the periodic loop and lets a running sync finish, so that no
// coroutine is left waiting on objects that are about to go; then forgets
// the tokens.
inline void shutDown(VorlieMacApp &app)
{
    app.delegate().applicationWillTerminate();
    EXPECT_TRUE(QTest::qWaitFor([&app] { return !app.sessionStore().isSyncing(); }, waitMs));
    resultOf(app.dependencies().authSession.clearTokens());
}

// The first sync's avatar download has ended and its picture is stored.
inline bool waitForWidgetPicture(VorlieMacApp &app)
{
    return QTest::qWaitFor([&app] {
        const auto snapshot = app.widgetSnapshots().load();
        return snapshot && snapshot->avatarImageData;
    }, waitMs);
}

} // namespace vorlie::testing
