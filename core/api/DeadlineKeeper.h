#pragma once

#include <QBasicTimer>
#include <QDeadlineTimer>
#include <QObject>
#include <algorithm>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;

namespace vorlie {

// Watches the time limits of every exchange on one network manager with a
// single timer, so an exchange does not pay for a timer of its own. It is a
// child of the manager and lives in its thread.
class DeadlineKeeper : public QObject {
    Q_OBJECT
public:
    // One exchange's limits: the longest silence, and twice that for the
    // whole exchange, which a body trickled in byte by byte would otherwise
    // stretch for ever. Times are from now().
    struct Watch {
        QNetworkReply *reply = nullptr;
        qint64 silenceMs = 0;
        qint64 startedMs = 0;
        qint64 lastHeardMs = 0;
        bool timedOut = false;

        qint64 dueMs() const { return std::min(lastHeardMs + silenceMs, startedMs + 2 * silenceMs); }
    };

    static DeadlineKeeper &of(QNetworkAccessManager &network);

    // Monotonic milliseconds.
    static qint64 now() { return QDeadlineTimer::current().deadline(); }
    // Aborts the watch's reply once it is due, and marks it timed out.
    void add(Watch &watch);
    void remove(const Watch &watch);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    explicit DeadlineKeeper(QObject *parent);
    void armFor(qint64 dueMs);

    QBasicTimer m_timer;
    qint64 m_armedForMs = 0;
    std::vector<Watch *> m_watches;
};

} // namespace vorlie
