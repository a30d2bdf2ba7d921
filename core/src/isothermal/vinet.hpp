// Vinet (universal) EOS.
//   x = (V/V0)^(1/3),  eta = 1.5 (K0' - 1),  E = exp(eta (1 - x))
//   P = 3 K0 (1 - x)/x^2 E
//   K = K0/x^2 ((eta x + 1)(1 - x) + 1) E
#pragma once

#include <string_view>

#include "error/eos_error.hpp"
#include "numeric/cube_root.hpp"
#include "numeric/exponential.hpp"

namespace quorvel {

class Vinet {
 public:
  static constexpr std::string_view model_name = "Vinet";
  static EosExpected<Vinet> make(double v0, double k0, double k0_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  // The formulas alone, for a volume already checked; the block evaluation
  // runs them over many volumes at once.
  double pressure_formula(double volume) const noexcept {
    const double x = cube_root(volume / v0_);
    const double eta = 1.5 * (k0_prime_ - 1.0);
    const double e = exponential(eta * (1.0 - x));
    return 3.0 * k0_ * (1.0 - x) / (x * x) * e;
  }
  double bulk_modulus_formula(double volume) const noexcept {
    const double x = cube_root(volume / v0_);
    const double eta = 1.5 * (k0_prime_ - 1.0);
    const double e = exponential(eta * (1.0 - x));
    return k0_ / (x * x) * ((eta * x + 1.0) * (1.0 - x) + 1.0) * e;
  }

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }

 private:
  Vinet(double v0, double k0, double k0_prime) noexcept : v0_(v0), k0_(k0), k0_prime_(k0_prime) {}
  double v0_, k0_, k0_prime_;
};

}  // namespace quorvel
