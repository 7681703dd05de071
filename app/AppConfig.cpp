#include "AppConfig.h"

#include <QtGlobal>

namespace vorlie {
namespace {

QUrl configured(const char *variable, const char *compiledIn)
{
    const QByteArray override = qgetenv(variable);
    const QUrl url(QString::fromUtf8(override.isEmpty() ? QByteArray(compiledIn) : override));
    // A compiled-in literal that does not parse is a build defect.
    if (!url.isValid() || url.scheme().isEmpty())
        qFatal("%s is not a valid URL", variable);
    return url;
}

} // namespace

AppConfig AppConfig::fromEnvironment()
{
    return AppConfig{
        configured("VORLIE_API_BASE_URL", "https://api.vorlia.app/api/v1"),
        configured("VORLIE_AVATAR_BASE_URL", "https://api.dicebear.com"),
    };
}

} // namespace vorlie
