// Error value of fitting and of rebuilding models from named parameters.
//
// Unlike EosError its messages are owned: they are often formatted at run time
// (an index, a parameter name). A model evaluation that fails inside a fit is
// carried unchanged as the Eos variant, keeping its own kind and code.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "error/eos_error.hpp"

namespace quorvel {

class FitError {
 public:
  struct InvalidInput { std::string message; };
  struct EvaluationFailed { std::string message; };
  struct Eos { EosError error; };
  struct SingularSystem {};
  using Variant = std::variant<InvalidInput, EvaluationFailed, Eos, SingularSystem>;

  static FitError invalid_input(std::string message) { return FitError(InvalidInput{std::move(message)}); }
  static FitError evaluation_failed(std::string message) { return FitError(EvaluationFailed{std::move(message)}); }
  static FitError eos(EosError error) noexcept { return FitError(Eos{error}); }
  static FitError singular_system() noexcept { return FitError(SingularSystem{}); }

  const Variant& variant() const noexcept { return value_; }
  template <class V>
  bool is() const noexcept { return std::holds_alternative<V>(value_); }

  // "fit.invalid_input", "fit.evaluation_failed", the wrapped EosError's own
  // code, or "fit.singular_system".
  std::string_view code() const noexcept;
  // The owned message, the wrapped error's display text, or
  // "linear system is singular".
  std::string message() const;

 private:
  explicit FitError(Variant v) noexcept : value_(std::move(v)) {}
  Variant value_;
};

template <class T>
using FitExpected = std::expected<T, FitError>;

}  // namespace quorvel
