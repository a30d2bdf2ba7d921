#include "isothermal/bm3.hpp"

#include "isothermal/finite_strain.hpp"
#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

EosExpected<BM3> BM3::make(double v0, double k0, double k0_prime) noexcept {
  if (auto e = ParameterChecks{}.positive("V0", v0).positive("K0", k0).finite("K0_prime", k0_prime).error())
    return std::unexpected(*e);
  return BM3(v0, k0, k0_prime);
}

EosResult BM3::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::eulerian_strain(v0_, v);
    return 3.0 * k0_ * s.f * s.x5 * (1.0 + 1.5 * (k0_prime_ - 4.0) * s.f);
  });
}

EosResult BM3::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::eulerian_strain(v0_, v);
    return s.x5 * (k0_ + (3.0 * k0_ * k0_prime_ - 5.0 * k0_) * s.f +
                   13.5 * (k0_ * k0_prime_ - 4.0 * k0_) * s.f * s.f);
  });
}

EosResult BM3::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
