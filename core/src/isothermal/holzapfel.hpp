// Holzapfel AP2 EOS. The Fermi-gas pressure at V0 of n Z electrons per
// formula unit anchors the coefficients, derived once at construction:
//   P_FG0 = 1003.6 (n Z/(10 V0))^(5/3),  c0 = -ln(3 K0/P_FG0),  c2 = 1.5 (K0' - 3) - c0
// With x = (V/V0)^(1/3), E = exp(c0 (1 - x)), g = 1 + c2 x - c2 x^2:
//   P = 3 K0 (1/x^5 - 1/x^4) E g
//   K = K0 E/x^5 (c0 x (1 - x) g + (5 - 4 x) g - (c2 x - 2 c2 x^2)(1 - x))
// Besides the shared numerical K', the model has its own central difference
// with step eps (reported as a parameter error) and an analytical K'
// (holzapfel_bulk_modulus_derivative_analytical) that takes c0 and c2 from
// the caller.
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class Holzapfel {
 public:
  static constexpr std::string_view model_name = "Holzapfel";
  static EosExpected<Holzapfel> make(double v0, double k0, double k0_prime, double n, double z) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;
  // K' = (K(V+) - K(V-))/(P(V+) - P(V-)) with V+- = (1 +- eps) V; both bulk
  // moduli before both pressures, no test for equal pressures.
  EosResult bulk_modulus_derivative(double volume, double eps) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }
  double n() const noexcept { return n_; }
  double z() const noexcept { return z_; }
  double c0() const noexcept { return c0_; }
  double c2() const noexcept { return c2_; }

 private:
  Holzapfel(double v0, double k0, double k0_prime, double n, double z, double c0, double c2) noexcept
      : v0_(v0), k0_(k0), k0_prime_(k0_prime), n_(n), z_(z), c0_(c0), c2_(c2) {}
  double v0_, k0_, k0_prime_, n_, z_;
  double c0_, c2_;  // derived at construction
};

// Closed-form K' = dK/dP of the Holzapfel bulk modulus at `volume`, given the
// bulk modulus there (not recomputed) and the coefficients c0, c2:
//   K' = -x (dK/dx)/(3 K),  x = (V/V0)^(1/3)
EosResult holzapfel_bulk_modulus_derivative_analytical(double v0, double volume, double bulk_modulus, double k0,
                                                       double c0, double c2) noexcept;

}  // namespace quorvel
