#include "LanguageSettings.h"

#include "i18n/TextLookup.h"

namespace vorlie {

LanguageSettings::LanguageSettings(SharedDefaults defaults, TextLookup &lookup,
                                   std::function<void()> reloadAllTimelines, QObject *parent)
    : QObject(parent),
      m_defaults(std::move(defaults)),
      m_lookup(lookup),
      m_reloadAllTimelines(std::move(reloadAllTimelines)),
      m_selection(readStoredLanguage(m_defaults))
{
}

void LanguageSettings::setSelection(AppLanguage selection)
{
    if (selection == m_selection)
        return;
    // A failed write still changes this session's language; the widget
    // then keeps the old one until the next successful write.
    writeStoredLanguage(m_defaults, selection);
    m_lookup.apply(selection);
    if (m_reloadAllTimelines)
        m_reloadAllTimelines();
    m_selection = selection;
    emit selectionChanged();
}

} // namespace vorlie
