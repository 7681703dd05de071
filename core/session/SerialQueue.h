#pragma once

#include <QObject>
#include <coroutine>
#include <deque>
#include <memory>

namespace vorlie {

// Runs asynchronous operations one at a time on the event loop:
// `auto turn = co_await queue.enter();` waits until every earlier holder has
// released its turn. Waiters resume through the event loop, in arrival order,
// never nested inside the releasing call. A turn that outlives its queue
// (its owner was destroyed while an operation was suspended) releases nothing,
// and the waiters left behind are never resumed.
class SerialQueue {
    struct State {
        QObject *context; // null once the queue is gone
        bool busy = false;
        std::deque<std::coroutine_handle<>> waiters;

        void release()
        {
            if (!context)
                return;
            if (waiters.empty()) {
                busy = false;
                return;
            }
            // The queue stays busy: the turn passes straight to the next waiter.
            const std::coroutine_handle<> next = waiters.front();
            waiters.pop_front();
            QMetaObject::invokeMethod(context, [next] { next.resume(); }, Qt::QueuedConnection);
        }
    };

public:
    explicit SerialQueue(QObject *context) : m_state(std::make_shared<State>(State{context, false, {}})) {}
    // A waiter's pending entry keeps the state alive: it must not reach the
    // destroyed owner through it.
    ~SerialQueue() { m_state->context = nullptr; }
    SerialQueue(const SerialQueue &) = delete;
    SerialQueue &operator=(const SerialQueue &) = delete;

    class Turn {
    public:
        explicit Turn(std::weak_ptr<State> queue) : m_queue(std::move(queue)) {}
        Turn(Turn &&other) noexcept = default;
        Turn &operator=(Turn &&) = delete;
        Turn(const Turn &) = delete;
        Turn &operator=(const Turn &) = delete;
        ~Turn()
        {
            if (const std::shared_ptr<State> queue = m_queue.lock())
                queue->release();
        }

    private:
        std::weak_ptr<State> m_queue;
    };

    class EnterAwaiter {
    public:
        explicit EnterAwaiter(std::shared_ptr<State> queue) : m_queue(std::move(queue)) {}
        bool await_ready() const
        {
            if (m_queue->busy)
                return false;
            m_queue->busy = true;
            return true;
        }
        void await_suspend(std::coroutine_handle<> waiter) { m_queue->waiters.push_back(waiter); }
        Turn await_resume() { return Turn(m_queue); }

    private:
        std::shared_ptr<State> m_queue;
    };

    EnterAwaiter enter() { return EnterAwaiter(m_state); }
    // Whether enter() would give the turn at once.
    bool isIdle() const { return !m_state->busy; }

private:
    std::shared_ptr<State> m_state;
};

} // namespace vorlie
