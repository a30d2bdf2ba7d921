#include "isothermal/bm4.hpp"

#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

EosExpected<BM4> BM4::make(double v0, double k0, double k0_prime, double k0_double_prime) noexcept {
  if (auto e = ParameterChecks{}
                   .positive("V0", v0)
                   .positive("K0", k0)
                   .finite("K0_prime", k0_prime)
                   .finite("K0_double_prime", k0_double_prime)
                   .error())
    return std::unexpected(*e);
  return BM4(v0, k0, k0_prime, k0_double_prime);
}

EosResult BM4::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) { return pressure_formula(v); });
}

EosResult BM4::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) { return bulk_modulus_formula(v); });
}

EosResult BM4::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
