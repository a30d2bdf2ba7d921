// Rydberg-Stacey EOS, with K_inf' the limiting K' at infinite compression.
//   x = (V/V0)^(1/3),  e = 1.5 K0' - 3 K_inf' + 0.5,  E = exp(e (1 - x)),  W = x^(-3 K_inf')
//   P = 3 K0 (1 - x) W E
//   K = K0 W E (e x (1 - x) + 3 K_inf' (1 - x) + x)
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class RydbergStacey {
 public:
  static constexpr std::string_view model_name = "RydbergStacey";
  static EosExpected<RydbergStacey> make(double v0, double k0, double k0_prime, double k_infinity_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }
  double k_infinity_prime() const noexcept { return k_infinity_prime_; }

 private:
  RydbergStacey(double v0, double k0, double k0_prime, double k_infinity_prime) noexcept
      : v0_(v0), k0_(k0), k0_prime_(k0_prime), k_infinity_prime_(k_infinity_prime) {}
  double v0_, k0_, k0_prime_, k_infinity_prime_;
};

}  // namespace quorvel
