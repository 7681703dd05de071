// What the main window shows as the session goes: the splash, the sign-in
// form or the main content, and the keyring notice that keeps a sign-in
// the keyring cannot hold from looking like one that lasts.
#include "KeyringWorld.h"
#include "RootPresenter.h"
#include "repositories/sample/SampleData.h"
#include "support/ResultOf.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;
using Screen = RootPresenter::Screen;

class RootPresenterTest : public ::testing::Test, public KeyringWorld {
protected:
    RootPresenter presenter{screen.services};
};

TEST_F(RootPresenterTest, TheSplashLastsUntilTheSessionIsKnownThenSignInAndMainFollowIt)
{
    QSignalSpy changed(&presenter, &RootPresenter::screenChanged);
    EXPECT_EQ(presenter.screen(), Screen::splash);
    resultOf(store.bootstrap());
    EXPECT_EQ(presenter.screen(), Screen::signIn);
    EXPECT_TRUE(presenter.showsSignIn());

    resultOf(auth.storeTokens(QStringLiteral("a"), QStringLiteral("r")));
    EXPECT_TRUE(resultOf(store.completeSignIn(sample::data().user)));
    EXPECT_EQ(presenter.screen(), Screen::main);
    EXPECT_TRUE(presenter.showsMain());
    // Signed out from the settings sheet: its own dismissal dies with the main content.
    screen.router.setSettingsPresented(true);
    screen.router.setStatusPickerPresented(true);
    resultOf(store.signOut());
    EXPECT_EQ(presenter.screen(), Screen::signIn);
    EXPECT_FALSE(screen.router.isSettingsPresented());
    EXPECT_FALSE(screen.router.isStatusPickerPresented());
    EXPECT_EQ(changed.size(), 3);
    EXPECT_TRUE(presenter.keyringMessage().isEmpty());
}

TEST_F(RootPresenterTest, AKeyringThatCannotKeepTheSessionIsSaidUntilItCan)
{
    resultOf(store.bootstrap());
    screen.languages.setSelection(AppLanguage::english);
    keyring.state = CredentialStoreState::locked;
    EXPECT_EQ(resultOf(auth.storeTokens(QStringLiteral("a"), QStringLiteral("r"))), CredentialStoreState::locked);
    EXPECT_EQ(presenter.keyringMessage(), qtTrId("mac.signin.keyring_locked"));
    EXPECT_FALSE(resultOf(store.completeSignIn(sample::data().user)));
    EXPECT_EQ(presenter.screen(), Screen::main);
    EXPECT_FALSE(presenter.keyringMessage().isEmpty()); // the main window keeps saying it

    keyring.state = CredentialStoreState::unavailable;
    resultOf(auth.storeTokens(QStringLiteral("a2"), QStringLiteral("r2")));
    EXPECT_EQ(presenter.keyringMessage(), qtTrId("mac.signin.keyring_unavailable"));
    screen.languages.setSelection(AppLanguage::german);
    EXPECT_EQ(presenter.keyringMessage(), qtTrId("mac.signin.keyring_unavailable"));
    EXPECT_TRUE(presenter.keyringMessage().contains(QStringLiteral("Schlüsselbund")));

    // Unlocked later: the held tokens are written and the notice goes, without a restart.
    keyring.state = CredentialStoreState::available;
    ASSERT_TRUE(keyring.onChange);
    keyring.onChange();
    EXPECT_TRUE(QTest::qWaitFor([&] { return presenter.keyringMessage().isEmpty(); }, 2000));
    EXPECT_EQ(keyring.items.value(QStringLiteral("refreshToken")), QStringLiteral("r2"));
}
