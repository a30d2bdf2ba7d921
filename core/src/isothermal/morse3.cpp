#include "isothermal/morse3.hpp"

#include <cmath>
#include <optional>

#include "isothermal/isothermal_eos.hpp"
#include "numeric/cube_root.hpp"

namespace quorvel {

namespace {
constexpr double kSingularTolerance = 0x1p-52;

std::optional<EosError> check_exponent(double k0_prime) noexcept {
  if (std::fabs(k0_prime - 1.0) <= kSingularTolerance)
    return EosError::invalid_parameter("K0_prime", "Morse3 requires K0_prime != 1");
  return std::nullopt;
}
}  // namespace

EosExpected<Morse3> Morse3::make(double v0, double k0, double k0_prime) noexcept {
  ParameterChecks checks;
  checks.positive("V0", v0).positive("K0", k0).finite("K0_prime", k0_prime);
  if (auto e = checks.error()) return std::unexpected(*e);
  if (auto e = check_exponent(k0_prime)) return std::unexpected(*e);
  return Morse3(v0, k0, k0_prime);
}

EosResult Morse3::pressure(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) -> EosResult {
    if (auto e = check_exponent(k0_prime_)) return std::unexpected(*e);
    const double a = k0_prime_ - 1.0;
    const double x = cube_root(v / v0_);
    const double e = std::exp(a * (1.0 - x));
    return (e * e - e) * 3.0 * k0_ / (x * x * a);
  });
}

EosResult Morse3::bulk_modulus(double volume) const noexcept {
  return isothermal::evaluate(volume, [this](double v) -> EosResult {
    if (auto e = check_exponent(k0_prime_)) return std::unexpected(*e);
    const double a = k0_prime_ - 1.0;
    const double x = cube_root(v / v0_);
    const double e = std::exp(a * (1.0 - x));
    return k0_ / a * (2.0 * (e * e - e) / (x * x) + a * (2.0 * e * e - e) / x);
  });
}

EosResult Morse3::volume(double pressure) const noexcept { return isothermal::solve_volume(*this, pressure); }

}  // namespace quorvel
