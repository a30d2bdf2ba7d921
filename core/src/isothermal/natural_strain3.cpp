#include "isothermal/natural_strain3.hpp"

#include "isothermal/finite_strain.hpp"
#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

EosExpected<NaturalStrain3> NaturalStrain3::make(double v0, double k0, double k0_prime) noexcept {
  if (auto e = ParameterChecks{}.positive("V0", v0).positive("K0", k0).finite("K0_prime", k0_prime).error())
    return std::unexpected(*e);
  return NaturalStrain3(v0, k0, k0_prime);
}

EosResult NaturalStrain3::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::natural_strain(v0_, v);
    return 3.0 * k0_ * s.r * (s.fn + 1.5 * (k0_prime_ - 2.0) * s.fn * s.fn);
  });
}

EosResult NaturalStrain3::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::natural_strain(v0_, v);
    return k0_ * s.r * (1.0 + (3.0 * k0_prime_ - 3.0) * s.fn + 4.5 * (k0_prime_ - 2.0) * s.fn * s.fn);
  });
}

EosResult NaturalStrain3::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
