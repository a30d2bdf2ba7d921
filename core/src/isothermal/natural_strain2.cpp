#include "isothermal/natural_strain2.hpp"

#include "isothermal/finite_strain.hpp"
#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

EosExpected<NaturalStrain2> NaturalStrain2::make(double v0, double k0) noexcept {
  if (auto e = ParameterChecks{}.positive("V0", v0).positive("K0", k0).error()) return std::unexpected(*e);
  return NaturalStrain2(v0, k0);
}

EosResult NaturalStrain2::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::natural_strain(v0_, v);
    return 3.0 * k0_ * s.r * s.fn;
  });
}

EosResult NaturalStrain2::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::natural_strain(v0_, v);
    return k0_ * s.r * (1.0 + 3.0 * s.fn);
  });
}

EosResult NaturalStrain2::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
