#include "isothermal/rydberg_stacey.hpp"

#include <cmath>

#include "isothermal/isothermal_eos.hpp"
#include "numeric/cube_root.hpp"

namespace quorvel {

EosExpected<RydbergStacey> RydbergStacey::make(double v0, double k0, double k0_prime,
                                               double k_infinity_prime) noexcept {
  if (auto e = ParameterChecks{}
                   .positive("V0", v0)
                   .positive("K0", k0)
                   .finite("K0_prime", k0_prime)
                   .finite("K_infinity_prime", k_infinity_prime)
                   .error())
    return std::unexpected(*e);
  return RydbergStacey(v0, k0, k0_prime, k_infinity_prime);
}

namespace {
struct RydbergStaceyTerms {
  double x;   // (V/V0)^(1/3)
  double e;   // 1.5 K0' - 3 K_inf' + 0.5
  double w;   // x^(-3 K_inf')
  double ex;  // exp(e (1 - x))
};

RydbergStaceyTerms terms(double v0, double volume, double k0_prime, double k_infinity_prime) noexcept {
  const double x = cube_root(volume / v0);
  const double e = 1.5 * k0_prime - 3.0 * k_infinity_prime + 0.5;
  const double ex = std::exp(e * (1.0 - x));
  const double w = std::pow(x, -3.0 * k_infinity_prime);
  return {x, e, w, ex};
}
}  // namespace

EosResult RydbergStacey::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto t = terms(v0_, v, k0_prime_, k_infinity_prime_);
    return 3.0 * k0_ * (1.0 - t.x) * t.w * t.ex;
  });
}

EosResult RydbergStacey::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) {
    const auto t = terms(v0_, v, k0_prime_, k_infinity_prime_);
    return k0_ * t.w * t.ex * (t.e * t.x * (1.0 - t.x) + 3.0 * k_infinity_prime_ * (1.0 - t.x) + t.x);
  });
}

EosResult RydbergStacey::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
