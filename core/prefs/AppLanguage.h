#pragma once

#include <QLocale>
#include <QObject>
#include <QString>

namespace vorlie {

class SharedDefaults;

// A namespace of its own so that its meta-object (which QML needs to see the
// enum) does not collide with any other in vorlie.
namespace app_language {
Q_NAMESPACE

// The interface language chosen in the application.
enum class AppLanguage { device, german, english };
Q_ENUM_NS(AppLanguage)

} // namespace app_language

using app_language::AppLanguage;

// "device", "de", "en".
QString storedText(AppLanguage language);
// Anything but "de" or "en" is the device language.
AppLanguage appLanguageFromStoredText(QStringView text);

// The "appLanguage" preference; absent or foreign values read as device.
AppLanguage readStoredLanguage(const SharedDefaults &defaults);
bool writeStoredLanguage(const SharedDefaults &defaults, AppLanguage language);

// The language code sent to the service: the system's language for device,
// "en" when the system names none.
QString localeCode(AppLanguage language);
// Dates and numbers follow this locale, even when no table of texts exists.
QLocale formattingLocale(AppLanguage language);

} // namespace vorlie
