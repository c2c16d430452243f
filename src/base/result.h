// Results of operations that can fail: a value or the reason it could not be had, with the
// notices the operation gave on the way. The user-interface layer turns a reason into the
// program's message; the core never shows one itself.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace pelvaron {

/// A message as the person sees it: its text, its caption and its icon.
enum class MessageIcon { None, Information, Exclamation, Stop, Question };
struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
};

/// What an operation said on the way, in order, for the user-interface layer to show when it is
/// done: warnings before a refusal, and the refusal's reason last.
using Messages = std::vector<Message>;

/// The reason `E` wrapped so that a Result can be built from it unambiguously.
template <class E>
struct Failure {
    E error;
};
template <class E>
Failure(E) -> Failure<E>;

/// Either a `T` or an `E` saying why there is none (std::expected's shape, for C++20).
template <class T, class E>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure<E> f) : v_(std::in_place_index<1>, std::move(f.error)) {}

    [[nodiscard]] bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] const T& value() const {
        assert(ok());
        return std::get<0>(v_);
    }
    [[nodiscard]] T& value() {
        assert(ok());
        return std::get<0>(v_);
    }
    const T& operator*() const { return value(); }
    T& operator*() { return value(); }
    const T* operator->() const { return &value(); }
    [[nodiscard]] const E& error() const {
        assert(!ok());
        return std::get<1>(v_);
    }

private:
    std::variant<T, E> v_;
};

/// A Result with nothing to hand back: success, or the reason of the failure.
template <class E>
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Failure<E> f) : error_(std::move(f.error)) {}

    [[nodiscard]] bool ok() const { return !error_; }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] const E& error() const {
        assert(!ok());
        return *error_;
    }

private:
    std::optional<E> error_;
};

}  // namespace pelvaron
