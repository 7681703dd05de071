#pragma once

#include "prefs/StandardDefaults.h"

#include <QObject>

namespace vorlie {

// Whether the menu-bar item is shown. The flag is only stored once the user
// changes it; until then, and for any value that is not a truth value, the
// item is shown.
class MenuBarPreferences : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isIconEnabled READ isIconEnabled WRITE setIconEnabled NOTIFY isIconEnabledChanged)

public:
    explicit MenuBarPreferences(StandardDefaults defaults, QObject *parent = nullptr);

    bool isIconEnabled() const { return m_isIconEnabled; }
    void setIconEnabled(bool enabled);

signals:
    void isIconEnabledChanged();

private:
    StandardDefaults m_defaults;
    bool m_isIconEnabled;
};

} // namespace vorlie
