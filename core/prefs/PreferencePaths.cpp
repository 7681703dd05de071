#include "PreferencePaths.h"

#include <QStandardPaths>

namespace vorlie {

PreferencePaths PreferencePaths::under(const QString &configDir)
{
    const QString dir = configDir + QStringLiteral("/vorlie/");
    return {dir + QStringLiteral("group.com.vorlia.app.ini"), dir + QStringLiteral("vorlie.ini")};
}

PreferencePaths PreferencePaths::forUser()
{
    return under(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

} // namespace vorlie
