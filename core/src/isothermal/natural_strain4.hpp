// Fourth-order natural-strain (Poirier-Tarantola) EOS.
//   Qn = (K0' - 2)^2 + K0 K0'' + K0' - 1
//   P  = 3 K0 r (fN + 1.5 (K0' - 2) fN^2 + 1.5 Qn fN^3)
//   K  = K0 r (1 + 3 (K0' - 1) fN + 4.5 ((K0' - 2) + Qn) fN^2 + 4.5 Qn fN^3)
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class NaturalStrain4 {
 public:
  static constexpr std::string_view model_name = "NaturalStrain4";
  static EosExpected<NaturalStrain4> make(double v0, double k0, double k0_prime, double k0_double_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }
  double k0_double_prime() const noexcept { return k0_double_prime_; }

 private:
  NaturalStrain4(double v0, double k0, double k0_prime, double k0_double_prime) noexcept
      : v0_(v0), k0_(k0), k0_prime_(k0_prime), k0_double_prime_(k0_double_prime) {}
  double qn() const noexcept {
    const double a = k0_prime_ - 2.0;
    return a * a + k0_ * k0_double_prime_ + k0_prime_ - 1.0;
  }
  double v0_, k0_, k0_prime_, k0_double_prime_;
};

}  // namespace quorvel
