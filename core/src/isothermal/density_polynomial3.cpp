#include "isothermal/density_polynomial3.hpp"

#include <cmath>

#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

namespace {
constexpr int kMaxBisections = 256;
constexpr double kDensityWidth = 0x1p-48;  // relative bracket width that ends the bisection
}  // namespace

EosExpected<DensityPolynomial3> DensityPolynomial3::make(double v0, double rho0, double c0, double c1, double c2,
                                                         double c3) noexcept {
  ParameterChecks checks;
  checks.positive("V0", v0)
      .positive("rho0", rho0)
      .finite("c0", c0)
      .finite("c1", c1)
      .finite("c2", c2)
      .positive("c3", c3);
  if (auto e = checks.error()) return std::unexpected(*e);
  if (c2 < 0.0 || (3.0 * c3 * rho0 + 2.0 * c2) * rho0 + c1 <= 0.0)
    return std::unexpected(
        EosError::invalid_parameter("density polynomial", "requires c2>=0 and a stable density anchor"));
  return DensityPolynomial3(c0, c1, c2, c3, v0, rho0);
}

EosResult DensityPolynomial3::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) -> EosResult {
    const double rho = rho0_ * v0_ / v;
    if (slope(rho) <= 0.0) return std::unexpected(EosError::outside_invertible_range());
    if (!is_finite(rho)) return std::unexpected(EosError::non_finite_result());
    return polynomial(rho);
  });
}

EosResult DensityPolynomial3::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) -> EosResult {
    const double rho = rho0_ * v0_ / v;
    const double d = slope(rho);
    if (d <= 0.0) return std::unexpected(EosError::outside_invertible_range());
    if (!is_finite(rho)) return std::unexpected(EosError::non_finite_result());
    return rho * d;
  });
}

EosResult DensityPolynomial3::volume(double pressure) const noexcept {
  if (!is_finite(pressure)) return std::unexpected(EosError::invalid_state("pressure", msg::finite));
  // Lowest stable density: 0, or the positive root of D without cancellation.
  double rho_lo = 0.0;
  if (c1_ < 0.0) rho_lo = -2.0 * c1_ / (2.0 * c2_ + std::sqrt(4.0 * c2_ * c2_ - 12.0 * c1_ * c3_));
  if (polynomial(rho_lo) >= pressure) return std::unexpected(EosError::outside_invertible_range());
  double rho_hi = rho0_;
  while (pressure > polynomial(rho_hi)) {
    rho_hi *= 2.0;
    if (!is_finite(rho_hi)) return std::unexpected(EosError::bracketing_failed());
  }
  for (int i = 0; i < kMaxBisections; ++i) {
    const double m = rho_lo + (rho_hi - rho_lo) / 2.0;
    if (rho_hi - rho_lo <= m * kDensityWidth) return guard(rho0_ * v0_ / m);
    if (pressure > polynomial(m))
      rho_lo = m;
    else
      rho_hi = m;
  }
  return std::unexpected(EosError::convergence_failed());
}

}  // namespace quorvel
