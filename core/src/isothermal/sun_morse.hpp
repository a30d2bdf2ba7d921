// Sun-Morse EOS of order n = 3 (SunMorse3) and n = 4 (SunMorse4).
//   a = (n K0' + 1)/3,  y = (V/V0)^(1/n),  e = exp(a (1 - y))
//   P = (e^2 - e) n K0/a
//   K = K0 y (2 e^2 - e)
// a makes K' = K0' at V0. y is a general power with the exponent
// 0.3333333333333333 or 0.25 (not a cube root). a = 0 (within 2^-52,
// absolute) is singular; the test is repeated at every evaluation.
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class SunMorse3 {
 public:
  static constexpr std::string_view model_name = "SunMorse3";
  static EosExpected<SunMorse3> make(double v0, double k0, double k0_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }

 private:
  SunMorse3(double v0, double k0, double k0_prime) noexcept : v0_(v0), k0_(k0), k0_prime_(k0_prime) {}
  double v0_, k0_, k0_prime_;
};

class SunMorse4 {
 public:
  static constexpr std::string_view model_name = "SunMorse4";
  static EosExpected<SunMorse4> make(double v0, double k0, double k0_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }

 private:
  SunMorse4(double v0, double k0, double k0_prime) noexcept : v0_(v0), k0_(k0), k0_prime_(k0_prime) {}
  double v0_, k0_, k0_prime_;
};

}  // namespace quorvel
