// Turning the core's error values into exceptions of quorvel.errors.
//
// The exception classes live in the pure-Python package; they are looked up
// by name on every translation (never cached), called with the message and
// the keywords code, operation and field. If that fails for any reason, a
// RuntimeError that still carries the original message is raised instead.
#pragma once

#include <nanobind/nanobind.h>

#include <optional>
#include <string_view>

#include "error/eos_error.hpp"
#include "error/fit_error.hpp"

namespace quorvel::py {

namespace nb = nanobind;

// Builds (does not raise) an instance of quorvel.errors.<class_name>.
nb::object quorvel_python_error(std::string_view class_name, std::string_view message, std::string_view code,
                                std::optional<std::string_view> operation = std::nullopt,
                                std::optional<std::string_view> field = std::nullopt);

nb::object to_python_error(const EosError& error);
nb::object to_python_fit_error(const FitError& error);
nb::object python_validation_error(std::string_view message);
nb::object python_unsupported_error(std::string_view message);
nb::object python_configuration_error(std::string_view message);

// Raises the given exception object in the calling Python thread.
[[noreturn]] void raise(nb::object exception);

[[noreturn]] inline void raise(const EosError& error) { raise(to_python_error(error)); }
[[noreturn]] inline void raise(const FitError& error) { raise(to_python_fit_error(error)); }

// The value of a core result, or the translated error raised.
template <class T, class E>
T value_or_raise(std::expected<T, E>&& result) {
  if (!result) raise(result.error());
  return std::move(*result);
}

}  // namespace quorvel::py
