#include "isothermal/baonza.hpp"

#include <cmath>

#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

namespace {
constexpr double kBeta = 0.85;
constexpr double kOneMinusBeta = 0.15000000000000002;
constexpr double kPressureExponent = 6.666666666666666;
constexpr double kModulusExponent = 5.666666666666666;
static_assert(kOneMinusBeta == 1.0 - kBeta);
static_assert(kPressureExponent == 1.0 / (1.0 - kBeta));
static_assert(kModulusExponent == kBeta / (1.0 - kBeta));

struct BaonzaTerms {
  double p_sp;  // pseudospinodal pressure magnitude
  double a;     // P_sp^0.85/K0
  double b;     // P_sp^0.15 - 0.15 ln(V/V0)/A, positive
};

EosExpected<BaonzaTerms> terms(double v0, double k0, double k0_prime, double volume) noexcept {
  const double p_sp = kBeta * k0 / k0_prime;
  const double a = std::pow(p_sp, kBeta) / k0;
  const double b = std::pow(p_sp, kOneMinusBeta) - kOneMinusBeta * std::log(volume / v0) / a;
  if (!is_positive_finite(b))
    return std::unexpected(EosError::invalid_state("volume", "is outside the Baonza EOS pseudospinodal domain"));
  return BaonzaTerms{p_sp, a, b};
}
}  // namespace

EosExpected<Baonza> Baonza::make(double v0, double k0, double k0_prime) noexcept {
  if (auto e = ParameterChecks{}.positive("V0", v0).positive("K0", k0).positive("K0_prime", k0_prime).error())
    return std::unexpected(*e);
  return Baonza(v0, k0, k0_prime);
}

EosResult Baonza::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) -> EosResult {
    const auto t = terms(v0_, k0_, k0_prime_, v);
    if (!t) return std::unexpected(t.error());
    return std::pow(t->b, kPressureExponent) - t->p_sp;
  });
}

EosResult Baonza::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) -> EosResult {
    const auto t = terms(v0_, k0_, k0_prime_, v);
    if (!t) return std::unexpected(t.error());
    return std::pow(t->b, kModulusExponent) / t->a;
  });
}

EosResult Baonza::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
