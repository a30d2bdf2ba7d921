// Second-order Murnaghan EOS: the bulk modulus is quadratic in the pressure
// p = P - P0 above the reference pressure P0 (V0 is the volume at P0):
//   K(p) = K0 + K0' p + K0''/2 p^2
// Integrating dP/d ln(V0/V) = K(p):
//   s = sqrt(K0'^2 - 2 K0 K0'') = sqrt(q^2),  L = ln(V0/V),  y = expm1(s L)
//   D = (2 + y) s - K0' y                  (must stay positive)
//   P = 2 K0 y/D + P0
// and in closed form back again, with u1,2 = p (K0' +- s)/(2 K0):
//   V = V0 exp(-(log1p(u1) - log1p(u2))/s)
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class SecondOrderMurnaghan {
 public:
  static constexpr std::string_view model_name = "SecondOrderMurnaghan";
  static EosExpected<SecondOrderMurnaghan> make(double v0, double k0, double k0_prime, double k0_double_prime,
                                                double p0) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  // Closed-form inverse (no root search).
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }
  double k0_double_prime() const noexcept { return k0_double_prime_; }
  double p0() const noexcept { return p0_; }

 private:
  SecondOrderMurnaghan(double v0, double k0, double k0_prime, double k0_double_prime, double p0) noexcept
      : v0_(v0), k0_(k0), k0_prime_(k0_prime), k0_double_prime_(k0_double_prime), p0_(p0) {}
  double s() const noexcept;
  EosResult pressure_formula(double volume) const noexcept;
  double v0_, k0_, k0_prime_, k0_double_prime_, p0_;
};

}  // namespace quorvel
