// Third-order Birch-Murnaghan EOS.
//   P = 3 K0 f x^5 (1 + 1.5 (K0' - 4) f)
//   K = x^5 (K0 + (3 K0 K0' - 5 K0) f + 13.5 (K0 K0' - 4 K0) f^2)
#pragma once

#include <string_view>

#include "error/eos_error.hpp"
#include "isothermal/finite_strain.hpp"

namespace quorvel {

class BM3 {
 public:
  static constexpr std::string_view model_name = "BM3";
  static EosExpected<BM3> make(double v0, double k0, double k0_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  // The formulas alone, for a volume already checked; the block evaluation
  // runs them over many volumes at once.
  double pressure_formula(double volume) const noexcept {
    const auto s = isothermal::eulerian_strain(v0_, volume);
    return 3.0 * k0_ * s.f * s.x5 * (1.0 + 1.5 * (k0_prime_ - 4.0) * s.f);
  }
  double bulk_modulus_formula(double volume) const noexcept {
    const auto s = isothermal::eulerian_strain(v0_, volume);
    return s.x5 * (k0_ + (3.0 * k0_ * k0_prime_ - 5.0 * k0_) * s.f +
                   13.5 * (k0_ * k0_prime_ - 4.0 * k0_) * s.f * s.f);
  }

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }

 private:
  BM3(double v0, double k0, double k0_prime) noexcept : v0_(v0), k0_(k0), k0_prime_(k0_prime) {}
  double v0_, k0_, k0_prime_;
};

}  // namespace quorvel
