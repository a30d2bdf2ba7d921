#include "isothermal/modified_tait.hpp"

#include <cmath>

#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

EosExpected<ModifiedTait> ModifiedTait::make(double v0, double k0, double k0_prime, double k0_double_prime) noexcept {
  ParameterChecks checks;
  checks.positive("V0", v0).positive("K0", k0).finite("K0_prime", k0_prime).finite("K0_double_prime", k0_double_prime);
  if (auto e = checks.error()) return std::unexpected(*e);
  const double f = k0_prime * k0_prime + k0_prime - k0 * k0_double_prime;
  const double g = 1.0 + k0_prime;
  const double h = k0 * k0_double_prime + g;
  if (f == 0.0 || g == 0.0 || h == 0.0)
    return std::unexpected(
        EosError::invalid_parameter("K0_prime/K0_double_prime", "produce a singular modified Tait EOS"));
  const double a = g / h;
  const double b = k0_prime / k0 - k0_double_prime / (1.0 + k0_prime);
  const double c = h / f;
  return ModifiedTait(v0, k0, k0_prime, k0_double_prime, a, b, c);
}

EosResult ModifiedTait::t(double v) const noexcept {
  const double t = (v / v0_ + a_ - 1.0) / a_;
  if (!is_positive_finite(t))
    return std::unexpected(EosError::invalid_state("volume", "is outside the modified Tait EOS domain"));
  return t;
}

EosResult ModifiedTait::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) -> EosResult {
    const EosResult t = this->t(v);
    if (!t) return t;
    return std::expm1(-std::log(*t) / c_) / b_;
  });
}

EosResult ModifiedTait::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) -> EosResult {
    const EosResult t = this->t(v);
    if (!t) return t;
    return (v / v0_) * k0_ * std::exp(std::log(*t) * (-1.0 / c_ - 1.0));
  });
}

EosResult ModifiedTait::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
