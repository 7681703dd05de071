#pragma once

#include "FakeServiceHost.h"
#include "prefs/PreferenceKeys.h"
#include "push/PushTestSupport.h"
#include "shell/VorlieMacApp.h"
#include "support/ResultOf.h"
#include "sync/SyncCacheWriter.h"
#include "tray/TrayTestSupport.h"

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
// its own; only pushes and the test trigger syncs.
inline VorlieMacApp::Options appOptions(const fake::FakeServiceHost &host, const QTemporaryDir &prefs)
{
    VorlieMacApp::Options o{AppConfig{host.baseUrl(), host.rootUrl()}};
    o.paths = PreferencePaths::under(prefs.path());
    o.keychainService = unique("com.vorlia.app.tokens.e2e-");
    o.pushServiceName = unique("com.vorlia.app.e2e_");
    o.refreshInterval = std::chrono::hours(1);
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

// The app holds tokens of the seeded account, as after an earlier sign-in.
inline void signInSeeded(VorlieMacApp &app, fake::FakeServiceHost &host)
{
    const fake::TokenPair pair = host.service().issueTokens(fake::ServiceState::seededUserId());
    resultOf(app.dependencies().authSession.storeTokens(pair.accessToken, pair.refreshToken));
}

// A shared record's stored bytes, as another program reads them, once the
// cache writes asked for so far are done.
inline std::optional<QByteArray> storedBytes(const QTemporaryDir &prefs, const QString &key)
{
    SyncCacheWriter::waitUntilIdle();
    return SharedDefaults(PreferencePaths::under(prefs.path())).data(key);
}

} // namespace vorlie::testing
