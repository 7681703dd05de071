#pragma once

#include "ServicesPresenter.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QCoro/QCoroTask>

#include <functional>
#include <memory>

namespace vorlie {

class AppRouter;
class AuthRepository;
class OnboardingViewModel;
class SessionStore;

// What the sign-in form shows and may do: the e-mail-then-password stages,
// when continue and sign-in are enabled, the progress and the error line.
// A successful sign-in is handed to the session store, then push is asked
// for. Its sign-in model is created when the form is first shown and lives
// as long as the form.
class SignInPresenter : public ServicesPresenter {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool ready READ ready NOTIFY changed)
    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY changed)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY changed)
    Q_PROPERTY(bool asksPassword READ asksPassword NOTIFY changed)
    Q_PROPERTY(bool canContinue READ canContinue NOTIFY changed)
    Q_PROPERTY(bool canSignIn READ canSignIn NOTIFY changed)
    Q_PROPERTY(bool isAuthenticating READ isAuthenticating NOTIFY changed)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY changed)

public:
    struct Inputs {
        AuthRepository &auth;
        // Takes the signed-in user.
        SessionStore &session;
        // Carries the address of an account signing in again.
        AppRouter &router;
        // After a sign-in: register for push and ask to show notifications.
        std::function<QCoro::Task<void>()> requestPushAuthorization;
    };

    explicit SignInPresenter(QObject *parent = nullptr);
    // For tests and C++ hosts: bound at once.
    explicit SignInPresenter(const Inputs &inputs, QObject *parent = nullptr);
    ~SignInPresenter() override;

    bool ready() const { return m_viewModel != nullptr; }
    QString email() const;
    QString password() const;
    void setEmail(const QString &email);
    void setPassword(const QString &password);
    bool asksPassword() const;
    bool canContinue() const;
    bool canSignIn() const;
    bool isAuthenticating() const;
    // Empty when there is none.
    QString errorMessage() const;

    // The continue button: on to the password once the e-mail passes.
    Q_INVOKABLE void continueToPassword();
    // The sign-in button; does nothing while it is disabled.
    Q_INVOKABLE void signIn();
    // Return in the e-mail field continues; true when the password field
    // should take the focus.
    Q_INVOKABLE bool acceptEmail();
    // Return in the password field signs in when the button would.
    Q_INVOKABLE void acceptPassword();

signals:
    void changed();

private:
    void bind(AppServices &services) override;
    void use(const Inputs &inputs);
    void completeSignIn();

    // The hand-over outlives the form, never the session.
    QPointer<SessionStore> m_session;
    std::function<QCoro::Task<void>()> m_requestPushAuthorization;
    // Shared with a running sign-in, which may outlive the form: a success
    // replaces the form with the main window before the model is done.
    std::shared_ptr<OnboardingViewModel> m_viewModel;
};

} // namespace vorlie
