#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <variant>

namespace tsubakuro {

// Why an operation gave no value. The message is the Japanese text a user is
// shown, naming what could not be done; the kind tells the caller what it may
// still do about it.
struct Failure {
  enum class Kind {
    Error,        // it went wrong: the message is the last word
    Unsupported,  // sound input this code does not take: another reader may
    Cancelled,    // the user stopped it: nothing to report
  };
  Kind kind = Kind::Error;
  QString message;
};

inline Failure failure(QString message, Failure::Kind kind = Failure::Kind::Error) {
  return Failure{kind, std::move(message)};
}
inline Failure cancelled() { return Failure{Failure::Kind::Cancelled, {}}; }

inline const QString& no_message() {
  static const QString empty;
  return empty;
}

// A value, or the Failure that stood in its way: the one shape in which the core
// reports anything that can fail.
template <typename T = void>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  // Only after ok().
  const T& value() const& { return std::get<0>(state_); }
  T& value() & { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  const T& operator*() const& { return value(); }
  T& operator*() & { return value(); }
  const T* operator->() const { return &value(); }
  T* operator->() { return &value(); }

  T value_or(T fallback) const { return ok() ? value() : std::move(fallback); }

  // Only after !ok().
  const Failure& failure() const { return std::get<1>(state_); }
  Failure::Kind kind() const { return failure().kind; }
  // Empty text while ok.
  const QString& message() const { return ok() ? no_message() : failure().message; }
  bool cancelled() const { return !ok() && kind() == Failure::Kind::Cancelled; }
  // Neither done nor cancelled: something stood in the way.
  bool failed() const { return !ok() && !cancelled(); }

 private:
  std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Failure failure) : failure_(std::move(failure)) {}

  bool ok() const { return !failure_; }
  explicit operator bool() const { return ok(); }

  // Only after !ok().
  const Failure& failure() const { return *failure_; }
  Failure::Kind kind() const { return failure_->kind; }
  // Empty text while ok.
  const QString& message() const { return ok() ? no_message() : failure_->message; }
  bool cancelled() const { return !ok() && kind() == Failure::Kind::Cancelled; }
  // Neither done nor cancelled: something stood in the way.
  bool failed() const { return !ok() && !cancelled(); }

 private:
  std::optional<Failure> failure_;
};

}  // namespace tsubakuro
