#include "DeadlineKeeper.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimerEvent>
#include <algorithm>
#include <limits>

namespace vorlie {

DeadlineKeeper::DeadlineKeeper(QObject *parent) : QObject(parent) {}

DeadlineKeeper &DeadlineKeeper::of(QNetworkAccessManager &network)
{
    if (auto *keeper = network.findChild<DeadlineKeeper *>(QString(), Qt::FindDirectChildrenOnly))
        return *keeper;
    return *new DeadlineKeeper(&network);
}

void DeadlineKeeper::add(Watch &watch)
{
    m_watches.push_back(&watch);
    const qint64 due = watch.dueMs();
    if (!m_timer.isActive() || due < m_armedForMs)
        armFor(due);
}

void DeadlineKeeper::remove(const Watch &watch)
{
    const auto found = std::find(m_watches.begin(), m_watches.end(), &watch);
    if (found == m_watches.end())
        return;
    *found = m_watches.back();
    m_watches.pop_back();
    // With nothing left to watch a waiting program must not be woken by a
    // tick that finds nothing due.
    if (m_watches.empty())
        m_timer.stop();
}

void DeadlineKeeper::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    m_timer.stop();
    const qint64 current = now();
    std::vector<QNetworkReply *> due;
    qint64 next = -1;
    for (Watch *watch : m_watches) {
        if (watch->timedOut)
            continue;
        const qint64 at = watch->dueMs();
        if (at <= current) {
            watch->timedOut = true;
            due.push_back(watch->reply);
        } else if (next < 0 || at < next) {
            next = at;
        }
    }
    if (next >= 0)
        armFor(next);
    // Aborted only now: an abort may finish an exchange, which removes its watch.
    for (QNetworkReply *reply : due)
        reply->abort();
}

void DeadlineKeeper::armFor(qint64 dueMs)
{
    m_armedForMs = dueMs;
    m_timer.start(int(std::clamp<qint64>(dueMs - now(), 0, std::numeric_limits<int>::max())), this);
}

} // namespace vorlie
