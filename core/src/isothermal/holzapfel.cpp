#include "isothermal/holzapfel.hpp"

#include <cmath>

#include "isothermal/isothermal_eos.hpp"
#include "numeric/cube_root.hpp"

namespace quorvel {

namespace {
constexpr double kFermiGasPressure = 1003.6;
constexpr double kFiveThirds = 1.6666666666666667;
static_assert(kFiveThirds == 5.0 / 3.0);
}  // namespace

EosExpected<Holzapfel> Holzapfel::make(double v0, double k0, double k0_prime, double n, double z) noexcept {
  if (auto e = ParameterChecks{}
                   .positive("V0", v0)
                   .positive("K0", k0)
                   .finite("K0_prime", k0_prime)
                   .positive("n", n)
                   .positive("Z", z)
                   .error())
    return std::unexpected(*e);
  const double p_fg0 = kFermiGasPressure * std::pow(n * z / (10.0 * v0), kFiveThirds);
  const double c0 = -std::log(3.0 * k0 / p_fg0);
  const double c2 = 1.5 * (k0_prime - 3.0) - c0;
  return Holzapfel(v0, k0, k0_prime, n, z, c0, c2);
}

EosResult Holzapfel::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const double x = cube_root(v / v0_);
    const double x2 = x * x;
    const double x4 = x2 * x2;
    const double x5 = x4 * x;
    const double e = std::exp(c0_ * (1.0 - x));
    const double g = 1.0 + c2_ * x - c2_ * x2;
    return 3.0 * k0_ * (1.0 / x5 - 1.0 / x4) * e * g;
  });
}

EosResult Holzapfel::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const double x = cube_root(v / v0_);
    const double x2 = x * x;
    const double x5 = x2 * x2 * x;
    const double e = std::exp(c0_ * (1.0 - x));
    const double g = 1.0 + c2_ * x - c2_ * x2;
    return k0_ * e / x5 *
           (c0_ * x * (1.0 - x) * g + (5.0 - 4.0 * x) * g - (c2_ * x - 2.0 * c2_ * x2) * (1.0 - x));
  });
}

EosResult Holzapfel::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

EosResult Holzapfel::bulk_modulus_derivative(double volume, double eps) const noexcept {
  if (auto e = isothermal::check_volume(volume)) return std::unexpected(*e);
  if (!is_positive_finite(eps)) return std::unexpected(EosError::invalid_parameter("eps", msg::positive_finite));
  if (eps >= 1.0) return std::unexpected(EosError::invalid_parameter("eps", msg::smaller_than_one));
  // bulk_modulus checks V+- and guards K+-, as steps 3 and 4 require.
  const double v_plus = (1.0 + eps) * volume;
  const EosResult k_plus = bulk_modulus(v_plus);
  if (!k_plus) return k_plus;
  const double v_minus = (1.0 - eps) * volume;
  const EosResult k_minus = bulk_modulus(v_minus);
  if (!k_minus) return k_minus;
  const EosResult p_plus = pressure(v_plus);
  if (!p_plus) return p_plus;
  const EosResult p_minus = pressure(v_minus);
  if (!p_minus) return p_minus;
  return guard((*k_plus - *k_minus) / (*p_plus - *p_minus));
}

EosResult holzapfel_bulk_modulus_derivative_analytical(double v0, double volume, double bulk_modulus, double k0,
                                                       double c0, double c2) noexcept {
  if (!is_positive_finite(v0)) return std::unexpected(EosError::invalid_parameter("V0", msg::positive_finite));
  if (auto e = isothermal::check_volume(volume)) return std::unexpected(*e);
  if (!is_finite(bulk_modulus)) return std::unexpected(EosError::invalid_parameter("KT", msg::finite));
  if (!is_positive_finite(k0)) return std::unexpected(EosError::invalid_parameter("K0", msg::positive_finite));
  if (!is_finite(c0)) return std::unexpected(EosError::invalid_parameter("c0", msg::finite));
  if (!is_finite(c2)) return std::unexpected(EosError::invalid_parameter("c2", msg::finite));

  const double x = cube_root(volume / v0);
  const double x2 = x * x;
  const double x3 = x2 * x;
  const double x4 = x3 * x;
  const double e = std::exp((1.0 - x) * c0);
  const double g = c2 * x + 1.0 - x * (c2 * x);
  const double o = 4.0 / x - 5.0 / x2;
  const double t = 1.0 / x - 1.0;
  const double u = c2 - 2.0 * c2 * x;
  const double v = o * g - t * g * c0 + t * u;
  const double dk_dx =
      k0 * e *
      (c0 * v / x3 + 3.0 * v / x4 -
       (c0 * g / x2 + o * u + (10.0 / x3 - 4.0 / x2) * g - t * u * c0 - u / x2 - 2.0 * c2 * t) / x3);
  return guard(-x * dk_dx / (3.0 * bulk_modulus));
}

}  // namespace quorvel
