// Baonza pseudospinodal EOS, beta = 0.85.
//   P_sp = 0.85 K0/K0',  A = P_sp^0.85/K0
//   B = P_sp^(1 - beta) - (1 - beta) ln(V/V0)/A   (must stay positive: limits expansion)
//   P = B^(1/(1 - beta)) - P_sp
//   K = B^(beta/(1 - beta))/A                     = K0 ((P + P_sp)/P_sp)^0.85
// 1 - beta, 1/(1 - beta) and beta/(1 - beta) are the doubles
// 0.15000000000000002, 6.666666666666666 and 5.666666666666666.
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class Baonza {
 public:
  static constexpr std::string_view model_name = "Baonza";
  static EosExpected<Baonza> make(double v0, double k0, double k0_prime) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }
  double k0_prime() const noexcept { return k0_prime_; }

 private:
  Baonza(double v0, double k0, double k0_prime) noexcept : v0_(v0), k0_(k0), k0_prime_(k0_prime) {}
  double v0_, k0_, k0_prime_;
};

}  // namespace quorvel
