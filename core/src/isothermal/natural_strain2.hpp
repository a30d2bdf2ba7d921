// Second-order natural-strain (Poirier-Tarantola) EOS.
//   P = 3 K0 r fN,  K = K0 r (1 + 3 fN),  r = V0/V
#pragma once

#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class NaturalStrain2 {
 public:
  static constexpr std::string_view model_name = "NaturalStrain2";
  static EosExpected<NaturalStrain2> make(double v0, double k0) noexcept;

  EosResult pressure(double volume) const noexcept;
  EosResult bulk_modulus(double volume) const noexcept;
  EosResult volume(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double k0() const noexcept { return k0_; }

 private:
  NaturalStrain2(double v0, double k0) noexcept : v0_(v0), k0_(k0) {}
  double v0_, k0_;
};

}  // namespace quorvel
