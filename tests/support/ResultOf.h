#pragma once

#include <QCoro/QCoroTask>

#include <optional>
#include <type_traits>

namespace vorlie::testing {

// QCoro::waitFor for any result type: it needs a default-constructible T,
// which Result<T> deliberately is not.
template<typename T>
T resultOf(QCoro::Task<T> &&task)
{
    if constexpr (std::is_void_v<T>) {
        QCoro::waitFor(std::move(task));
    } else {
        std::optional<T> out;
        QCoro::waitFor([](QCoro::Task<T> pending, std::optional<T> &result) -> QCoro::Task<void> {
            result.emplace(co_await std::move(pending));
        }(std::move(task), out));
        return std::move(*out);
    }
}

// For a task started earlier and kept in a variable.
template<typename T>
T resultOf(QCoro::Task<T> &task)
{
    return resultOf(std::move(task));
}

} // namespace vorlie::testing
