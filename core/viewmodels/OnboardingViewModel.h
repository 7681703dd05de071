#pragma once

#include "domain/User.h"

#include <QObject>
#include <QString>
#include <QCoro/QCoroTask>
#include <array>
#include <optional>

namespace vorlie {

class AuthRepository;

// Behind the sign-in screen: the typed e-mail and password, whether they may
// be sent, and one combined sign-in that logs in and, when the account does
// not seem to exist, registers it. The screen hands signedInUser on to the
// session store; this model never touches it. Main thread only; every setter
// notifies only on a real change.
class OnboardingViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(Step step READ step WRITE setStep NOTIFY stepChanged)
    Q_PROPERTY(std::optional<vorlie::User> signedInUser READ signedInUser NOTIFY signedInUserChanged)
    Q_PROPERTY(std::optional<QString> errorMessage READ errorMessage NOTIFY errorMessageChanged)
    Q_PROPERTY(bool isAuthenticating READ isAuthenticating NOTIFY isAuthenticatingChanged)
    Q_PROPERTY(bool didCompleteAsReturningUser READ didCompleteAsReturningUser NOTIFY didCompleteAsReturningUserChanged)
    Q_PROPERTY(EmailAuthStage emailAuthStage READ emailAuthStage WRITE setEmailAuthStage NOTIFY emailAuthStageChanged)
    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY emailChanged)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY passwordChanged)
    Q_PROPERTY(bool isEmailValid READ isEmailValid NOTIFY emailChanged)

public:
    enum class Step { intro = 0, auth = 1, character = 2, connect = 3, widgetIntro = 4 };
    Q_ENUM(Step)
    enum class EmailAuthStage { enterEmail, enterPassword };
    Q_ENUM(EmailAuthStage)

    static constexpr std::array<Step, 5> allSteps{Step::intro, Step::auth, Step::character, Step::connect,
                                                  Step::widgetIntro};
    // None outside 0 to 4.
    static std::optional<Step> stepFromInt(int raw);

    static constexpr int minimumPasswordLength = 8;

    explicit OnboardingViewModel(AuthRepository &authRepository, QObject *parent = nullptr);

    Step step() const { return m_step; }
    const std::optional<User> &signedInUser() const { return m_signedInUser; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    bool isAuthenticating() const { return m_isAuthenticating; }
    bool didCompleteAsReturningUser() const { return m_didCompleteAsReturningUser; }
    EmailAuthStage emailAuthStage() const { return m_emailAuthStage; }
    const QString &email() const { return m_email; }
    const QString &password() const { return m_password; }

    void setStep(Step step);
    void setEmailAuthStage(EmailAuthStage stage);
    void setEmail(const QString &email);
    void setPassword(const QString &password);

    // Ignores only spaces and tabs at both ends; a line break counts.
    bool isEmailValid() const;
    // Does nothing unless the e-mail is valid and the password long enough.
    // A second call while one runs is not refused.
    QCoro::Task<void> submit();

signals:
    void stepChanged();
    void signedInUserChanged();
    void errorMessageChanged();
    void isAuthenticatingChanged();
    void didCompleteAsReturningUserChanged();
    void emailAuthStageChanged();
    void emailChanged();
    void passwordChanged();

private:
    void finishSignedIn(const User &user);
    void setSignedInUser(const std::optional<User> &user);
    void setErrorMessage(const std::optional<QString> &message);
    void setIsAuthenticating(bool running);
    void setDidCompleteAsReturningUser(bool returning);

    AuthRepository &m_authRepository;
    Step m_step = Step::intro;
    std::optional<User> m_signedInUser;
    std::optional<QString> m_errorMessage;
    bool m_isAuthenticating = false;
    bool m_didCompleteAsReturningUser = false;
    EmailAuthStage m_emailAuthStage = EmailAuthStage::enterEmail;
    QString m_email;
    QString m_password;
};

} // namespace vorlie
