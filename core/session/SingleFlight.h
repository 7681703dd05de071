#pragma once

#include <QObject>
#include <QCoro/QCoroSignal>
#include <QCoro/QCoroTask>
#include <memory>
#include <optional>

namespace vorlie {

namespace detail {
class FlightDone : public QObject {
    Q_OBJECT
signals:
    void finished();
};
} // namespace detail

// One running task that every caller joins instead of starting its own. The
// task belongs to the flight, not to a caller: a caller that stops waiting
// does not stop it. Lives inside `context`, which bounds the task.
template<typename T>
class SingleFlight {
public:
    explicit SingleFlight(QObject *context) : m_context(context) {}

    bool isRunning() const { return m_running != nullptr; }

    // The next join starts a new task; the running one still ends for those
    // already waiting on it.
    void forget() { m_running.reset(); }

    // Joins the running task, or starts `work()` when there is none.
    template<typename Work>
    QCoro::Task<T> join(Work work)
    {
        std::shared_ptr<Flight> flight = m_running;
        if (!flight) {
            flight = std::make_shared<Flight>();
            m_running = flight;
            QCoro::connect(work(), m_context, [this, flight](T result) {
                if (m_running == flight)
                    m_running.reset();
                flight->result = std::move(result);
                emit flight->done.finished();
            });
        }
        if (!flight->result)
            co_await qCoro(&flight->done, &detail::FlightDone::finished);
        co_return T(*flight->result); // a copy: every joiner gets the result
    }

private:
    struct Flight {
        std::optional<T> result;
        detail::FlightDone done;
    };

    QObject *m_context;
    std::shared_ptr<Flight> m_running;
};

} // namespace vorlie
