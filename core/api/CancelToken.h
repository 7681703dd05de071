#pragma once

#include <QObject>
#include <memory>

namespace vorlie {

namespace detail {
class CancelState : public QObject {
    Q_OBJECT
public:
    bool cancelled = false;
signals:
    void cancelRequested();
};
} // namespace detail

// Lets the caller of a service call cancel it. A default-constructed token is
// never cancelled; copies share one state.
class CancelToken {
public:
    CancelToken() = default;
    static CancelToken make() { return CancelToken(std::make_shared<detail::CancelState>()); }

    void cancel() const
    {
        if (m_state && !m_state->cancelled) {
            m_state->cancelled = true;
            emit m_state->cancelRequested();
        }
    }
    bool isCancelled() const { return m_state && m_state->cancelled; }
    // Emits cancelRequested(); nullptr for a token that can never be cancelled.
    detail::CancelState *notifier() const { return m_state.get(); }

private:
    explicit CancelToken(std::shared_ptr<detail::CancelState> state) : m_state(std::move(state)) {}
    std::shared_ptr<detail::CancelState> m_state;
};

} // namespace vorlie
