// Fast real cube root, within 0.75 units in the last place.
//
// The finite-strain and exponential models take a cube root of V0/V at every
// evaluation, and the C library's cbrt is several times slower than the rest
// of such a formula. This one starts from the classic approximation that
// divides the high word of the exponent-and-mantissa bits by three (relative
// error below 3.2%), refines it with two Halley steps (cubic convergence:
// ~3e-5, then ~4e-14) and finishes with one Newton step written as a small
// correction, t + (x/t^2 - t)/3, so that its own rounding errors are divided
// by three. Measured against a long-double reference over the whole exponent
// range: at most 0.74 ulp. Exact cubes of moderate integers, and in particular
// cube_root(1) = 1, come out exact. (glibc's cbrt, for comparison, is off by
// up to 2.3 ulp near the top of the range.)
//
// The code has no branches: subnormal and huge arguments are scaled by exact
// powers of eight through selects, and zeros, infinities and NaN return
// themselves the same way. A loop of cube roots therefore vectorises, and a
// vectorised evaluation gives bit for bit the scalar result.
#pragma once

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace quorvel {

inline double cube_root(double x) noexcept {
  const double a = std::fabs(x);
  // t^3 in the refinement must not overflow, nor the bit trick see a subnormal.
  const bool huge = a >= 0x1p1020;
  const bool tiny = a < DBL_MIN;
  const double scaled = huge ? a * 0x1p-513 : (tiny ? a * 0x1p513 : a);
  const double unscale = huge ? 0x1p171 : (tiny ? 0x1p-171 : 1.0);

  const std::uint32_t high = static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(scaled) >> 32);
  double t = std::bit_cast<double>(static_cast<std::uint64_t>(high / 3 + 0x2a9f7893u) << 32);
  for (int i = 0; i < 2; ++i) {
    const double t3 = t * t * t;
    t *= (t3 + 2.0 * scaled) / (2.0 * t3 + scaled);
  }
  t += (scaled / (t * t) - t) / 3.0;
  t *= unscale;

  const bool special = !((a > 0.0) & (a <= DBL_MAX));  // zeros, infinities, NaN
  return special ? x + x : std::copysign(t, x);
}

}  // namespace quorvel
