#include "WordingClock.h"

namespace vorlie {

WordingClock::WordingClock(QObject *parent, std::chrono::milliseconds every)
    : QObject(parent)
{
    m_every.setInterval(every);
    connect(&m_every, &QTimer::timeout, this, &WordingClock::wordingDue);
}

void WordingClock::setInView(bool inView)
{
    if (inView == m_every.isActive())
        return;
    if (inView)
        m_every.start();
    else
        m_every.stop();
    emit inViewChanged();
    // What it showed when it went out of view may be minutes old.
    if (inView)
        emit wordingDue();
}

} // namespace vorlie
