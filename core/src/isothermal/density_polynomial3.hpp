// Density-polynomial EOS: pressure as a cubic in density rho = rho0 V0/V.
//   P = c0 + c1 rho + c2 rho^2 + c3 rho^3
//   K = rho dP/drho = rho D,   D = c1 + 2 c2 rho + 3 c3 rho^2
// States with D <= 0 lie on the unstable side of the polynomial. Requires
// c3 > 0, c2 >= 0 and D(rho0) > 0, so D has at most one positive root
// rho_lo = -2 c1/(2 c2 + sqrt(4 c2^2 - 12 c1 c3)) (when c1 < 0) and P rises
// monotonically above it; volume(P) bisects in density on that branch.
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class DensityPolynomial3 {
 public:
  static constexpr std::string_view model_name = "DensityPolynomial3";
  // Factory order: V0 first, although the coefficients are stored first.
  static EosExpected<DensityPolynomial3> make(double v0, double rho0, double c0, double c1, double c2,
                                              double c3) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  // Bracket and bisection in density (no call to the shared root search).
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double rho0() const noexcept { return rho0_; }
  double c0() const noexcept { return c0_; }
  double c1() const noexcept { return c1_; }
  double c2() const noexcept { return c2_; }
  double c3() const noexcept { return c3_; }

 private:
  DensityPolynomial3(double c0, double c1, double c2, double c3, double v0, double rho0) noexcept
      : c0_(c0), c1_(c1), c2_(c2), c3_(c3), v0_(v0), rho0_(rho0) {}
  double polynomial(double rho) const noexcept { return (c1_ + (c3_ * rho + c2_) * rho) * rho + c0_; }
  double slope(double rho) const noexcept { return (3.0 * c3_ * rho + 2.0 * c2_) * rho + c1_; }
  double c0_, c1_, c2_, c3_, v0_, rho0_;
};

}  // namespace quorvel
