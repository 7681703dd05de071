#pragma once

#include "InstanceRequest.h"

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <optional>

namespace vorlie {

class InstanceRequests;

// The first step of every launch, taken before any application object or
// display connection exists: find the running instance and hand it the
// request, or hold the right to become the running instance.
class LaunchClaim {
public:
    enum class Outcome {
        first,      // nobody runs: this process may listen (SingleInstance::listen)
        forwarded,  // the running instance took the request
        unanswered, // an instance listens but did not take the request in time
        undecided,  // another launch held the claim too long: run without listening
    };

    // "<runtime dir>/vorlie-<uid>.socket"; the runtime dir is XDG_RUNTIME_DIR
    // or Qt's private fallback, both readable by this user only.
    explicit LaunchClaim(QString socketPath = defaultSocketPath());

    // With no request, a running instance is only looked for, not disturbed.
    Outcome handOver(const std::optional<InstanceRequest> &request);

    const QString &socketPath() const { return m_socketPath; }
    static QString defaultSocketPath();

private:
    friend class SingleInstance;

    QString m_socketPath;
    // Held from a failed look-up until listening, so that two launches at once
    // never both find nobody and both listen.
    QLockFile m_lock;
};

// The running instance's end of the socket: reads requests of later launches
// and delivers them to `requests`.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(InstanceRequests &requests, QObject *parent = nullptr);

    // Call once the application object exists, after handOver() gave `first`.
    // False when the socket cannot be set up; the program then runs alone.
    bool listen(LaunchClaim &claim);

private:
    void acceptConnections();

    InstanceRequests &m_requests;
    QLocalServer m_server;
};

} // namespace vorlie
