#pragma once

#include <QUrl>

namespace vorlie {

// Compiled-in configuration. For development and tests the two base URLs can
// be pointed elsewhere with VORLIE_API_BASE_URL and VORLIE_AVATAR_BASE_URL.
struct AppConfig {
    QUrl apiBaseURL;
    QUrl avatarBaseURL;

    static AppConfig fromEnvironment();
};

} // namespace vorlie
