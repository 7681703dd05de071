#pragma once

#include "ServicesPresenter.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

namespace vorlie {

class AppServices;

// Which screen the main window shows, from the session's sign-in state:
// the splash until it is known, then the sign-in form or the main content.
// Also whether the keyring can keep the session: a sign-in it cannot keep
// must not look like one that lasts, before or after it happens.
class RootPresenter : public ServicesPresenter {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Screen screen READ screen NOTIFY screenChanged)
    // For QML, which cannot name lower-case enum keys.
    Q_PROPERTY(bool showsSignIn READ showsSignIn NOTIFY screenChanged)
    Q_PROPERTY(bool showsMain READ showsMain NOTIFY screenChanged)
    // Empty while the keyring takes the tokens.
    Q_PROPERTY(QString keyringMessage READ keyringMessage NOTIFY keyringMessageChanged)

public:
    enum class Screen { splash, signIn, main };
    Q_ENUM(Screen)

    explicit RootPresenter(QObject *parent = nullptr);
    // For tests and C++ hosts: bound to `services` at once.
    explicit RootPresenter(AppServices &services, QObject *parent = nullptr);

    Screen screen() const { return m_screen; }
    bool showsSignIn() const { return m_screen == Screen::signIn; }
    bool showsMain() const { return m_screen == Screen::main; }
    QString keyringMessage() const { return m_keyringMessage; }

signals:
    void screenChanged();
    void keyringMessageChanged();

private:
    void bind(AppServices &services) override;
    void update();
    void updateKeyringMessage();

    QPointer<AppServices> m_services;
    Screen m_screen = Screen::splash;
    QString m_keyringMessage;
};

} // namespace vorlie
