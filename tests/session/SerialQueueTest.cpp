// The one-at-a-time queue behind the session's operations, when its owner
// goes while a turn is held and another operation waits.
#include "session/SerialQueue.h"

#include <QCoreApplication>
#include <QObject>
#include <coroutine>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

using namespace vorlie;

namespace {

// An operation that waits its turn; the test owns its frame and ends it.
struct Operation {
    struct promise_type {
        Operation get_return_object() { return Operation{std::coroutine_handle<promise_type>::from_promise(*this)}; }
        std::suspend_never initial_suspend() noexcept { return {}; }
        std::suspend_always final_suspend() noexcept { return {}; }
        void return_void() {}
        void unhandled_exception() { std::terminate(); }
    };
    std::coroutine_handle<promise_type> frame;
};

Operation takeTurn(SerialQueue &queue, bool &resumed)
{
    auto turn = co_await queue.enter();
    resumed = true;
}

} // namespace

TEST(SerialQueue, ATurnReleasedAfterItsOwnerIsGoneNeitherReachesTheOwnerNorResumesTheWaiter)
{
    auto owner = std::make_unique<QObject>();
    auto queue = std::make_unique<SerialQueue>(owner.get());
    auto first = queue->enter();
    ASSERT_TRUE(first.await_ready());
    std::optional<SerialQueue::Turn> held(first.await_resume());
    bool resumed = false;
    const Operation waiting = takeTurn(*queue, resumed);
    ASSERT_FALSE(waiting.frame.done());

    queue.reset();
    owner.reset();
    held.reset(); // as a keychain answer arriving after the session was destroyed
    QCoreApplication::processEvents();
    EXPECT_FALSE(resumed);
    waiting.frame.destroy();
}
