// The sign-in model over the real auth repository and the local fake
// service: when the form may be sent, the login-then-register decision, and
// which message each failure leaves behind.
#include "support/AppStackFixture.h"

#include "viewmodels/OnboardingViewModel.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>

using namespace vorlie;
using namespace vorlie::testing;
using Step = OnboardingViewModel::Step;

namespace {

const QString seededEmail = QStringLiteral("quorrin@example.com");
const QString seededPassword = QStringLiteral("vorlie-demo");

QJsonObject bodyOf(const fake::RecordedRequest &request)
{
    return QJsonDocument::fromJson(request.body).object();
}

} // namespace

class OnboardingViewModelTest : public AppStackFixture {
protected:
    OnboardingViewModelTest() { model.setStep(Step::auth); }

    void submit(const QString &email, const QString &password)
    {
        model.setEmail(email);
        model.setPassword(password);
        resultOf(model.submit());
    }

    int logins() { return service().requestCount(QStringLiteral("auth/login")); }
    int registrations() { return service().requestCount(QStringLiteral("auth/register")); }

    OnboardingViewModel model{repositories->auth};
};

TEST_F(OnboardingViewModelTest, EmailValidityCountsOnlyWhatIsLeftAfterSpacesAndTabs)
{
    const struct {
        const char *email;
        bool valid;
    } cases[] = {
        {"a@b.c", true},       // five characters are enough
        {"@b.c", false},       // four are not, even with both signs
        {"a@.c   ", false},    // trailing spaces do not count
        {"\t a@b.c \t", true}, // tabs are trimmed like spaces
        {"a@.c\n", true},      // a line break is not trimmed and counts
        {"abcd@example", false},
        {"abcd.example", false},
        {"", false},
    };
    for (const auto &c : cases) {
        model.setEmail(QString::fromUtf8(c.email));
        EXPECT_EQ(model.isEmailValid(), c.valid) << c.email;
    }
}

TEST_F(OnboardingViewModelTest, IncompleteFormsAreNotSent)
{
    QSignalSpy authenticating(&model, &OnboardingViewModel::isAuthenticatingChanged);
    submit(QStringLiteral("new@example.com"), QStringLiteral("1234567"));
    submit(QStringLiteral("new@example"), QStringLiteral("12345678"));
    EXPECT_TRUE(service().requests().isEmpty());
    EXPECT_EQ(authenticating.count(), 0);
    EXPECT_FALSE(model.errorMessage());
}

TEST_F(OnboardingViewModelTest, StepsFromIntegersAcceptOnlyTheFiveKnownValues)
{
    EXPECT_EQ(OnboardingViewModel::stepFromInt(0), Step::intro);
    EXPECT_EQ(OnboardingViewModel::stepFromInt(4), Step::widgetIntro);
    EXPECT_FALSE(OnboardingViewModel::stepFromInt(-1));
    EXPECT_FALSE(OnboardingViewModel::stepFromInt(5));
    for (Step step : OnboardingViewModel::allSteps)
        EXPECT_EQ(OnboardingViewModel::stepFromInt(static_cast<int>(step)), step);
}

TEST_F(OnboardingViewModelTest, ObserversHearOnlyRealChanges)
{
    QSignalSpy email(&model, &OnboardingViewModel::emailChanged);
    QSignalSpy step(&model, &OnboardingViewModel::stepChanged);
    model.setEmail(QStringLiteral("a@b.c"));
    model.setEmail(QStringLiteral("a@b.c"));
    model.setStep(Step::auth);
    EXPECT_EQ(email.count(), 1);
    EXPECT_EQ(step.count(), 0);
}

TEST_F(OnboardingViewModelTest, ExistingAccountSignsInWithOneLoginAndStaysOnItsStep)
{
    service().script("POST", QStringLiteral("auth/login"), delayedServiceAnswer(200ms));
    model.setEmail(seededEmail);
    model.setPassword(seededPassword);
    auto running = model.submit();
    EXPECT_TRUE(model.isAuthenticating());
    resultOf(running);

    EXPECT_FALSE(model.isAuthenticating());
    ASSERT_TRUE(model.signedInUser());
    EXPECT_EQ(model.signedInUser()->id, fake::ServiceState::seededUserId());
    EXPECT_TRUE(model.didCompleteAsReturningUser());
    EXPECT_EQ(model.step(), Step::auth);
    EXPECT_FALSE(model.errorMessage());
    EXPECT_EQ(logins(), 1);
    EXPECT_EQ(registrations(), 0);
    EXPECT_TRUE(storedToken(QStringLiteral("refreshToken")));
}

TEST_F(OnboardingViewModelTest, NewEmailRegistersAfterTheRefusedLoginAndMovesOn)
{
    submit(QStringLiteral("newcomer@example.com"), QStringLiteral("a long secret"));
    EXPECT_EQ(logins(), 1);
    EXPECT_EQ(registrations(), 1);
    ASSERT_TRUE(model.signedInUser());
    EXPECT_EQ(model.signedInUser()->email, QStringLiteral("newcomer@example.com"));
    EXPECT_FALSE(model.didCompleteAsReturningUser());
    EXPECT_EQ(model.step(), Step::character);
    EXPECT_FALSE(model.isAuthenticating());
    EXPECT_TRUE(storedToken(QStringLiteral("accessToken")));
}

TEST_F(OnboardingViewModelTest, WrongPasswordShowsTheWrongPasswordTextAndASuccessClearsIt)
{
    submit(seededEmail, QStringLiteral("not the password"));
    EXPECT_EQ(logins(), 1);
    EXPECT_EQ(registrations(), 1);
    EXPECT_EQ(model.errorMessage(), qtTrId("onboarding.auth.wrong_password"));
    EXPECT_FALSE(model.signedInUser());
    EXPECT_FALSE(model.isAuthenticating());
    EXPECT_EQ(model.step(), Step::auth);

    submit(seededEmail, seededPassword);
    EXPECT_FALSE(model.errorMessage());
    EXPECT_TRUE(model.signedInUser());
}

TEST_F(OnboardingViewModelTest, RegistrationRefusedForAnotherReasonShowsTheServiceText)
{
    service().script("POST", QStringLiteral("auth/register"), reply(422, errorEnvelope("WEAK_PASSWORD", "Pick a stronger password.")));
    submit(QStringLiteral("newcomer@example.com"), QStringLiteral("a long secret"));
    EXPECT_EQ(model.errorMessage(), QStringLiteral("Pick a stronger password."));
    EXPECT_FALSE(model.signedInUser());
    EXPECT_EQ(model.step(), Step::auth);
}

// An unreachable service, its faults and its throttling are shown as the
// login's own error and never taken for a new account.
TEST_F(OnboardingViewModelTest, ALoginThatFailsOtherwiseThanRefusedRegistersNothing)
{
    const auto behaving = [](fake::ScriptedReply::Behaviour behaviour) {
        fake::ScriptedReply answer;
        answer.behaviour = behaviour;
        return answer;
    };
    const struct {
        fake::ScriptedReply answer;
        QString shown;
        bool answersOnce; // an answer the client does not try again
    } cases[] = {
        {reply(503, errorEnvelope("MAINTENANCE", "Back in five minutes.")), QStringLiteral("Back in five minutes."), true},
        {reply(502, "<html>bad gateway</html>"), APIError::unknown(502).userMessage(), true},
        {reply(429, errorEnvelope("SLOW_DOWN", "Too many attempts.")), APIError::rateLimited().userMessage(), true},
        {behaving(fake::ScriptedReply::Behaviour::dropConnection), APIError::offline().userMessage(), false},
        {behaving(fake::ScriptedReply::Behaviour::hang), APIError::timeout().userMessage(), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        const int loginsBefore = logins();
        service().scriptAlways("POST", QStringLiteral("auth/login"), c.answer);
        submit(QStringLiteral("newcomer@example.com"), QStringLiteral("a long secret"));
        EXPECT_EQ(model.errorMessage(), c.shown);
        EXPECT_FALSE(model.isAuthenticating());
        EXPECT_TRUE(!c.answersOnce || logins() == loginsBefore + 1) << logins() - loginsBefore << " logins";
        service().clearScripts();
    }
    EXPECT_EQ(registrations(), 0);
    EXPECT_FALSE(model.signedInUser());
}

TEST_F(OnboardingViewModelTest, EmailIsSentWithoutSurroundingSpacesAndThePasswordAsTyped)
{
    const QString password = QStringLiteral(" pass word ");
    submit(QStringLiteral("  newcomer@example.com\t"), password);
    const auto login = service().requests(QStringLiteral("auth/login"));
    const auto registration = service().requests(QStringLiteral("auth/register"));
    ASSERT_EQ(login.size(), 1);
    ASSERT_EQ(registration.size(), 1);
    for (const auto &request : {login.first(), registration.first()}) {
        EXPECT_EQ(bodyOf(request).value("email").toString(), QStringLiteral("newcomer@example.com"));
        EXPECT_EQ(bodyOf(request).value("password").toString(), password);
    }
    EXPECT_EQ(model.email(), QStringLiteral("  newcomer@example.com\t")); // the field keeps what was typed
}
