// Strain measures of the finite-strain models.
//
//   Eulerian (Birch-Murnaghan): x = (V0/V)^(1/3), f = (x^2 - 1)/2,
//                               so (1 + 2f)^(5/2) = x^5
//   natural (Hencky):           fN = ln(V0/V)/3
#pragma once

#include <cmath>

#include "numeric/cube_root.hpp"

namespace quorvel::isothermal {

struct EulerianStrain {
  double x;   // (V0/V)^(1/3)
  double f;   // (x^2 - 1)/2
  double x5;  // x^5 = (1 + 2f)^(5/2)
};

inline EulerianStrain eulerian_strain(double v0, double volume) noexcept {
  const double x = cube_root(v0 / volume);
  const double x2 = x * x;
  return {x, (x2 - 1.0) / 2.0, x2 * x2 * x};
}

struct NaturalStrain {
  double r;   // V0/V
  double fn;  // ln(V0/V)/3
};

inline NaturalStrain natural_strain(double v0, double volume) noexcept {
  const double r = v0 / volume;
  return {r, std::log(r) / 3.0};
}

}  // namespace quorvel::isothermal
