#include "isothermal/second_order_murnaghan.hpp"

#include <cmath>

#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

namespace {
double q_squared(double k0, double k0_prime, double k0_double_prime) noexcept {
  return k0_prime * k0_prime - 2.0 * k0 * k0_double_prime;
}
}  // namespace

EosExpected<SecondOrderMurnaghan> SecondOrderMurnaghan::make(double v0, double k0, double k0_prime,
                                                             double k0_double_prime, double p0) noexcept {
  ParameterChecks checks;
  checks.positive("V0", v0)
      .positive("K0", k0)
      .finite("K0_prime", k0_prime)
      .finite("K0_double_prime", k0_double_prime)
      .finite("P0", p0);
  if (!checks.error()) checks.positive("q_squared", q_squared(k0, k0_prime, k0_double_prime));
  if (auto e = checks.error()) return std::unexpected(*e);
  return SecondOrderMurnaghan(v0, k0, k0_prime, k0_double_prime, p0);
}

double SecondOrderMurnaghan::s() const noexcept { return std::sqrt(q_squared(k0_, k0_prime_, k0_double_prime_)); }

// P(V) after the volume check, before the result guard.
EosResult SecondOrderMurnaghan::pressure_formula(double v) const noexcept {
  const double s = this->s();
  const double l = std::log(v0_ / v);
  const double y = std::expm1(s * l);
  const double d = (2.0 + y) * s - k0_prime_ * y;
  if (!is_positive_finite(d))
    return std::unexpected(EosError::invalid_state("Murnaghan denominator", msg::positive_finite));
  return 2.0 * k0_ * y / d + p0_;
}

EosResult SecondOrderMurnaghan::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) { return pressure_formula(v); });
}

EosResult SecondOrderMurnaghan::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) -> EosResult {
    const EosResult pressure = pressure_formula(v);
    if (!pressure) return pressure;
    if (!is_finite(*pressure)) return std::unexpected(EosError::non_finite_result());
    const double p = *pressure - p0_;
    return k0_ + k0_prime_ * p + 0.5 * k0_double_prime_ * p * p;
  });
}

EosResult SecondOrderMurnaghan::volume(double pressure) const noexcept {
  if (!is_finite(pressure)) return std::unexpected(EosError::invalid_state("pressure", msg::finite));
  const double s = this->s();
  const double p = pressure - p0_;
  const double u1 = p * (k0_prime_ + s) / (2.0 * k0_);
  const double u2 = p * (k0_prime_ - s) / (2.0 * k0_);
  if (u1 <= -1.0 || u2 <= -1.0) return std::unexpected(EosError::outside_invertible_range());
  const double v = v0_ * std::exp(-(std::log1p(u1) - std::log1p(u2)) / s);
  if (!is_positive_finite(v)) return std::unexpected(EosError::invalid_state("volume", msg::positive_finite));
  return v;
}

}  // namespace quorvel
