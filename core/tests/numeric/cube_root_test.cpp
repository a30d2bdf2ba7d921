#include "numeric/cube_root.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace quorvel {
namespace {

// Error of r against the exact cube root of x, in units of r's last place.
double ulp_error(double r, double x) {
  const long double exact = std::cbrt(static_cast<long double>(x));
  const double ulp = std::nextafter(std::fabs(r), std::numeric_limits<double>::infinity()) - std::fabs(r);
  return static_cast<double>(std::fabs(static_cast<long double>(r) - exact) / ulp);
}

TEST(CubeRoot, ExactCubesAndOne) {
  EXPECT_EQ(cube_root(1.0), 1.0);
  EXPECT_EQ(cube_root(-1.0), -1.0);
  for (long k = 1; k <= 100000; ++k) {
    const double c = static_cast<double>(k) * static_cast<double>(k) * static_cast<double>(k);
    ASSERT_EQ(cube_root(c), static_cast<double>(k)) << k;
  }
  for (int e = -1020; e <= 1020; e += 3) EXPECT_EQ(cube_root(std::ldexp(1.0, e)), std::ldexp(1.0, e / 3)) << e;
}

TEST(CubeRoot, WithinThreeQuartersOfAnUlpOverTheWholeRange) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> mantissa(1.0, 2.0);
  double worst = 0.0;
  for (int i = 0; i < 2000000; ++i) {
    const int exponent = static_cast<int>(rng() % 2098) - 1074;
    double x = std::ldexp(mantissa(rng), exponent);
    if (i % 2) x = -x;
    const double r = cube_root(x);
    ASSERT_EQ(std::signbit(r), std::signbit(x));
    worst = std::max(worst, ulp_error(r, x));
  }
  EXPECT_LE(worst, 0.75);
}

TEST(CubeRoot, SpecialAndExtremeValues) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  const double denorm = std::numeric_limits<double>::denorm_min();
  for (double x : {0.0, -0.0, inf, -inf}) {
    EXPECT_EQ(cube_root(x), x) << x;
    EXPECT_EQ(std::signbit(cube_root(x)), std::signbit(x)) << x;
  }
  EXPECT_TRUE(std::isnan(cube_root(std::numeric_limits<double>::quiet_NaN())));
  for (double x : {denorm, -denorm, 1e-310, std::numeric_limits<double>::min(), std::numeric_limits<double>::max()})
    EXPECT_LE(ulp_error(cube_root(x), x), 0.75) << x;
  EXPECT_EQ(cube_root(0x1p-1074), 0x1p-358);
}

TEST(CubeRoot, MonotoneAcrossNeighbours) {
  double x = 0.5;
  double previous = cube_root(x);
  for (int i = 0; i < 200000; ++i) {
    x = std::nextafter(x, 2.0);
    const double r = cube_root(x);
    ASSERT_GE(r, previous) << x;
    previous = r;
  }
}

}  // namespace
}  // namespace quorvel
