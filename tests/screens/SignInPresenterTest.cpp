// The sign-in form's rules over the real auth repository and the local fake
// service: what is enabled when, what Return does in each field, and how a
// sign-in reaches the session and push.
#include "ScreenServices.h"
#include "SignInPresenter.h"
#include "support/AppStackFixture.h"

#include <QSignalSpy>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

const QString demoEmail = QStringLiteral("quorrin@example.com");
const QString demoPassword = QStringLiteral("vorlie-demo");

} // namespace

class SignInPresenterTest : public AppStackFixture {
protected:
    SignInPresenterTest() { resultOf(store->bootstrap()); }

    int logins() { return service().requestCount(QStringLiteral("auth/login")); }
    // The demo address, on to the password, and `password` typed there.
    void fillIn(const QString &password)
    {
        presenter->setEmail(demoEmail);
        presenter->continueToPassword();
        presenter->setPassword(password);
    }

    ScreenServices screen{prefsDir.path(), *store, host.rootUrl()};
    std::unique_ptr<SignInPresenter> presenter = std::make_unique<SignInPresenter>(screen.services);
};

TEST_F(SignInPresenterTest, ContinueAndSignInAreEnabledExactlyWhenTheirTextsWouldBeAccepted)
{
    ASSERT_TRUE(presenter->ready());
    EXPECT_FALSE(presenter->asksPassword());
    EXPECT_FALSE(presenter->canContinue());

    const struct {
        const char *email;
        bool continues;
    } emails[] = {
        {"a@b.", false},    // four characters, both signs
        {"a@b.c", true},    // five
        {"ab@cd", false},   // no full stop
        {"  a@b.  ", false}, // four once trimmed
        {" a@b.c ", true},
    };
    for (const auto &e : emails) {
        presenter->setEmail(QString::fromUtf8(e.email));
        EXPECT_EQ(presenter->canContinue(), e.continues) << e.email;
        presenter->continueToPassword();
        EXPECT_EQ(presenter->asksPassword(), e.continues) << e.email;
        if (e.continues)
            break;
    }
    ASSERT_TRUE(presenter->asksPassword());

    presenter->setPassword(QStringLiteral("1234567"));
    EXPECT_FALSE(presenter->canSignIn());
    presenter->signIn();
    presenter->setPassword(QStringLiteral("12345678"));
    EXPECT_TRUE(presenter->canSignIn());

    // An e-mail spoilt after continuing disables sign-in rather than leaving a dead button.
    presenter->setEmail(QStringLiteral("a@b"));
    EXPECT_FALSE(presenter->canSignIn());
    presenter->signIn();
    EXPECT_EQ(logins(), 0);
}

TEST_F(SignInPresenterTest, ReturnContinuesFromTheEmailAndSignsInFromThePasswordOnlyWhenEnabled)
{
    presenter->setEmail(QStringLiteral("quorrin@example"));
    EXPECT_FALSE(presenter->acceptEmail());
    EXPECT_FALSE(presenter->asksPassword());

    presenter->setEmail(demoEmail);
    EXPECT_TRUE(presenter->acceptEmail());
    EXPECT_TRUE(presenter->asksPassword());
    // Return in the e-mail field again only hands the focus on.
    EXPECT_TRUE(presenter->acceptEmail());

    presenter->setPassword(QStringLiteral("vorlie-"));
    presenter->acceptPassword();
    EXPECT_FALSE(presenter->isAuthenticating());
    EXPECT_EQ(logins(), 0);

    presenter->setPassword(demoPassword);
    presenter->acceptPassword();
    EXPECT_TRUE(spinUntil([&] { return store->authState() == SessionStore::AuthState::signedIn; }));
    EXPECT_EQ(logins(), 1);
}

TEST_F(SignInPresenterTest, ASignInShowsProgressThenHandsTheUserToTheSessionAndAsksForPush)
{
    service().script("POST", QStringLiteral("auth/login"), delayedServiceAnswer(300ms));
    fillIn(demoPassword);
    presenter->signIn();

    EXPECT_TRUE(presenter->isAuthenticating());
    EXPECT_FALSE(presenter->canSignIn());
    presenter->signIn(); // a second press while it runs sends nothing more

    ASSERT_TRUE(spinUntil([&] { return screen.pushAuthorizations == 1; }));
    EXPECT_EQ(store->authState(), SessionStore::AuthState::signedIn);
    ASSERT_TRUE(store->currentUser());
    EXPECT_EQ(store->currentUser()->email, demoEmail);
    EXPECT_EQ(resultOf(auth->state()), AuthSession::State::signedIn);
    EXPECT_EQ(logins(), 1);
    EXPECT_FALSE(presenter->isAuthenticating());
    EXPECT_TRUE(presenter->errorMessage().isEmpty());
}

TEST_F(SignInPresenterTest, AWrongPasswordLeavesTheMessageAndTheFieldsAndStaysSignedOut)
{
    fillIn(QStringLiteral("not-the-password"));
    presenter->signIn();

    ASSERT_TRUE(spinUntil([&] { return !presenter->errorMessage().isEmpty(); }));
    EXPECT_EQ(presenter->errorMessage(), qtTrId("onboarding.auth.wrong_password"));
    EXPECT_EQ(presenter->email(), demoEmail);
    EXPECT_EQ(presenter->password(), QStringLiteral("not-the-password"));
    EXPECT_TRUE(presenter->asksPassword());
    EXPECT_TRUE(presenter->canSignIn());
    EXPECT_EQ(store->authState(), SessionStore::AuthState::signedOut);
    EXPECT_EQ(screen.pushAuthorizations, 0);
}

// A success replaces the form by the main window while the sign-in is still
// finishing: the form going away must not cut the hand-over short.
TEST_F(SignInPresenterTest, TheHandOverFinishesWhenTheFormGoesAwayDuringIt)
{
    fillIn(demoPassword);
    presenter->signIn();
    QObject::connect(store.get(), &SessionStore::authStateChanged, [this] { presenter.reset(); });

    ASSERT_TRUE(spinUntil([&] { return screen.pushAuthorizations == 1; }));
    EXPECT_FALSE(presenter);
    EXPECT_EQ(store->authState(), SessionStore::AuthState::signedIn);
}
