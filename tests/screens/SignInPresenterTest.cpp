// Signing in over the real auth repository and the local fake service: the
// form's rules (what is enabled when, what Return does, how a sign-in reaches
// the session and push) and, below it, the model's login-then-register
// decision and the message each failure leaves behind.
#include "ScreenServices.h"
#include "SignInPresenter.h"
#include "support/AppStackFixture.h"
#include "viewmodels/OnboardingViewModel.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>

using namespace vorlie;
using namespace vorlie::testing;
using Step = OnboardingViewModel::Step;

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

    ScreenServices screen{prefsDir.path(), *store, dependencies(), host.rootUrl()};
    std::unique_ptr<SignInPresenter> presenter = std::make_unique<SignInPresenter>(SignInPresenter::Inputs{
        dependencies().authRepository, *store, screen.router, [this] { return screen.countPushRequest(); }});
};

using OnboardingViewModelTest = SignInPresenterTest;

TEST_F(SignInPresenterTest, ContinueAndSignInAreEnabledExactlyWhenTheirTextsWouldBeAccepted)
{
    ASSERT_TRUE(presenter->ready());
    const struct {
        const char *email;
        bool continues;
    } emails[] = {
        {"@b.c", false},     // four characters, even with both signs
        {"ab@cd", false},    // no full stop
        {"abcd.example", false},
        {"a@.c   ", false},  // trailing spaces do not count
        {"  a@b.  ", false}, // four once trimmed
        {"a@.c\n", true},    // a line break is not trimmed and counts
        {"a@b.c", true},
    };
    for (const auto &e : emails) {
        presenter->setEmail(QString::fromUtf8(e.email));
        EXPECT_EQ(presenter->canContinue(), e.continues) << e.email;
        EXPECT_TRUE(e.continues || !presenter->acceptEmail()) << e.email;
    }
    QSignalSpy changed(presenter.get(), &SignInPresenter::changed);
    presenter->setEmail(QStringLiteral("a@b.c"));
    EXPECT_EQ(changed.count(), 0) << "the same text is no change";
    EXPECT_TRUE(presenter->acceptEmail());
    EXPECT_TRUE(presenter->asksPassword());
    EXPECT_TRUE(presenter->acceptEmail()); // Return there again only hands the focus on

    presenter->setPassword(QStringLiteral("1234567"));
    EXPECT_FALSE(presenter->canSignIn());
    presenter->acceptPassword();
    presenter->setPassword(QStringLiteral("12345678"));
    EXPECT_TRUE(presenter->canSignIn());
    // An e-mail spoilt after continuing disables sign-in rather than leaving a dead button.
    presenter->setEmail(QStringLiteral("a@b"));
    EXPECT_FALSE(presenter->canSignIn());
    presenter->signIn();

    // The model itself refuses what the form would not send.
    OnboardingViewModel model(repositories->auth);
    for (const auto &[email, password] : {std::pair{"new@example.com", "1234567"}, std::pair{"new@example", "12345678"}}) {
        model.setEmail(QString::fromUtf8(email));
        model.setPassword(QString::fromUtf8(password));
        resultOf(model.submit());
    }
    EXPECT_EQ(logins(), 0);
    EXPECT_FALSE(model.errorMessage());
}

TEST_F(SignInPresenterTest, AWrongPasswordKeepsTheFormThenASignInHandsTheUserToTheSessionAndAsksForPush)
{
    fillIn(QStringLiteral("not-the-password"));
    presenter->acceptPassword();
    ASSERT_TRUE(spinUntil([&] { return !presenter->errorMessage().isEmpty(); }));
    EXPECT_EQ(presenter->errorMessage(), qtTrId("onboarding.auth.wrong_password"));
    EXPECT_EQ(presenter->email(), demoEmail);
    EXPECT_EQ(presenter->password(), QStringLiteral("not-the-password"));
    EXPECT_TRUE(presenter->canSignIn());
    EXPECT_EQ(store->authState(), SessionStore::AuthState::signedOut);
    EXPECT_EQ(screen.pushAuthorizations, 0);

    service().script("POST", QStringLiteral("auth/login"), delayedServiceAnswer(300ms));
    presenter->setPassword(demoPassword);
    presenter->signIn();
    EXPECT_TRUE(presenter->isAuthenticating());
    EXPECT_FALSE(presenter->canSignIn());
    presenter->signIn(); // a second press while it runs sends nothing more

    ASSERT_TRUE(spinUntil([&] { return screen.pushAuthorizations == 1; }));
    EXPECT_EQ(store->authState(), SessionStore::AuthState::signedIn);
    ASSERT_TRUE(store->currentUser());
    EXPECT_EQ(store->currentUser()->email, demoEmail);
    EXPECT_EQ(resultOf(auth->state()), AuthSession::State::signedIn);
    EXPECT_EQ(logins(), 2);
    EXPECT_FALSE(presenter->isAuthenticating());
    EXPECT_TRUE(presenter->errorMessage().isEmpty());
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

// Only a refusal of the credentials may mean a new account; an unreachable
// service or its faults show the login's own error (how each failure reads:
// the request pipeline's suites).
TEST_F(OnboardingViewModelTest, ALoginRefusedForItsCredentialsTriesARegistrationAndOtherFailuresSayWhy)
{
    const QString secret = QStringLiteral(" a long secret "); // sent as typed, spaces and all
    const QString newcomer = QStringLiteral("newcomer@example.com");
    const struct {
        QString email;
        QString password;
        std::optional<fake::ScriptedReply> login, registration;
        int registrations;
        std::optional<QString> message;
        Step step; // moves on after a registration only
    } cases[] = {
        {demoEmail, demoPassword, {}, {}, 0, {}, Step::auth},
        {QStringLiteral(" \tnew@example.com\t"), secret, {}, {}, 1, {}, Step::character},
        {demoEmail, QStringLiteral("not the password"), {}, {}, 1, qtTrId("onboarding.auth.wrong_password"), Step::auth},
        {newcomer, secret, {}, reply(422, errorEnvelope("WEAK_PASSWORD", "Pick a stronger password.")), 1,
         QStringLiteral("Pick a stronger password."), Step::auth},
        {newcomer, secret, reply(503, errorEnvelope("MAINTENANCE", "Back in five minutes.")), {}, 0,
         QStringLiteral("Back in five minutes."), Step::auth},
        {newcomer, secret, misbehaving(fake::ScriptedReply::Behaviour::dropConnection), {}, 0,
         APIError::offline().userMessage(), Step::auth},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message.value_or(c.email).toStdString());
        service().clearScripts();
        service().clearRecords();
        if (c.login)
            service().scriptAlways("POST", QStringLiteral("auth/login"), *c.login);
        if (c.registration)
            service().script("POST", QStringLiteral("auth/register"), *c.registration);
        OnboardingViewModel model(repositories->auth);
        model.setStep(Step::auth);
        model.setEmail(c.email);
        model.setPassword(c.password);
        resultOf(model.submit());

        EXPECT_EQ(model.errorMessage(), c.message);
        EXPECT_EQ(model.step(), c.step);
        EXPECT_FALSE(model.isAuthenticating());
        EXPECT_EQ(service().requestCount(QStringLiteral("auth/register")), c.registrations);
        const bool signedIn = !c.message;
        EXPECT_EQ(model.didCompleteAsReturningUser(), signedIn && c.registrations == 0);
        EXPECT_EQ(model.signedInUser().has_value(), signedIn);
        EXPECT_EQ(model.email(), c.email); // the field keeps what was typed
        for (const QString &path : {QStringLiteral("auth/login"), QStringLiteral("auth/register")}) {
            for (const fake::RecordedRequest &request : service().requests(path)) {
                const QJsonObject body = QJsonDocument::fromJson(request.body).object();
                EXPECT_EQ(body.value("email").toString(), c.email.trimmed());
                EXPECT_EQ(body.value("password").toString(), c.password);
            }
        }
    }
    EXPECT_FALSE(OnboardingViewModel::stepFromInt(5));
    EXPECT_EQ(OnboardingViewModel::stepFromInt(4), Step::widgetIntro);
}
