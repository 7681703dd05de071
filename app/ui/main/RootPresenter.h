#pragma once

#include "ServicesPresenter.h"

#include <QObject>
#include <QQmlEngine>

#include <optional>

namespace vorlie {

class AppRouter;
class SessionStore;
class TextLookup;

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

    struct Inputs {
        const SessionStore &session;
        const TextLookup &texts;
        // Its sheets close when the main content goes.
        AppRouter &router;
    };

    explicit RootPresenter(QObject *parent = nullptr);
    // For tests and C++ hosts: bound at once.
    explicit RootPresenter(const Inputs &inputs, QObject *parent = nullptr);

    Screen screen() const { return m_screen; }
    bool showsSignIn() const { return m_screen == Screen::signIn; }
    bool showsMain() const { return m_screen == Screen::main; }
    QString keyringMessage() const { return m_keyringMessage; }

signals:
    void screenChanged();
    void keyringMessageChanged();

private:
    void bind(AppServices &services) override;
    void use(const Inputs &inputs);
    void update();
    void updateKeyringMessage();

    std::optional<Inputs> m_in;
    Screen m_screen = Screen::splash;
    QString m_keyringMessage;
};

} // namespace vorlie
