#include "thermal/mie_gruneisen.hpp"

#include <cmath>

namespace quorvel::mie_gruneisen {

EosResult power_law_gruneisen(double gamma0, double q, double log_volume_ratio) noexcept {
  return guard(gamma0 * std::exp(q * log_volume_ratio));
}

EosResult integrated_gruneisen_temperature(double theta0, double gamma0, double q, double log_volume_ratio) noexcept {
  const double ell = log_volume_ratio;
  if (q != 0.0) return guard(theta0 * std::exp(-gamma0 * std::expm1(q * ell) / q));
  return guard(theta0 * std::exp(-gamma0 * ell));
}

EosResult variable_exponent_temperature(double theta0, double gamma0, double q, double log_volume_ratio) noexcept {
  const EosResult gamma = power_law_gruneisen(gamma0, q, log_volume_ratio);
  if (!gamma) return gamma;
  return guard(theta0 * std::exp(-*gamma * log_volume_ratio));
}

EosResult debye_energy(double heat_capacity_limit, double theta, double temperature) noexcept {
  const EosResult d3 = debye_function_3(theta / temperature);
  if (!d3) return d3;
  return guard(temperature * heat_capacity_limit * *d3);
}

EosResult debye_entropy(double prefactor, double theta, double temperature) noexcept {
  const double u = theta / temperature;
  const EosResult d3 = debye_function_3(u);
  if (!d3) return d3;
  return guard(prefactor * (4.0 * *d3 - 3.0 * std::log(-std::expm1(-u))));
}

EosResult einstein_entropy(double n, double theta, double temperature) noexcept {
  const double u = theta / temperature;
  const double one_minus_boltzmann = -std::expm1(-u);  // 1 - e^-u
  return guard(3.0 * n * kGasConstant * (u * std::exp(-u) / one_minus_boltzmann - std::log(one_minus_boltzmann)));
}

}  // namespace quorvel::mie_gruneisen
