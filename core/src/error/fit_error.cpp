#include "error/fit_error.hpp"

namespace quorvel {

namespace {
template <class... F>
struct overloaded : F... { using F::operator()...; };
}  // namespace

std::string_view FitError::code() const noexcept {
  return std::visit(overloaded{
                        [](const InvalidInput&) -> std::string_view { return "fit.invalid_input"; },
                        [](const EvaluationFailed&) -> std::string_view { return "fit.evaluation_failed"; },
                        [](const Eos& e) -> std::string_view { return e.error.code(); },
                        [](const SingularSystem&) -> std::string_view { return "fit.singular_system"; },
                    },
                    value_);
}

std::string FitError::message() const {
  return std::visit(overloaded{
                        [](const InvalidInput& e) { return e.message; },
                        [](const EvaluationFailed& e) { return e.message; },
                        [](const Eos& e) { return e.error.display(); },
                        [](const SingularSystem&) { return std::string("linear system is singular"); },
                    },
                    value_);
}

}  // namespace quorvel
