#include "isothermal/vinet.hpp"

#include <cmath>

#include "isothermal/isothermal_eos.hpp"
#include "numeric/cube_root.hpp"

namespace quorvel {

EosExpected<Vinet> Vinet::make(double v0, double k0, double k0_prime) noexcept {
  if (auto e = ParameterChecks{}.positive("V0", v0).positive("K0", k0).finite("K0_prime", k0_prime).error())
    return std::unexpected(*e);
  return Vinet(v0, k0, k0_prime);
}

EosResult Vinet::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const double x = cube_root(v / v0_);
    const double eta = 1.5 * (k0_prime_ - 1.0);
    const double e = std::exp(eta * (1.0 - x));
    return 3.0 * k0_ * (1.0 - x) / (x * x) * e;
  });
}

EosResult Vinet::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const double x = cube_root(v / v0_);
    const double eta = 1.5 * (k0_prime_ - 1.0);
    const double e = std::exp(eta * (1.0 - x));
    return k0_ / (x * x) * ((eta * x + 1.0) * (1.0 - x) + 1.0) * e;
  });
}

EosResult Vinet::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
