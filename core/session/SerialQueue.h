#pragma once

#include <QObject>
#include <coroutine>
#include <deque>

namespace vorlie {

// Runs asynchronous operations one at a time on the event loop:
// `auto turn = co_await queue.enter();` waits until every earlier holder has
// released its turn. Waiters resume through the event loop, in arrival order,
// never nested inside the releasing call.
class SerialQueue {
public:
    explicit SerialQueue(QObject *context) : m_context(context) {}
    SerialQueue(const SerialQueue &) = delete;
    SerialQueue &operator=(const SerialQueue &) = delete;

    class Turn {
    public:
        explicit Turn(SerialQueue *queue) : m_queue(queue) {}
        Turn(Turn &&other) noexcept : m_queue(std::exchange(other.m_queue, nullptr)) {}
        Turn &operator=(Turn &&) = delete;
        Turn(const Turn &) = delete;
        Turn &operator=(const Turn &) = delete;
        ~Turn()
        {
            if (m_queue)
                m_queue->release();
        }

    private:
        SerialQueue *m_queue;
    };

    class EnterAwaiter {
    public:
        explicit EnterAwaiter(SerialQueue &queue) : m_queue(queue) {}
        bool await_ready() const
        {
            if (m_queue.m_busy)
                return false;
            m_queue.m_busy = true;
            return true;
        }
        void await_suspend(std::coroutine_handle<> waiter) { m_queue.m_waiters.push_back(waiter); }
        Turn await_resume() { return Turn(&m_queue); }

    private:
        SerialQueue &m_queue;
    };

    EnterAwaiter enter() { return EnterAwaiter(*this); }

private:
    void release()
    {
        if (m_waiters.empty()) {
            m_busy = false;
            return;
        }
        // The queue stays busy: the turn passes straight to the next waiter.
        const std::coroutine_handle<> next = m_waiters.front();
        m_waiters.pop_front();
        QMetaObject::invokeMethod(m_context, [next] { next.resume(); }, Qt::QueuedConnection);
    }

    QObject *m_context;
    bool m_busy = false;
    std::deque<std::coroutine_handle<>> m_waiters;
};

} // namespace vorlie
