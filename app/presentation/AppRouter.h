#pragma once

#include <QObject>
#include <QQmlEngine>
#include <QString>
#include <utility>
#include <variant>

namespace vorlie {

namespace app_route {
struct Invite { QString code; };
struct Person { QString id; };
struct StatusPicker {};
struct Settings {};
struct Home {};
} // namespace app_route

// Where the router can be asked to go.
using AppRoute = std::variant<app_route::Invite, app_route::Person, app_route::StatusPicker, app_route::Settings,
                              app_route::Home>;

// The application's small navigation state: the tab, the person in focus,
// and whether the status picker or the settings are presented. Owned by the
// composition root; every change notifies only when a value really changes.
class AppRouter : public QObject {
    Q_OBJECT
    Q_PROPERTY(AppTab activeTab READ activeTab NOTIFY activeTabChanged)
    Q_PROPERTY(QString pendingInviteCode READ pendingInviteCode NOTIFY pendingInviteCodeChanged)
    Q_PROPERTY(QString focusedPersonId READ focusedPersonId NOTIFY focusedPersonIdChanged)
    Q_PROPERTY(bool isStatusPickerPresented READ isStatusPickerPresented WRITE setStatusPickerPresented NOTIFY
                   isStatusPickerPresentedChanged)
    Q_PROPERTY(bool isSettingsPresented READ isSettingsPresented WRITE setSettingsPresented NOTIFY
                   isSettingsPresentedChanged)

public:
    enum class AppTab { home, people, profile };
    Q_ENUM(AppTab)

    using QObject::QObject;

    AppTab activeTab() const { return m_activeTab; }
    // Empty when there is none.
    const QString &pendingInviteCode() const { return m_pendingInviteCode; }
    const QString &focusedPersonId() const { return m_focusedPersonId; }
    bool isStatusPickerPresented() const { return m_statusPickerPresented; }
    bool isSettingsPresented() const { return m_settingsPresented; }

    void open(const AppRoute &route);
    // The views close what they present.
    void setStatusPickerPresented(bool presented);
    void setSettingsPresented(bool presented);
    // The address the next sign-in form starts with, taken by that form.
    void setSignInEmail(QString email) { m_signInEmail = std::move(email); }
    QString takeSignInEmail() { return std::exchange(m_signInEmail, QString()); }

signals:
    void activeTabChanged();
    void pendingInviteCodeChanged();
    void focusedPersonIdChanged();
    void isStatusPickerPresentedChanged();
    void isSettingsPresentedChanged();

private:
    void setActiveTab(AppTab tab);

    AppTab m_activeTab = AppTab::home;
    QString m_pendingInviteCode;
    QString m_focusedPersonId;
    bool m_statusPickerPresented = false;
    bool m_settingsPresented = false;
    QString m_signInEmail;
};

// The router as QML's `AppRouter` singleton: the composition root's own. A
// separate declaration because Qt 6.4 builds a default-constructible
// singleton with its constructor and would ignore a create() on the class.
struct AppRouterForeign {
    Q_GADGET
    QML_FOREIGN(vorlie::AppRouter)
    QML_NAMED_ELEMENT(AppRouter)
    QML_SINGLETON

public:
    static AppRouter *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);
};

} // namespace vorlie
