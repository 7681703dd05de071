#pragma once

#include "prefs/AppLanguage.h"
#include "prefs/SharedDefaults.h"

#include <QObject>

#include <functional>

namespace vorlie {

class TextLookup;

// The interface language picked in the settings. A change is stored for the
// widget extension, applied to this process at once and followed by a reload
// request so the widget starts over in the new language.
class LanguageSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(vorlie::app_language::AppLanguage selection READ selection WRITE setSelection NOTIFY selectionChanged)

public:
    // `reloadAllTimelines` asks the desktop to rebuild the widgets.
    LanguageSettings(SharedDefaults defaults, TextLookup &lookup, std::function<void()> reloadAllTimelines,
                     QObject *parent = nullptr);

    AppLanguage selection() const { return m_selection; }
    void setSelection(AppLanguage selection);

signals:
    void selectionChanged();

private:
    SharedDefaults m_defaults;
    TextLookup &m_lookup;
    std::function<void()> m_reloadAllTimelines;
    AppLanguage m_selection;
};

} // namespace vorlie
