#include "numeric/exponential.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace quorvel {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

// Error of r against exp(x) in units of the last place of the exact value
// (subnormal results in units of the smallest subnormal).
double ulp_error(double r, double x) {
  const long double exact = std::exp(static_cast<long double>(x));
  const double nearest = static_cast<double>(exact);
  double ulp = std::nextafter(nearest, inf) - nearest;
  if (nearest < std::numeric_limits<double>::min()) ulp = std::numeric_limits<double>::denorm_min();
  return static_cast<double>(std::fabs(static_cast<long double>(r) - exact) / ulp);
}

TEST(Exponential, WithinOneUlpOverTheWholeRange) {
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> wide(-745.0, 709.7);
  std::uniform_real_distribution<double> narrow(-2.0, 2.0);
  double worst = 0.0;
  for (int i = 0; i < 2000000; ++i) {
    const double x = i % 2 ? wide(rng) : narrow(rng);
    worst = std::max(worst, ulp_error(exponential(x), x));
  }
  EXPECT_LT(worst, 1.0);
}

TEST(Exponential, SpecialValues) {
  struct Case {
    double x, expected;
  };
  for (const Case c : {Case{0.0, 1.0}, Case{-0.0, 1.0}, Case{1e-300, 1.0}, Case{inf, inf}, Case{-inf, 0.0},
                       Case{709.79, inf}, Case{1e300, inf}, Case{-745.14, 0.0}, Case{-1e300, 0.0},
                       Case{-745.13, std::numeric_limits<double>::denorm_min()}}) {
    EXPECT_EQ(exponential(c.x), c.expected) << c.x;
  }
  EXPECT_TRUE(std::isnan(exponential(std::numeric_limits<double>::quiet_NaN())));
  // Largest finite result and a subnormal one agree with the library.
  EXPECT_EQ(exponential(709.782712893384), std::exp(709.782712893384));
  EXPECT_EQ(exponential(-708.4), std::exp(-708.4));
}

TEST(Exponential, ExactAtPowersOfTwoOfLn2Multiples) {
  // exp(k ln 2) for the double nearest k ln 2 is within an ulp of 2^k.
  for (int k = -1000; k <= 1000; k += 37) {
    const double x = k * 0.6931471805599453;
    EXPECT_LT(ulp_error(exponential(x), x), 1.0) << k;
  }
}

}  // namespace
}  // namespace quorvel
