#pragma once

#include "ServicesPresenter.h"

#include <QDateTime>
#include <QObject>
#include <QQmlEngine>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <optional>

namespace vorlie {

class AppRouter;
class LanguageSettings;
class SessionStore;
class TextLookup;

// What the panel and the main window show of the session, as plain values:
// the main person's card, the connection to them, one's own status and how
// the last sync went. Every rule about what is shown lives here; the views
// only lay it out. Created by a view; while `active` (its window shown) the
// relative "updated" text is kept current once a minute.
class HomePresenter : public ServicesPresenter {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool active READ active WRITE setActive NOTIFY activeChanged)
    Q_PROPERTY(bool hasMainPerson READ hasMainPerson NOTIFY changed)
    Q_PROPERTY(QString mainPersonId READ mainPersonId NOTIFY changed)
    Q_PROPERTY(QString mainPersonName READ mainPersonName NOTIFY changed)
    Q_PROPERTY(QUrl panelAvatarURL READ panelAvatarURL NOTIFY changed)
    Q_PROPERTY(QUrl cardAvatarURL READ cardAvatarURL NOTIFY changed)
    Q_PROPERTY(QString mainVisualState READ mainVisualState NOTIFY changed)
    Q_PROPERTY(bool showsStatus READ showsStatus NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    Q_PROPERTY(QString statusEmoji READ statusEmoji NOTIFY changed)
    Q_PROPERTY(QString updatedLabel READ updatedLabel NOTIFY changed)
    Q_PROPERTY(QString statusId READ statusId NOTIFY changed)
    Q_PROPERTY(QString connectionText READ connectionText NOTIFY changed)
    Q_PROPERTY(bool connectionAccepted READ connectionAccepted NOTIFY changed)
    Q_PROPERTY(bool hasCurrentUser READ hasCurrentUser NOTIFY changed)
    Q_PROPERTY(QUrl ownAvatarURL READ ownAvatarURL NOTIFY changed)
    Q_PROPERTY(QString ownVisualState READ ownVisualState NOTIFY changed)
    Q_PROPERTY(QString ownStatusText READ ownStatusText NOTIFY changed)
    Q_PROPERTY(bool isSyncing READ isSyncing NOTIFY changed)
    Q_PROPERTY(QString syncErrorMessage READ syncErrorMessage NOTIFY changed)
    // "Offline · updated 5 min. ago" while the service cannot be reached; empty otherwise.
    Q_PROPERTY(QString offlineText READ offlineText NOTIFY changed)
    // The tokens are gone: the banner offers to sign in again.
    Q_PROPERTY(bool offersSignInAgain READ offersSignInAgain NOTIFY changed)

public:
    // Avatar sizes of the panel, the main window's card and its own-status row.
    static constexpr int panelAvatarPoints = 44;
    static constexpr int cardAvatarPoints = 92;
    static constexpr int ownAvatarPoints = 36;

    struct State {
        bool hasMainPerson = false;
        QString mainPersonId;
        QString mainPersonName;
        QUrl panelAvatarURL;
        QUrl cardAvatarURL;
        QString mainVisualState = QStringLiteral("neutral");
        bool showsStatus = false;
        QString statusText;
        QString statusEmoji;
        QString updatedLabel;
        QString statusId;
        QString connectionText;
        bool connectionAccepted = false;
        bool hasCurrentUser = false;
        QUrl ownAvatarURL;
        QString ownVisualState = QStringLiteral("neutral");
        QString ownStatusText;
        bool isSyncing = false;
        QString syncErrorMessage;
        QString offlineText;
        bool offersSignInAgain = false;

        friend bool operator==(const State &, const State &) = default;
    };

    struct Inputs {
        // Shown, refreshed, and signed out of to sign in again.
        SessionStore &session;
        // Carries the address of an account signing in again.
        AppRouter &router;
        const TextLookup &texts;
        // Dates and times are written the interface language's way.
        const LanguageSettings &language;
        // The avatar rendering service's root address.
        QUrl avatarBaseURL;
        std::function<QDateTime()> now;
    };

    explicit HomePresenter(QObject *parent = nullptr);
    // For tests and C++ hosts: bound at once.
    explicit HomePresenter(const Inputs &inputs, QObject *parent = nullptr);

    bool active() const { return m_active; }
    void setActive(bool active);

    const State &state() const { return m_state; }
    bool hasMainPerson() const { return m_state.hasMainPerson; }
    QString mainPersonId() const { return m_state.mainPersonId; }
    QString mainPersonName() const { return m_state.mainPersonName; }
    QUrl panelAvatarURL() const { return m_state.panelAvatarURL; }
    QUrl cardAvatarURL() const { return m_state.cardAvatarURL; }
    QString mainVisualState() const { return m_state.mainVisualState; }
    bool showsStatus() const { return m_state.showsStatus; }
    QString statusText() const { return m_state.statusText; }
    QString statusEmoji() const { return m_state.statusEmoji; }
    QString updatedLabel() const { return m_state.updatedLabel; }
    QString statusId() const { return m_state.statusId; }
    QString connectionText() const { return m_state.connectionText; }
    bool connectionAccepted() const { return m_state.connectionAccepted; }
    bool hasCurrentUser() const { return m_state.hasCurrentUser; }
    QUrl ownAvatarURL() const { return m_state.ownAvatarURL; }
    QString ownVisualState() const { return m_state.ownVisualState; }
    QString ownStatusText() const { return m_state.ownStatusText; }
    bool isSyncing() const { return m_state.isSyncing; }
    QString syncErrorMessage() const { return m_state.syncErrorMessage; }
    QString offlineText() const { return m_state.offlineText; }
    bool offersSignInAgain() const { return m_state.offersSignInAgain; }

    // One shared sync: the on-appear refresh and the banner's retry.
    Q_INVOKABLE void refresh();
    // Signs out and opens the sign-in form with the account's address filled in.
    Q_INVOKABLE void signInAgain();

signals:
    void activeChanged();
    void changed();

private:
    void bind(AppServices &services) override;
    void use(const Inputs &inputs);
    void update();
    State compute() const;

    std::optional<Inputs> m_in;
    bool m_active = false;
    QTimer m_minute;
    State m_state;
};

} // namespace vorlie
