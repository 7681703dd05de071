#include "OnboardingViewModel.h"

#include "observable/AssignIfChanged.h"
#include "repositories/AuthRepository.h"

#include <QPointer>

namespace vorlie {
namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// QString::trimmed() would also eat line breaks, which must still count.
QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// Only a refusal of these credentials suggests that the account may not exist
// yet. Registering after a time-out or a service fault would at best fail the
// same way and at worst hide the real reason behind a misleading one.
bool mayBeNewAccount(const ServiceError &loginError)
{
    const APIError *api = loginError.apiError();
    if (!api)
        return false;
    if (api->kind() == APIError::Kind::unauthorized)
        return true;
    return api->kind() == APIError::Kind::server && api->status() >= 400 && api->status() < 500;
}

} // namespace

std::optional<OnboardingViewModel::Step> OnboardingViewModel::stepFromInt(int raw)
{
    for (Step step : allSteps) {
        if (static_cast<int>(step) == raw)
            return step;
    }
    return std::nullopt;
}

OnboardingViewModel::OnboardingViewModel(AuthRepository &authRepository, QObject *parent)
    : QObject(parent)
    , m_authRepository(authRepository)
{
}

bool OnboardingViewModel::isEmailValid() const
{
    const QString trimmed = trimBlanks(m_email);
    return trimmed.contains(u'@') && trimmed.contains(u'.') && trimmed.size() > 4;
}

QCoro::Task<void> OnboardingViewModel::submit()
{
    if (!isEmailValid() || m_password.size() < minimumPasswordLength)
        co_return;
    const QPointer<OnboardingViewModel> self(this);
    setIsAuthenticating(true);
    const QString email = trimBlanks(m_email);
    const QString password = m_password;

    const Result<User> login = co_await m_authRepository.login(email, password, std::nullopt);
    if (!self)
        co_return;
    if (login) {
        finishSignedIn(*login);
        setDidCompleteAsReturningUser(true);
        setIsAuthenticating(false);
        co_return;
    }
    if (!mayBeNewAccount(login.error())) {
        setErrorMessage(login.error().userMessage());
        setIsAuthenticating(false);
        co_return;
    }

    const Result<User> registration = co_await m_authRepository.registerAccount(email, password, std::nullopt, std::nullopt);
    if (!self)
        co_return;
    if (registration) {
        finishSignedIn(*registration);
        if (m_step < Step::widgetIntro)
            setStep(static_cast<Step>(static_cast<int>(m_step) + 1));
        setIsAuthenticating(false);
        co_return;
    }
    const APIError *api = registration.error().apiError();
    if (!api)
        setErrorMessage(qtTrId("onboarding.auth.generic_error"));
    else if (api->kind() == APIError::Kind::server && api->code() == u"EMAIL_TAKEN")
        // The account exists, so the login before failed on the password.
        setErrorMessage(qtTrId("onboarding.auth.wrong_password"));
    else
        setErrorMessage(api->userMessage());
    setIsAuthenticating(false);
}

void OnboardingViewModel::finishSignedIn(const User &user)
{
    setSignedInUser(user);
    setErrorMessage(std::nullopt);
}

void OnboardingViewModel::setStep(Step step)
{
    assignIfChanged(this, m_step, step, &OnboardingViewModel::stepChanged);
}

void OnboardingViewModel::setEmailAuthStage(EmailAuthStage stage)
{
    assignIfChanged(this, m_emailAuthStage, stage, &OnboardingViewModel::emailAuthStageChanged);
}

void OnboardingViewModel::setEmail(const QString &email)
{
    assignIfChanged(this, m_email, email, &OnboardingViewModel::emailChanged);
}

void OnboardingViewModel::setPassword(const QString &password)
{
    assignIfChanged(this, m_password, password, &OnboardingViewModel::passwordChanged);
}

void OnboardingViewModel::setSignedInUser(const std::optional<User> &user)
{
    assignIfChanged(this, m_signedInUser, user, &OnboardingViewModel::signedInUserChanged);
}

void OnboardingViewModel::setErrorMessage(const std::optional<QString> &message)
{
    assignIfChanged(this, m_errorMessage, message, &OnboardingViewModel::errorMessageChanged);
}

void OnboardingViewModel::setIsAuthenticating(bool running)
{
    assignIfChanged(this, m_isAuthenticating, running, &OnboardingViewModel::isAuthenticatingChanged);
}

void OnboardingViewModel::setDidCompleteAsReturningUser(bool returning)
{
    assignIfChanged(this, m_didCompleteAsReturningUser, returning,
                    &OnboardingViewModel::didCompleteAsReturningUserChanged);
}

} // namespace vorlie
