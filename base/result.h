// Errors as values: every reader of outside bytes returns a Result that either
// holds the value or an Error naming what went wrong and where.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace vorn {

struct Error {
    std::string message;
    // The errno value behind a failed system call (Windows error codes are
    // translated to the nearest one), 0 for errors that are not the system's:
    // the runtime tells the program why a file could not be written.
    int system_error = 0;
};

template <class T> class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Error& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

// For operations that produce nothing but may fail.
struct Ok {};
using Status = Result<Ok>;

inline Status ok_status() {
    return Ok{};
}

} // namespace vorn

#define VORN_CONCAT_INNER_(a, b) a##b
#define VORN_CONCAT_(a, b) VORN_CONCAT_INNER_(a, b)

// Declares `decl` from the value of a Result-yielding expression, or returns its
// error from the enclosing function. Portable (no statement expressions).
#define VORN_TRY_ASSIGN(decl, expr)                                                                          \
    auto VORN_CONCAT_(vorn_try_, __LINE__) = (expr);                                                         \
    if (!VORN_CONCAT_(vorn_try_, __LINE__).ok())                                                             \
        return VORN_CONCAT_(vorn_try_, __LINE__).error();                                                    \
    decl = std::move(VORN_CONCAT_(vorn_try_, __LINE__)).value()

// Returns the error of a Status-yielding expression from the enclosing function.
#define VORN_TRY_STATUS(expr)                                                                                \
    do {                                                                                                     \
        auto vorn_status_ = (expr);                                                                          \
        if (!vorn_status_.ok())                                                                              \
            return vorn_status_.error();                                                                     \
    } while (0)
