#include "SignInPresenter.h"

#include "AppRouter.h"
#include "AppServices.h"
#include "session/SessionStore.h"
#include "viewmodels/OnboardingViewModel.h"

#include <QCoro/QCoroTask>

namespace vorlie {
namespace {

using Stage = OnboardingViewModel::EmailAuthStage;

QCoro::Task<void> submit(std::shared_ptr<OnboardingViewModel> viewModel)
{
    co_await viewModel->submit();
}

// Runs on after the form is gone: only the long-lived services are touched.
QCoro::Task<void> handOver(QPointer<SessionStore> session, std::function<QCoro::Task<void>()> requestPushAuthorization,
                           User user)
{
    co_await session->completeSignIn(std::move(user));
    if (session && requestPushAuthorization)
        co_await requestPushAuthorization();
}

} // namespace

SignInPresenter::SignInPresenter(QObject *parent)
    : ServicesPresenter(parent)
{
}

SignInPresenter::SignInPresenter(const Inputs &inputs, QObject *parent)
    : ServicesPresenter(parent)
{
    use(inputs);
}

SignInPresenter::~SignInPresenter() = default;

void SignInPresenter::bind(AppServices &services)
{
    use({services.authRepository(), services.sessionStore(), services.router(), services.requestPushAuthorization()});
}

void SignInPresenter::use(const Inputs &inputs)
{
    m_session = &inputs.session;
    m_requestPushAuthorization = inputs.requestPushAuthorization;
    m_viewModel = std::make_shared<OnboardingViewModel>(inputs.auth);
    // Signed out to sign in again: the same account, so its address is kept.
    if (const QString email = inputs.router.takeSignInEmail(); !email.isEmpty())
        m_viewModel->setEmail(email);
    OnboardingViewModel *model = m_viewModel.get();
    for (auto signal : {&OnboardingViewModel::emailChanged, &OnboardingViewModel::passwordChanged,
                        &OnboardingViewModel::emailAuthStageChanged, &OnboardingViewModel::isAuthenticatingChanged,
                        &OnboardingViewModel::errorMessageChanged}) {
        connect(model, signal, this, &SignInPresenter::changed);
    }
    connect(model, &OnboardingViewModel::signedInUserChanged, this, &SignInPresenter::completeSignIn);
    emit changed();
}

QString SignInPresenter::email() const
{
    return m_viewModel ? m_viewModel->email() : QString();
}

QString SignInPresenter::password() const
{
    return m_viewModel ? m_viewModel->password() : QString();
}

void SignInPresenter::setEmail(const QString &email)
{
    if (m_viewModel)
        m_viewModel->setEmail(email);
}

void SignInPresenter::setPassword(const QString &password)
{
    if (m_viewModel)
        m_viewModel->setPassword(password);
}

bool SignInPresenter::asksPassword() const
{
    return m_viewModel && m_viewModel->emailAuthStage() == Stage::enterPassword;
}

bool SignInPresenter::canContinue() const
{
    return m_viewModel && m_viewModel->isEmailValid();
}

bool SignInPresenter::canSignIn() const
{
    // The e-mail may have been edited since continuing; a button that would
    // then do nothing is shown disabled instead.
    return asksPassword() && m_viewModel->isEmailValid() && !m_viewModel->isAuthenticating()
        && m_viewModel->password().size() >= OnboardingViewModel::minimumPasswordLength;
}

bool SignInPresenter::isAuthenticating() const
{
    return m_viewModel && m_viewModel->isAuthenticating();
}

QString SignInPresenter::errorMessage() const
{
    return m_viewModel ? m_viewModel->errorMessage().value_or(QString()) : QString();
}

void SignInPresenter::continueToPassword()
{
    if (canContinue())
        m_viewModel->setEmailAuthStage(Stage::enterPassword);
}

void SignInPresenter::signIn()
{
    if (canSignIn())
        QCoro::connect(submit(m_viewModel), this, [] {});
}

bool SignInPresenter::acceptEmail()
{
    continueToPassword();
    return asksPassword();
}

void SignInPresenter::acceptPassword()
{
    signIn();
}

void SignInPresenter::completeSignIn()
{
    const std::optional<User> &user = m_viewModel->signedInUser();
    if (user && m_session)
        QCoro::connect(handOver(m_session, m_requestPushAuthorization, *user), m_session.data(), [] {});
}

} // namespace vorlie
