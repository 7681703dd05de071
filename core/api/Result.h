#pragma once

#include "ServiceError.h"

#include <optional>
#include <utility>
#include <variant>

namespace vorlie {

// The outcome of a service call: a value or a ServiceError. Errors travel as
// values so they never cross the event loop as exceptions.
template<typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {} // NOLINT(google-explicit-constructor)
    Result(ServiceError error) : m_state(std::in_place_index<1>, std::move(error)) {} // NOLINT(google-explicit-constructor)
    Result(APIError error) : Result(ServiceError(std::move(error))) {} // NOLINT(google-explicit-constructor)
    Result(PassThroughError error) : Result(ServiceError(std::move(error))) {} // NOLINT(google-explicit-constructor)

    bool hasValue() const { return m_state.index() == 0; }
    explicit operator bool() const { return hasValue(); }

    T &value() & { return std::get<0>(m_state); }
    const T &value() const & { return std::get<0>(m_state); }
    T &&value() && { return std::get<0>(std::move(m_state)); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }
    T &operator*() & { return value(); }
    const T &operator*() const & { return value(); }

    const ServiceError &error() const { return std::get<1>(m_state); }

private:
    std::variant<T, ServiceError> m_state;
};

template<>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(ServiceError error) : m_error(std::move(error)) {} // NOLINT(google-explicit-constructor)
    Result(APIError error) : m_error(ServiceError(std::move(error))) {} // NOLINT(google-explicit-constructor)
    Result(PassThroughError error) : m_error(ServiceError(std::move(error))) {} // NOLINT(google-explicit-constructor)

    bool hasValue() const { return !m_error.has_value(); }
    explicit operator bool() const { return hasValue(); }
    const ServiceError &error() const { return *m_error; }

private:
    std::optional<ServiceError> m_error;
};

} // namespace vorlie
