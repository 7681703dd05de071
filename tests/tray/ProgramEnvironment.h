#pragma once

// Where the real program runs when a suite or a bench starts it on an X
// server: against the local fake service and the development push
// distributor, with directories of its own.
#include "DevDistributorHost.h"
#include "FakeServiceHost.h"
#include "push/UnifiedPushConnector.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace vorlie::testing {

inline QProcessEnvironment programEnvironment(const fake::FakeServiceHost &host,
                                              const devpush::DevDistributorHost &distributor, const QTemporaryDir &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORLIE_API_BASE_URL"), host.baseUrl().toString());
    environment.insert(QStringLiteral("VORLIE_AVATAR_BASE_URL"), host.rootUrl().toString());
    environment.insert(QString::fromLatin1(UnifiedPushConnector::distributorVariable), distributor.busName());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        environment.insert(QString::fromLatin1(variable), home.filePath(QString::fromLatin1(variable)));
    // Owner-only, or Qt ignores it and the program would share /tmp/runtime-$USER,
    // and its single-instance socket, with any other copy running on the machine.
    const QString runtime = home.filePath(QStringLiteral("XDG_RUNTIME_DIR"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return environment;
}

} // namespace vorlie::testing
