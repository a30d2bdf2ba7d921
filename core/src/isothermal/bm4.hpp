// Fourth-order Birch-Murnaghan EOS.
//   Q    = (K0' - 3)(K0' - 4) + K0 K0'' + 35/9
//   B(f) = 1 + 1.5 (K0' - 4) f + 1.5 Q f^2
//   P    = 3 K0 f x^5 B(f)
//   K    = K0 x^5 ((1 + 2f)(1 + 3 (K0' - 4) f + 4.5 Q f^2) + 5 f B(f))
#pragma once

#include <string_view>

#include "error/eos_error.hpp"
#include "isothermal/finite_strain.hpp"

namespace quorvel {

class BM4 {
 public:
  static constexpr std::string_view model_name = "BM4";
  static EosExpected<BM4> make(double v0, double k0, double k0_prime, double k0_double_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  // The formulas alone, for a volume already checked; the block evaluation
  // runs them over many volumes at once.
  double pressure_formula(double volume) const noexcept {
    const auto s = isothermal::eulerian_strain(v0_, volume);
    const double b = 1.0 + 1.5 * (k0_prime_ - 4.0) * s.f + 1.5 * q() * s.f * s.f;
    return 3.0 * k0_ * s.f * s.x5 * b;
  }
  double bulk_modulus_formula(double volume) const noexcept {
    const auto s = isothermal::eulerian_strain(v0_, volume);
    const double q = this->q();
    const double b = 1.0 + 1.5 * (k0_prime_ - 4.0) * s.f + 1.5 * q * s.f * s.f;
    return k0_ * s.x5 *
           ((1.0 + 2.0 * s.f) * (1.0 + 3.0 * (k0_prime_ - 4.0) * s.f + 4.5 * q * s.f * s.f) + 5.0 * s.f * b);
  }

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }
  double k0_double_prime() const noexcept { return k0_double_prime_; }

 private:
  BM4(double v0, double k0, double k0_prime, double k0_double_prime) noexcept
      : v0_(v0), k0_(k0), k0_prime_(k0_prime), k0_double_prime_(k0_double_prime) {}
  double q() const noexcept {
    return (k0_prime_ - 3.0) * (k0_prime_ - 4.0) + k0_ * k0_double_prime_ + 35.0 / 9.0;
  }
  double v0_, k0_, k0_prime_, k0_double_prime_;
};

}  // namespace quorvel
