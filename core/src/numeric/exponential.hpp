// Branch-free exponential, within one unit in the last place (0.96 measured
// against a long-double reference over the whole range).
//
// exp(x) = 2^k exp(r) with k = round(x / ln 2) and r = x - k ln 2 reduced in
// two parts (Cody-Waite: ln 2 split so that k * ln2_high is exact), |r| below
// 0.35, where a degree-13 Taylor polynomial is accurate to 4e-18. 2^k is
// applied as two exact powers of two, so that results in the subnormal range
// are rounded once. Large arguments saturate to infinity and zero, NaN
// returns itself.
//
// Like cube_root, the code has no branches: a loop of exponentials
// vectorises and gives bit for bit the scalar result. (glibc's exp is not
// vectorised without -ffast-math.)
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>

namespace quorvel {

namespace detail {

// round-to-nearest of |v| < 2^51 by the 1.5 * 2^52 shift.
inline constexpr double kRoundShift = 0x1.8p52;

// 2^k for an integral double k in [-1022, 1023].
inline double power_of_two(double k) noexcept {
  const std::int64_t n = std::bit_cast<std::int64_t>(k + kRoundShift) - std::bit_cast<std::int64_t>(kRoundShift);
  return std::bit_cast<double>(static_cast<std::uint64_t>(n + 1023) << 52);
}

}  // namespace detail

inline double exponential(double x) noexcept {
  constexpr double inv_ln2 = 1.4426950408889634;
  constexpr double ln2_high = 0x1.62e42fefa3800p-1;   // 42 significant bits: k * ln2_high is exact
  constexpr double ln2_low = 0x1.ef35793c76730p-45;   // ln 2 - ln2_high
  const double xc = std::min(std::max(x, -746.0), 710.0);
  const double k = (xc * inv_ln2 + detail::kRoundShift) - detail::kRoundShift;
  const double r = (xc - k * ln2_high) - k * ln2_low;
  // exp(r) = 1 + (r + r^2 q(r)): the tail is small against r and r against 1,
  // so each rounding is damped except the final one.
  double q = 1.0 / 6227020800.0;  // 1/13!
  q = q * r + 1.0 / 479001600.0;
  q = q * r + 1.0 / 39916800.0;
  q = q * r + 1.0 / 3628800.0;
  q = q * r + 1.0 / 362880.0;
  q = q * r + 1.0 / 40320.0;
  q = q * r + 1.0 / 5040.0;
  q = q * r + 1.0 / 720.0;
  q = q * r + 1.0 / 120.0;
  q = q * r + 1.0 / 24.0;
  q = q * r + 1.0 / 6.0;
  q = q * r + 0.5;
  const double p = 1.0 + (r + r * r * q);
  // 2^k = 2^k1 * 2^k2 with both halves in the normal exponent range.
  const double k1 = (k * 0.5 + detail::kRoundShift) - detail::kRoundShift;
  const double k2 = k - k1;
  const double result = p * detail::power_of_two(k1) * detail::power_of_two(k2);
  return x != x ? x + x : result;
}

}  // namespace quorvel
