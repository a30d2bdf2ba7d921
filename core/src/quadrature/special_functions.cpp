#include "quadrature/special_functions.hpp"

#include <cmath>
#include <optional>

#include "quadrature/quadrature.hpp"
#include "numeric/cube_root.hpp"

namespace quorvel {

namespace {

constexpr double kDebyeSeriesBelow = 0.001;
constexpr double kDebyeAsymptoticAbove = 150.0;

std::optional<EosError> check_temperature(double temperature) noexcept {
  if (!is_positive_finite(temperature)) return EosError::invalid_state("temperature", msg::positive_finite);
  return std::nullopt;
}

}  // namespace

EosResult debye_integrand(double t) noexcept {
  if (std::fabs(t) < kMachineEpsilon) return 0.0;
  return guard(t * t * t / std::expm1(t));
}

EosResult debye_function_3(double x) noexcept {
  if (!is_positive_finite(x))
    return std::unexpected(EosError::invalid_state("Debye-function argument", msg::positive_finite));
  if (x < kDebyeSeriesBelow) {
    const double x2 = x * x;
    return guard(x2 * x2 / (-1680.0) + (x2 / 20.0 + (1.0 + (-3.0 * x * 0.125))));
  }
  if (x > kDebyeAsymptoticAbove) return guard(kPiToTheFourth / (x * x * x * 5.0));
  const EosResult integral = quadrature::integrate(debye_integrand, 0.0, x);
  if (!integral) return integral;
  return guard(3.0 * *integral / (x * x * x));
}

EosResult einstein_energy(double theta, double n, double temperature) noexcept {
  if (auto e = check_temperature(temperature)) return std::unexpected(*e);
  const double u = theta / temperature;
  return guard((n * (-3.0) * kGasConstant * theta) * std::exp(-u) / std::expm1(-u));
}

EosResult bose_mode_energy(double theta, double temperature, double m) noexcept {
  if (auto e = check_temperature(temperature)) return std::unexpected(*e);
  const double u = std::log1p(theta / (temperature * m));
  const double q = std::exp(-m * u);
  const double occupation = q / (-std::expm1(-m * u));
  return guard(theta * (m - 1.0) / (2.0 * m) +
               occupation * (temperature * theta * m) / (temperature * m + theta));
}

EosResult sokolova_einstein_energy(double theta, double temperature) noexcept {
  if (auto e = check_temperature(temperature)) return std::unexpected(*e);
  const double u = theta / temperature;
  return guard(0.5 * theta - theta * std::exp(-u) / std::expm1(-u));
}

EosResult sokolova_gruneisen_integrand(double x, double pressure, double bulk_modulus, double bulk_modulus_derivative,
                                       double delta, double t, double beta) noexcept {
  const double p = pressure;
  const double k = bulk_modulus;
  const double tx = t - beta * cube_root(x);
  const double gamma =
      (9.0 * k * bulk_modulus_derivative - 3.0 * k + 2.0 * tx * p - 6.0 * tx * k) / (6.0 * (3.0 * k - 2.0 * tx * p)) +
      delta;
  return guard(gamma / x);
}

}  // namespace quorvel
