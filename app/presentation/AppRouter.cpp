#include "AppRouter.h"

#include "EngineObjects.h"
#include "observable/AssignIfChanged.h"

namespace vorlie {

AppRouter *AppRouterForeign::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedSingleton<AppRouter>(qmlEngine);
}

void AppRouter::open(const AppRoute &route)
{
    if (const auto *invite = std::get_if<app_route::Invite>(&route)) {
        assignIfChanged(this, m_pendingInviteCode, invite->code, &AppRouter::pendingInviteCodeChanged);
        setActiveTab(AppTab::people);
    } else if (const auto *person = std::get_if<app_route::Person>(&route)) {
        if (person->id.isEmpty())
            return;
        assignIfChanged(this, m_focusedPersonId, person->id, &AppRouter::focusedPersonIdChanged);
        setActiveTab(AppTab::people);
    } else if (std::holds_alternative<app_route::StatusPicker>(route)) {
        setStatusPickerPresented(true);
    } else if (std::holds_alternative<app_route::Settings>(route)) {
        setSettingsPresented(true);
    } else {
        setActiveTab(AppTab::home);
    }
}

void AppRouter::setStatusPickerPresented(bool presented)
{
    assignIfChanged(this, m_statusPickerPresented, presented, &AppRouter::isStatusPickerPresentedChanged);
}

void AppRouter::setSettingsPresented(bool presented)
{
    assignIfChanged(this, m_settingsPresented, presented, &AppRouter::isSettingsPresentedChanged);
}

void AppRouter::setActiveTab(AppTab tab)
{
    assignIfChanged(this, m_activeTab, tab, &AppRouter::activeTabChanged);
}

} // namespace vorlie
