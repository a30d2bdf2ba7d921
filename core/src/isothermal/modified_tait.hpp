// Modified Tait EOS, with coefficients derived once from K0, K0', K0'':
//   f = K0'^2 + K0' - K0 K0'',  g = 1 + K0',  h = K0 K0'' + g
//   a = g/h,  b = K0'/K0 - K0''/(1 + K0'),  c = h/f
//   t = (V/V0 + a - 1)/a                    (must stay positive: V > V0 (1 - a))
//   P = expm1(-ln(t)/c)/b                   = (t^(-1/c) - 1)/b
//   K = (V/V0) K0 exp(ln(t) (-1/c - 1))     = K0 (V/V0) t^(-1/c - 1)
// f, g or h exactly zero makes the model singular and is refused.
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class ModifiedTait {
 public:
  static constexpr std::string_view model_name = "ModifiedTait";
  static EosExpected<ModifiedTait> make(double v0, double k0, double k0_prime, double k0_double_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }
  double k0_double_prime() const noexcept { return k0_double_prime_; }
  double a() const noexcept { return a_; }
  double b() const noexcept { return b_; }
  double c() const noexcept { return c_; }

 private:
  ModifiedTait(double v0, double k0, double k0_prime, double k0_double_prime, double a, double b, double c) noexcept
      : v0_(v0), k0_(k0), k0_prime_(k0_prime), k0_double_prime_(k0_double_prime), a_(a), b_(b), c_(c) {}
  // t = (V/V0 + a - 1)/a, or the domain error.
  EosResult t(double volume) const noexcept;
  double v0_, k0_, k0_prime_, k0_double_prime_;
  double a_, b_, c_;  // derived at construction
};

}  // namespace quorvel
