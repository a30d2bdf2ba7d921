// Error values of the numerical core.
//
// Every evaluation returns either its value or one EosError; nothing in the
// core throws. An EosError is a kind plus, for the two parameter/state kinds,
// a name and a message. Both texts are string literals of the library, so the
// value is trivially copyable and never allocates.
#pragma once

#include <cmath>
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

namespace quorvel {

enum class EosErrorKind : std::uint8_t {
  InvalidParameter = 0,
  InvalidState = 1,
  OutsideInvertibleRange = 2,
  BracketingFailed = 3,
  ConvergenceFailed = 4,
  NonFiniteResult = 5,
};

// Standard message texts shared by models and solvers.
namespace msg {
inline constexpr std::string_view positive_finite = "must be positive and finite";
inline constexpr std::string_view finite = "must be finite";
inline constexpr std::string_view smaller_than_one = "must be smaller than one";
}  // namespace msg

class EosError {
 public:
  static constexpr EosError invalid_parameter(std::string_view name, std::string_view message) noexcept {
    return EosError(EosErrorKind::InvalidParameter, name, message);
  }
  static constexpr EosError invalid_state(std::string_view name, std::string_view message) noexcept {
    return EosError(EosErrorKind::InvalidState, name, message);
  }
  static constexpr EosError outside_invertible_range() noexcept {
    return EosError(EosErrorKind::OutsideInvertibleRange);
  }
  static constexpr EosError bracketing_failed() noexcept { return EosError(EosErrorKind::BracketingFailed); }
  static constexpr EosError convergence_failed() noexcept { return EosError(EosErrorKind::ConvergenceFailed); }
  static constexpr EosError non_finite_result() noexcept { return EosError(EosErrorKind::NonFiniteResult); }

  constexpr EosErrorKind kind() const noexcept { return kind_; }
  // Parameter or state name; empty for the kinds without payload.
  constexpr std::string_view name() const noexcept { return name_; }
  constexpr std::string_view message() const noexcept { return message_; }
  constexpr bool has_name() const noexcept {
    return kind_ == EosErrorKind::InvalidParameter || kind_ == EosErrorKind::InvalidState;
  }
  // Kinds 0..3 mean the input or requested state is wrong; 4 and 5 that the
  // computation itself failed.
  constexpr bool is_validation() const noexcept { return static_cast<int>(kind_) <= 3; }

  std::string_view code() const noexcept;
  std::string display() const;

  friend constexpr bool operator==(const EosError&, const EosError&) = default;

 private:
  constexpr explicit EosError(EosErrorKind kind, std::string_view name = {}, std::string_view message = {}) noexcept
      : kind_(kind), name_(name), message_(message) {}

  EosErrorKind kind_;
  std::string_view name_;
  std::string_view message_;
};

using EosResult = std::expected<double, EosError>;

template <class T>
using EosExpected = std::expected<T, EosError>;

constexpr bool is_finite(double x) noexcept { return std::isfinite(x); }
// Strictly positive and finite; positive subnormals pass, both zeros fail.
constexpr bool is_positive_finite(double x) noexcept { return x > 0.0 && std::isfinite(x); }

// Result guard: every value leaving an evaluation goes through here.
constexpr EosResult guard(double x) noexcept {
  if (!std::isfinite(x)) return std::unexpected(EosError::non_finite_result());
  return x;
}

}  // namespace quorvel
