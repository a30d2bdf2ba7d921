// Validation of a model's parameters at construction.
#pragma once

#include <optional>
#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

// Parameter checks of a constructor, in declaration order; the first failure
// is the one kept.
class ParameterChecks {
 public:
  constexpr ParameterChecks& positive(std::string_view name, double value) noexcept {
    return that(is_positive_finite(value), name, msg::positive_finite);
  }
  constexpr ParameterChecks& finite(std::string_view name, double value) noexcept {
    return that(is_finite(value), name, msg::finite);
  }
  constexpr ParameterChecks& that(bool ok, std::string_view name, std::string_view message) noexcept {
    if (!first_ && !ok) first_ = EosError::invalid_parameter(name, message);
    return *this;
  }
  constexpr const std::optional<EosError>& error() const noexcept { return first_; }

 private:
  std::optional<EosError> first_;
};

}  // namespace quorvel
