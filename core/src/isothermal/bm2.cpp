#include "isothermal/bm2.hpp"

#include "isothermal/finite_strain.hpp"
#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

EosExpected<BM2> BM2::make(double v0, double k0) noexcept {
  if (auto e = ParameterChecks{}.positive("V0", v0).positive("K0", k0).error()) return std::unexpected(*e);
  return BM2(v0, k0);
}

EosResult BM2::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::eulerian_strain(v0_, v);
    return 3.0 * k0_ * s.f * s.x5;
  });
}

EosResult BM2::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::eulerian_strain(v0_, v);
    return k0_ * s.x5 * (1.0 + 7.0 * s.f);
  });
}

EosResult BM2::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
