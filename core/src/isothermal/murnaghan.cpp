#include "isothermal/murnaghan.hpp"

#include <cmath>

#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

EosExpected<Murnaghan> Murnaghan::make(double v0, double k0, double k0_prime) noexcept {
  if (auto e = ParameterChecks{}.positive("V0", v0).positive("K0", k0).finite("K0_prime", k0_prime).error())
    return std::unexpected(*e);
  return Murnaghan(v0, k0, k0_prime);
}

EosResult Murnaghan::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const double l = std::log(v0_ / v);
    if (k0_prime_ == 0.0) return k0_ * l;
    return k0_ * std::expm1(k0_prime_ * l) / k0_prime_;
  });
}

EosResult Murnaghan::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const double l = std::log(v0_ / v);
    return k0_ * std::exp(k0_prime_ * l);
  });
}

// The root search, not the closed-form inverse: the model set fixes this.
EosResult Murnaghan::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
