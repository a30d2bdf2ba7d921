#include "quadrature/quadrature.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>

#include "support/expect_error.hpp"

namespace quorvel {
namespace {

using testing::is_error;
using testing::value_of;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// An integrand that counts its calls and can be told to fail from a point on.
struct CountingIntegrand {
  double (*formula)(double);
  mutable int calls = 0;
  double fail_from = inf;
  EosError failure = EosError::invalid_state("volume", msg::positive_finite);

  EosResult operator()(double x) const {
    ++calls;
    if (x >= fail_from) return std::unexpected(failure);
    return formula(x);
  }
};

struct PolynomialCase {
  std::string_view name;
  double (*f)(double);
  double a, b;
  double expected;
  double relative_tolerance;
};

TEST(Integrate, Polynomials) {
  const PolynomialCase cases[] = {
      {"constant", [](double) { return 2.0; }, 0.0, 3.0, 6.0, 1e-15},
      {"linear", [](double x) { return x; }, -1.0, 2.0, 1.5, 1e-15},
      {"quadratic", [](double x) { return x * x; }, 0.0, 1.0, 1.0 / 3.0, 1e-15},
      {"cubic", [](double x) { return x * x * x - 2.0 * x; }, 1.0, 4.0, 48.75, 1e-15},
      {"negative interval", [](double x) { return 3.0 * x * x; }, -5.0, -2.0, -8.0 + 125.0, 1e-15},
      {"quartic (adaptive)", [](double x) { return x * x * x * x; }, 0.0, 2.0, 6.4, 1e-11},
      {"quintic (adaptive)", [](double x) { return x * x * x * x * x - x; }, -1.0, 3.0, (729.0 - 1.0) / 6.0 - 4.0,
       1e-11},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const double value = value_of(quadrature::integrate(c.f, c.a, c.b));
    EXPECT_NEAR(value, c.expected, c.relative_tolerance * std::fabs(c.expected));
  }
}

TEST(Integrate, SmoothIntegrandCostsFiveEvaluationsPerPanel) {
  // Simpson is exact for cubics, so every panel is accepted at the first level.
  CountingIntegrand f{[](double x) { return 1.0 + x * x * x; }};
  EXPECT_NEAR(value_of(quadrature::integrate(f, 0.0, 2.0)), 6.0, 1e-14);
  EXPECT_EQ(f.calls, 32 * 5);
}

TEST(Integrate, TranscendentalIntegrandsMeetTheTolerance) {
  EXPECT_NEAR(value_of(quadrature::integrate([](double x) { return std::exp(x); }, 0.0, 3.0)), std::expm1(3.0),
              1e-10 * std::expm1(3.0));
  EXPECT_NEAR(value_of(quadrature::integrate([](double x) { return std::sin(x); }, 0.0, M_PI)), 2.0, 1e-10);
  // A kink: refinement concentrates around x = 1/3.
  EXPECT_NEAR(value_of(quadrature::integrate([](double x) { return std::fabs(x - 1.0 / 3.0); }, 0.0, 1.0)),
              (1.0 / 9.0 + 4.0 / 9.0) / 2.0, 1e-10);
  // A singular derivative at 0: the depth limit ends refinement without error.
  EXPECT_NEAR(value_of(quadrature::integrate([](double x) { return std::sqrt(x); }, 0.0, 1.0)), 2.0 / 3.0, 1e-9);
}

TEST(Integrate, EqualBoundsGiveZeroWithoutCallingTheIntegrand) {
  CountingIntegrand f{[](double) { return 1.0; }, 0, -inf};  // would fail anywhere
  const EosResult r = quadrature::integrate(f, 2.0, 2.0);
  ASSERT_TRUE(r);
  EXPECT_EQ(*r, 0.0);
  EXPECT_FALSE(std::signbit(*r));
  EXPECT_EQ(f.calls, 0);
}

TEST(Integrate, SwappedBoundsNegateExactly) {
  const auto f = [](double x) { return std::exp(-x) * std::cos(3.0 * x); };
  const double forward = value_of(quadrature::integrate(f, 1.0, 3.0));
  const double backward = value_of(quadrature::integrate(f, 3.0, 1.0));
  EXPECT_EQ(backward, -forward);
}

TEST(Integrate, NonFiniteBoundsAreRejectedBeforeAnyEvaluation) {
  const double bounds[][2] = {{0.0, inf}, {-inf, 0.0}, {nan, 1.0}, {1.0, nan}, {inf, inf}, {nan, nan}};
  for (const auto& ab : bounds) {
    SCOPED_TRACE(::testing::Message() << ab[0] << ", " << ab[1]);
    CountingIntegrand f{[](double x) { return x; }};
    EXPECT_TRUE(is_error(quadrature::integrate(f, ab[0], ab[1]), EosErrorKind::InvalidState, "integration bounds",
                         "must be finite"));
    EXPECT_EQ(f.calls, 0);
  }
}

TEST(Integrate, FailingIntegrandReturnsThatVeryError) {
  const EosError failures[] = {
      EosError::invalid_state("volume", msg::positive_finite),
      EosError::invalid_parameter("K0", msg::positive_finite),
      EosError::convergence_failed(),
      EosError::outside_invertible_range(),
  };
  for (const EosError& failure : failures) {
    SCOPED_TRACE(failure.display());
    // Fails in a panel's first evaluations, inside the refinement, and
    // through the swapped-bounds path.
    for (double fail_from : {0.0, 0.5, 0.99}) {
      CountingIntegrand f{[](double x) { return std::exp(x); }, 0, fail_from, failure};
      const EosResult forward = quadrature::integrate(f, 0.0, 1.0);
      ASSERT_FALSE(forward);
      EXPECT_EQ(forward.error(), failure);
      const EosResult backward = quadrature::integrate(f, 1.0, 0.0);
      ASSERT_FALSE(backward);
      EXPECT_EQ(backward.error(), failure);
    }
  }
}

TEST(Integrate, FailureStopsTheIntegrationAtOnce) {
  CountingIntegrand f{[](double x) { return x; }, 0, 0.0};
  EXPECT_FALSE(quadrature::integrate(f, 0.0, 1.0));
  EXPECT_EQ(f.calls, 1);
}

TEST(Integrate, NonFiniteIntegrandValuesAreNonFiniteResults) {
  EXPECT_TRUE(is_error(quadrature::integrate([](double x) { return 1.0 / x; }, 0.0, 1.0),
                       EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(quadrature::integrate([](double x) -> EosResult { return x > 0.7 ? nan : x; }, 0.0, 1.0),
                       EosErrorKind::NonFiniteResult));
  // Finite values whose sum overflows.
  EXPECT_TRUE(is_error(quadrature::integrate([](double) { return 1e308; }, 0.0, 10.0),
                       EosErrorKind::NonFiniteResult));
}

TEST(AdaptiveSimpson, AcceptsAtDepthZeroWhateverTheError) {
  CountingIntegrand f{[](double x) { return std::exp(x); }};
  const double lo = 0.0, hi = 2.0, mid = 1.0;
  const double whole = (hi - lo) * (1.0 + 4.0 * std::exp(mid) + std::exp(hi)) / 6.0;
  const double value = value_of(quadrature::adaptive_simpson(f, 0, lo, hi, 1.0, std::exp(mid), std::exp(hi), whole, 0.0));
  EXPECT_EQ(f.calls, 2);
  const double left = (mid - lo) * (1.0 + 4.0 * std::exp(0.5) + std::exp(mid)) / 6.0;
  const double right = (hi - mid) * (std::exp(mid) + 4.0 * std::exp(1.5) + std::exp(hi)) / 6.0;
  const double delta = left + right - whole;
  EXPECT_EQ(value, left + right + delta / 15.0);
}

TEST(AdaptiveSimpson, ZeroToleranceRefinesToTheFullDepth) {
  // Two evaluations per node of a complete binary tree of depth d.
  for (int depth : {0, 1, 3, 6}) {
    SCOPED_TRACE(depth);
    CountingIntegrand f{[](double x) { return std::exp(x); }};
    const double whole = (1.0 + 4.0 * std::exp(0.5) + std::exp(1.0)) / 6.0;
    const double value =
        value_of(quadrature::adaptive_simpson(f, depth, 0.0, 1.0, 1.0, std::exp(0.5), std::exp(1.0), whole, 0.0));
    EXPECT_EQ(f.calls, 2 * ((1 << (depth + 1)) - 1));
    EXPECT_NEAR(value, std::expm1(1.0), 1e-6);
  }
}

TEST(AdaptiveSimpson, ErrorsInTheRightHalfAreReturnedUnchanged) {
  CountingIntegrand f{[](double x) { return std::exp(x); }, 0, 0.8, EosError::bracketing_failed()};
  const double whole = (1.0 + 4.0 * std::exp(0.5) + std::exp(1.0)) / 6.0;
  const EosResult r = quadrature::adaptive_simpson(f, 5, 0.0, 1.0, 1.0, std::exp(0.5), std::exp(1.0), whole, 0.0);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error(), EosError::bracketing_failed());
}

}  // namespace
}  // namespace quorvel
