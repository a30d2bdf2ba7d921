#include "isothermal/bm4.hpp"

#include "isothermal/finite_strain.hpp"
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
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::eulerian_strain(v0_, v);
    const double b = 1.0 + 1.5 * (k0_prime_ - 4.0) * s.f + 1.5 * q() * s.f * s.f;
    return 3.0 * k0_ * s.f * s.x5 * b;
  });
}

EosResult BM4::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto s = isothermal::eulerian_strain(v0_, v);
    const double q = this->q();
    const double b = 1.0 + 1.5 * (k0_prime_ - 4.0) * s.f + 1.5 * q * s.f * s.f;
    return k0_ * s.x5 *
           ((1.0 + 2.0 * s.f) * (1.0 + 3.0 * (k0_prime_ - 4.0) * s.f + 4.5 * q * s.f * s.f) + 5.0 * s.f * b);
  });
}

EosResult BM4::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
