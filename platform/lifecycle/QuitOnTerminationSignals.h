#pragma once

#include <QObject>

class QSocketNotifier;

namespace vorlie {

// Ends the event loop on SIGTERM, SIGINT and SIGHUP, so that a session
// ending, a service manager stopping the program or Ctrl+C in a terminal
// quit it as its own Quit does and what it holds back is written out. A
// second signal while quitting takes the default action, so a stuck quit
// can still be ended.
class QuitOnTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitOnTerminationSignals(QObject *parent = nullptr);
    ~QuitOnTerminationSignals() override;
    QuitOnTerminationSignals(const QuitOnTerminationSignals &) = delete;
    QuitOnTerminationSignals &operator=(const QuitOnTerminationSignals &) = delete;

private:
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace vorlie
