#include "isothermal/vinet.hpp"

#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

EosExpected<Vinet> Vinet::make(double v0, double k0, double k0_prime) noexcept {
  if (auto e = ParameterChecks{}.positive("V0", v0).positive("K0", k0).finite("K0_prime", k0_prime).error())
    return std::unexpected(*e);
  return Vinet(v0, k0, k0_prime);
}

EosResult Vinet::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) { return pressure_formula(v); });
}

EosResult Vinet::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) { return bulk_modulus_formula(v); });
}

EosResult Vinet::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
