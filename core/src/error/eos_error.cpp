#include "error/eos_error.hpp"

namespace quorvel {

std::string_view EosError::code() const noexcept {
  switch (kind_) {
    case EosErrorKind::InvalidParameter: return "eos.invalid_parameter";
    case EosErrorKind::InvalidState: return "eos.invalid_state";
    case EosErrorKind::OutsideInvertibleRange: return "eos.outside_invertible_range";
    case EosErrorKind::BracketingFailed: return "eos.bracketing_failed";
    case EosErrorKind::ConvergenceFailed: return "eos.convergence_failed";
    case EosErrorKind::NonFiniteResult: return "eos.non_finite_result";
  }
  return "eos.unknown";
}

std::string EosError::display() const {
  auto with_payload = [this](std::string_view head) {
    std::string text(head);
    text.append(name_).append(": ").append(message_);
    return text;
  };
  switch (kind_) {
    case EosErrorKind::InvalidParameter: return with_payload("invalid parameter ");
    case EosErrorKind::InvalidState: return with_payload("invalid state variable ");
    case EosErrorKind::OutsideInvertibleRange: return "state is outside the model's invertible range";
    case EosErrorKind::BracketingFailed: return "failed to bracket a root";
    case EosErrorKind::ConvergenceFailed: return "numerical solver failed to converge";
    case EosErrorKind::NonFiniteResult: return "model returned a non-finite result";
  }
  return "unknown error";
}

}  // namespace quorvel
