// Second-order Birch-Murnaghan EOS (K0' fixed at 4).
//   P = 3 K0 f x^5,  K = K0 x^5 (1 + 7f)
#pragma once

#include <string_view>

#include "error/eos_error.hpp"
#include "isothermal/finite_strain.hpp"

namespace quorvel {

class BM2 {
 public:
  static constexpr std::string_view model_name = "BM2";
  static EosExpected<BM2> make(double v0, double k0) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  // The formulas alone, for a volume already checked; the block evaluation
  // runs them over many volumes at once.
  double pressure_formula(double volume) const noexcept {
    const auto s = isothermal::eulerian_strain(v0_, volume);
    return 3.0 * k0_ * s.f * s.x5;
  }
  double bulk_modulus_formula(double volume) const noexcept {
    const auto s = isothermal::eulerian_strain(v0_, volume);
    return k0_ * s.x5 * (1.0 + 7.0 * s.f);
  }

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }

 private:
  BM2(double v0, double k0) noexcept : v0_(v0), k0_(k0) {}
  double v0_, k0_;
};

}  // namespace quorvel
