#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <chrono>

namespace vorlie::testing {

// Runs the event loop until `done` holds or the deadline passes.
template<typename Predicate>
bool spinUntil(Predicate done, std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    const QDeadlineTimer deadline(limit);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace vorlie::testing
