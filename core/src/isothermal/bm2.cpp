#include "isothermal/bm2.hpp"

#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

EosExpected<BM2> BM2::make(double v0, double k0) noexcept {
  if (auto e = ParameterChecks{}.positive("V0", v0).positive("K0", k0).error()) return std::unexpected(*e);
  return BM2(v0, k0);
}

EosResult BM2::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) { return pressure_formula(v); });
}

EosResult BM2::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) { return bulk_modulus_formula(v); });
}

EosResult BM2::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
