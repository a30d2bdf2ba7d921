#include "isothermal/natural_strain4.hpp"

#include "isothermal/finite_strain.hpp"
#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

EosExpected<NaturalStrain4> NaturalStrain4::make(double v0, double k0, double k0_prime,
                                                 double k0_double_prime) noexcept {
  if (auto e = ParameterChecks{}
                   .positive("V0", v0)
                   .positive("K0", k0)
                   .finite("K0_prime", k0_prime)
                   .finite("K0_double_prime", k0_double_prime)
                   .error())
    return std::unexpected(*e);
  return NaturalStrain4(v0, k0, k0_prime, k0_double_prime);
}

EosResult NaturalStrain4::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::natural_strain(v0_, v);
    const double f = s.fn;
    return 3.0 * k0_ * s.r * (f + 1.5 * (k0_prime_ - 2.0) * f * f + 1.5 * qn() * f * f * f);
  });
}

EosResult NaturalStrain4::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::natural_strain(v0_, v);
    const double f = s.fn;
    const double qn = this->qn();
    return k0_ * s.r *
           (1.0 + 3.0 * (k0_prime_ - 1.0) * f + 4.5 * ((k0_prime_ - 2.0) + qn) * f * f + 4.5 * qn * f * f * f);
  });
}

EosResult NaturalStrain4::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
