// Morse EOS, third order.
//   a = K0' - 1,  x = (V/V0)^(1/3),  e = exp(a (1 - x))
//   P = (e^2 - e) 3 K0/(x^2 a)
//   K = K0/a (2 (e^2 - e)/x^2 + a (2 e^2 - e)/x)
// K0' = 1 (within 2^-52, absolute) is singular; the test is repeated at
// every evaluation.
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class Morse3 {
 public:
  static constexpr std::string_view model_name = "Morse3";
  static EosExpected<Morse3> make(double v0, double k0, double k0_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }

 private:
  Morse3(double v0, double k0, double k0_prime) noexcept : v0_(v0), k0_(k0), k0_prime_(k0_prime) {}
  double v0_, k0_, k0_prime_;
};

}  // namespace quorvel
