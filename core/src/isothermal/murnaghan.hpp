// Murnaghan EOS (bulk modulus linear in pressure).
//   L = ln(V0/V)
//   P = K0 expm1(K0' L)/K0'   (K0 L when K0' is exactly zero, the limit)
//   K = K0 exp(K0' L) = K0 (V0/V)^K0'
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class Murnaghan {
 public:
  static constexpr std::string_view model_name = "Murnaghan";
  static EosExpected<Murnaghan> make(double v0, double k0, double k0_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }

 private:
  Murnaghan(double v0, double k0, double k0_prime) noexcept : v0_(v0), k0_(k0), k0_prime_(k0_prime) {}
  double v0_, k0_, k0_prime_;
};

}  // namespace quorvel
