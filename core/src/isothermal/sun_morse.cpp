#include "isothermal/sun_morse.hpp"

#include <cmath>
#include <optional>

#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

namespace {
constexpr double kSingularTolerance = 0x1p-52;

// The formulas of order n, shared by both classes.
template <int N>
struct SunMorseOrder {
  static constexpr double n = N;
  // 1/n as the double the model uses in its power.
  static constexpr double inverse_n = N == 3 ? 0.3333333333333333 : 0.25;

  static double a(double k0_prime) noexcept { return (n * k0_prime + 1.0) / 3.0; }

  static std::optional<EosError> check(double k0_prime) noexcept {
    if (std::fabs(a(k0_prime)) <= kSingularTolerance)
      return EosError::invalid_parameter("K0_prime", "Sun-Morse requires (n*K0_prime+1)/3 != 0");
    return std::nullopt;
  }

  template <class M>
  static EosExpected<M> make(double v0, double k0, double k0_prime, M (*build)(double, double, double)) noexcept {
    ParameterChecks checks;
    checks.positive("V0", v0).positive("K0", k0).finite("K0_prime", k0_prime);
    if (auto e = checks.error()) return std::unexpected(*e);
    if (auto e = check(k0_prime)) return std::unexpected(*e);
    return build(v0, k0, k0_prime);
  }

  static EosResult pressure(double v0, double k0, double k0_prime, double volume) noexcept {
    return isothermal::evaluate(volume, [=](double v) -> EosResult {
      if (auto e = check(k0_prime)) return std::unexpected(*e);
      const double a = SunMorseOrder::a(k0_prime);
      const double y = std::pow(v / v0, inverse_n);
      const double e = std::exp(a * (1.0 - y));
      return (e * e - e) * n * k0 / a;
    });
  }

  static EosResult bulk_modulus(double v0, double k0, double k0_prime, double volume) noexcept {
    return isothermal::evaluate(volume, [=](double v) -> EosResult {
      if (auto e = check(k0_prime)) return std::unexpected(*e);
      const double a = SunMorseOrder::a(k0_prime);
      const double y = std::pow(v / v0, inverse_n);
      const double e = std::exp(a * (1.0 - y));
      return k0 * y * (2.0 * e * e - e);
    });
  }
};

using Order3 = SunMorseOrder<3>;
using Order4 = SunMorseOrder<4>;
static_assert(Order3::inverse_n == 1.0 / 3.0);
}  // namespace

EosExpected<SunMorse3> SunMorse3::make(double v0, double k0, double k0_prime) noexcept {
  return Order3::make<SunMorse3>(v0, k0, k0_prime,
                                 [](double a, double b, double c) noexcept { return SunMorse3(a, b, c); });
}

EosResult SunMorse3::pressure(double volume) const noexcept {
  return Order3::pressure(v0_, k0_, k0_prime_, volume);
}

EosResult SunMorse3::bulk_modulus(double volume) const noexcept {
  return Order3::bulk_modulus(v0_, k0_, k0_prime_, volume);
}

EosResult SunMorse3::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

EosExpected<SunMorse4> SunMorse4::make(double v0, double k0, double k0_prime) noexcept {
  return Order4::make<SunMorse4>(v0, k0, k0_prime,
                                 [](double a, double b, double c) noexcept { return SunMorse4(a, b, c); });
}

EosResult SunMorse4::pressure(double volume) const noexcept {
  return Order4::pressure(v0_, k0_, k0_prime_, volume);
}

EosResult SunMorse4::bulk_modulus(double volume) const noexcept {
  return Order4::bulk_modulus(v0_, k0_, k0_prime_, volume);
}

EosResult SunMorse4::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
