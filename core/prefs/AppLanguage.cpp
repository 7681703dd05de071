#include "AppLanguage.h"

#include "PreferenceKeys.h"
#include "SharedDefaults.h"

namespace vorlie {

QString storedText(AppLanguage language)
{
    switch (language) {
    case AppLanguage::device: return QStringLiteral("device");
    case AppLanguage::german: return QStringLiteral("de");
    case AppLanguage::english: return QStringLiteral("en");
    }
    return QStringLiteral("device");
}

AppLanguage appLanguageFromStoredText(QStringView text)
{
    if (text == u"de")
        return AppLanguage::german;
    if (text == u"en")
        return AppLanguage::english;
    return AppLanguage::device;
}

AppLanguage readStoredLanguage(const SharedDefaults &defaults)
{
    const auto text = defaults.text(prefkeys::appLanguage());
    return text ? appLanguageFromStoredText(*text) : AppLanguage::device;
}

bool writeStoredLanguage(const SharedDefaults &defaults, AppLanguage language)
{
    return defaults.setText(prefkeys::appLanguage(), storedText(language));
}

QString localeCode(AppLanguage language)
{
    switch (language) {
    case AppLanguage::german: return QStringLiteral("de");
    case AppLanguage::english: return QStringLiteral("en");
    case AppLanguage::device: break;
    }
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C || system.language() == QLocale::AnyLanguage)
        return QStringLiteral("en");
    const QString code = QLocale::languageToCode(system.language());
    return code.isEmpty() ? QStringLiteral("en") : code;
}

QLocale formattingLocale(AppLanguage language)
{
    switch (language) {
    case AppLanguage::german: return QLocale(QLocale::German);
    case AppLanguage::english: return QLocale(QLocale::English);
    case AppLanguage::device: break;
    }
    return QLocale::system();
}

} // namespace vorlie
