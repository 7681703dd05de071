#include "MenuBarPreferences.h"

#include "prefs/PreferenceKeys.h"

namespace vorlie {

MenuBarPreferences::MenuBarPreferences(StandardDefaults defaults, QObject *parent)
    : QObject(parent),
      m_defaults(std::move(defaults)),
      m_isIconEnabled(m_defaults.truth(prefkeys::menuBarIconEnabled()).value_or(true))
{
}

void MenuBarPreferences::setIconEnabled(bool enabled)
{
    if (enabled == m_isIconEnabled)
        return;
    m_defaults.setTruth(prefkeys::menuBarIconEnabled(), enabled);
    m_isIconEnabled = enabled;
    emit isIconEnabledChanged();
}

} // namespace vorlie
