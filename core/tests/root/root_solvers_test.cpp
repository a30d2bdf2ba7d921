// Tests of the guarded root solvers.
//
// Every test function goes through a CountingFunction, so the tests assert
// the search geometry itself (trial points, bracket ends, midpoints, the
// final check) and the evaluation budget, not only the returned value.
#include "root/root_solvers.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "support/counting_function.hpp"
#include "support/expect_error.hpp"

namespace quorvel::root {
namespace {

using quorvel::testing::CountingFunction;
using quorvel::testing::is_error;
using quorvel::testing::value_of;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double denorm = std::numeric_limits<double>::denorm_min();

// An error no solver makes itself: when it comes out, it came from f.
constexpr EosError kModelError = EosError::invalid_state("Murnaghan denominator", "must be positive");

// 1 + 160 trials + 256 midpoints + 1 final check.
constexpr std::size_t kVolumeBudget = 1 + 160 + 256 + 1;
// 1 + 2 x 160 trials + 256 midpoints for each of at most two brackets + 1.
constexpr std::size_t kTemperatureBudget = 1 + 320 + 2 * 256 + 1;

// A pressure-like function, decreasing in volume, zero at v0.
auto inverse_volume(double v0) {
  return [v0](double v) { return v0 / v - 1.0; };
}

// ---------------------------------------------------------------------------
// solve_volume_function: checks
// ---------------------------------------------------------------------------

TEST(SolveVolumeFunction, NonFiniteTargetIsRejectedFirstWithoutEvaluation) {
  for (double target : {nan, inf, -inf}) {
    for (double v0 : {1.0, nan, 0.0, -1.0}) {
      SCOPED_TRACE(::testing::Message() << "target " << target << ", V0 " << v0);
      const CountingFunction f(inverse_volume(1.0));
      EXPECT_TRUE(is_error(solve_volume_function(f, target, v0), EosErrorKind::InvalidState, "pressure",
                           "must be finite"));
      EXPECT_EQ(f.count(), 0u);
    }
  }
}

TEST(SolveVolumeFunction, BadReferenceVolumeIsRejectedWithoutEvaluation) {
  for (double v0 : {0.0, -0.0, -1.0, nan, inf, -inf}) {
    SCOPED_TRACE(::testing::Message() << "V0 " << v0);
    const CountingFunction f(inverse_volume(1.0));
    EXPECT_TRUE(is_error(solve_volume_function(f, 0.0, v0), EosErrorKind::InvalidState, "reference volume",
                         "must be positive and finite"));
    EXPECT_EQ(f.count(), 0u);
  }
}

TEST(SolveVolumeFunction, ZeroAndNegativeTargetsAreValid) {
  const CountingFunction f([](double v) { return 1.0 - v; });
  EXPECT_EQ(value_of(solve_volume_function(f, 0.0, 1.0)), 1.0);
  const double v = value_of(solve_volume_function(f, -5.0, 1.0));
  EXPECT_NEAR(v, 6.0, 1e-12);
}

// ---------------------------------------------------------------------------
// solve_volume_function: the reference point
// ---------------------------------------------------------------------------

TEST(SolveVolumeFunction, TargetMetAtReferenceReturnsV0WithoutAnyOtherEvaluation) {
  struct Case {
    double target;
    double f_at_v0;
    bool at_reference;
  };
  const Case cases[] = {
      {1000.0, 1000.0, true},
      {1000.0, 1000.0 * (1.0 + 0.5e-10), true},
      {1000.0, 1000.0 * (1.0 + 2e-10), false},
      {-1e6, -1e6 + 5e-5, true},  // tolerance 1e-10 x 1e6 = 1e-4
      {-1e6, -1e6 + 2e-4, false},
      {0.0, 1e-10, true},  // the tolerance is inclusive, scale at least 1
      {0.0, std::nextafter(1e-10, 1.0), false},
      {0.0, -0.9e-10, true},
      {0.3, 0.3 + 0.9e-10, true},  // scale is 1, not |target|
      {0.3, 0.3 + 1.2e-10, false},
  };
  const double v0 = 11.248;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "target " << c.target << ", f(V0) " << c.f_at_v0);
    // Constant: if the solver goes past V0 it fails to bracket.
    const CountingFunction f([&c](double) { return c.f_at_v0; });
    const EosResult r = solve_volume_function(f, c.target, v0);
    ASSERT_GE(f.count(), 1u);
    EXPECT_EQ(f.calls()[0], v0);
    if (c.at_reference) {
      EXPECT_EQ(value_of(r), v0);
      EXPECT_EQ(f.count(), 1u);
    } else {
      EXPECT_FALSE(r.has_value());
      EXPECT_GT(f.count(), 1u);
    }
  }
}

// ---------------------------------------------------------------------------
// solve_volume_function: search geometry
// ---------------------------------------------------------------------------

TEST(SolveVolumeFunction, CompressionWalkIsCumulativePowersOfPoint8AndBracketsAgainstV0) {
  const double v0 = 2.5;
  const auto p = inverse_volume(v0);
  const double root = v0 * std::pow(0.8, 4.5);  // between the 4th and the 5th trial
  const double target = p(root);
  const CountingFunction f(p);
  const double v = value_of(solve_volume_function(f, target, v0));

  const auto& x = f.calls();
  ASSERT_GE(x.size(), 8u);
  EXPECT_EQ(x[0], v0);
  double trial = v0;
  for (int k = 1; k <= 5; ++k) {
    trial *= 0.8;
    EXPECT_EQ(x[k], trial) << "trial " << k;
  }
  // The bracket is [V5, V0], not [V5, V4]: the first midpoint halves it.
  EXPECT_EQ(x[6], x[5] + (v0 - x[5]) / 2.0);
  // Every later evaluation lies inside that bracket.
  for (std::size_t i = 6; i < x.size(); ++i) {
    EXPECT_GT(x[i], x[5]);
    EXPECT_LT(x[i], v0);
  }
  EXPECT_NEAR(v, root, 1e-13 * root);
  EXPECT_EQ(x.back(), v);  // the final check evaluates the accepted root
  EXPECT_LE(std::fabs(p(v) - target), 1e-8 * std::max(std::fabs(target), 1.0));
  EXPECT_LE(x.size(), kVolumeBudget);
}

TEST(SolveVolumeFunction, ExpansionWalkIsCumulativePowersOf105AndBracketsAgainstV0) {
  const double v0 = 2.5;
  const auto p = inverse_volume(v0);
  const double root = v0 * std::pow(1.05, 3.5);  // between the 3rd and the 4th trial
  const double target = p(root);
  ASSERT_LT(target, 0.0);
  const CountingFunction f(p);
  const double v = value_of(solve_volume_function(f, target, v0));

  const auto& x = f.calls();
  ASSERT_GE(x.size(), 7u);
  EXPECT_EQ(x[0], v0);
  double trial = v0;
  for (int k = 1; k <= 4; ++k) {
    trial *= 1.05;
    EXPECT_EQ(x[k], trial) << "trial " << k;
  }
  EXPECT_EQ(x[5], v0 + (x[4] - v0) / 2.0);  // bracket [V0, V4]
  for (std::size_t i = 5; i < x.size(); ++i) {
    EXPECT_GT(x[i], v0);
    EXPECT_LT(x[i], x[4]);
  }
  EXPECT_NEAR(v, root, 1e-13 * root);
  EXPECT_EQ(x.back(), v);
  EXPECT_LE(x.size(), kVolumeBudget);
}

TEST(SolveVolumeFunction, TrialWithZeroResidualClosesTheBracket) {
  // r >= 0 ends the compression walk and r <= 0 the expansion walk.
  const double v0 = 1.0;
  {
    // The trial is an exact root: it is the answer, checked once more.
    const CountingFunction f([](double v) { return v < 0.9 ? 0.0 : -1.0; });
    EXPECT_EQ(value_of(solve_volume_function(f, 0.0, v0)), 0.8);
    EXPECT_EQ(f.calls(), (std::vector<double>{1.0, 0.8, 0.8}));
  }
  {
    const CountingFunction f([](double v) { return v > 1.01 ? 0.0 : 1.0; });
    EXPECT_EQ(value_of(solve_volume_function(f, 0.0, v0)), 1.05);
    EXPECT_EQ(f.calls(), (std::vector<double>{1.0, 1.05, 1.05}));
  }
}

TEST(SolveVolumeFunction, CompressionStopsAbove1e14V0WithBracketingFailed) {
  for (double v0 : {1.0, 11.248, 3e-7, 1e200}) {
    SCOPED_TRACE(::testing::Message() << "V0 " << v0);
    const CountingFunction f([](double) { return -1.0; });  // always below the target
    EXPECT_TRUE(is_error(solve_volume_function(f, 0.0, v0), EosErrorKind::BracketingFailed));
    const auto& x = f.calls();
    // 0.8^144 = 1.11e-14 > 1e-14 >= 0.8^145: 144 trials.
    ASSERT_EQ(x.size(), 1u + 144u);
    double trial = v0;
    for (std::size_t k = 1; k < x.size(); ++k) {
      trial *= 0.8;
      ASSERT_EQ(x[k], trial) << "trial " << k;
      EXPECT_GT(x[k], 1e-14 * v0);
    }
    EXPECT_LE(x.back() * 0.8, 1e-14 * v0);
  }
}

TEST(SolveVolumeFunction, CompressionStopsAfter160Trials) {
  // With the smallest subnormal V0 every trial rounds back to V0 and 1e-14 V0
  // is zero, so only the trial limit ends the walk.
  const CountingFunction f([](double) { return -1.0; });
  EXPECT_TRUE(is_error(solve_volume_function(f, 0.0, denorm), EosErrorKind::BracketingFailed));
  ASSERT_EQ(f.count(), 1u + 160u);
  for (double x : f.calls()) EXPECT_EQ(x, denorm);
}

TEST(SolveVolumeFunction, ExpansionStopsAfter160TrialsWithOutsideInvertibleRange) {
  for (double v0 : {1.0, 11.248, 7e-9}) {
    SCOPED_TRACE(::testing::Message() << "V0 " << v0);
    const CountingFunction f([](double) { return 1.0; });  // always above the target
    EXPECT_TRUE(is_error(solve_volume_function(f, 0.0, v0), EosErrorKind::OutsideInvertibleRange));
    const auto& x = f.calls();
    ASSERT_EQ(x.size(), 1u + 160u);
    double trial = v0;
    for (std::size_t k = 1; k < x.size(); ++k) {
      trial *= 1.05;
      ASSERT_EQ(x[k], trial) << "trial " << k;
      EXPECT_LT(x[k], 1e4 * v0);
    }
    EXPECT_NEAR(x.back() / v0, std::pow(1.05, 160), 1e-10);  // about 2456 V0
  }
}

TEST(SolveVolumeFunction, ExpansionNeverEvaluatesBeyondTheCap) {
  // The 1e4 V0 cap is out of reach of 160 trials of 1.05 for an ordinary V0;
  // near the top of the double range the next trial overflows first. No
  // trial may be infinite.
  const double v0 = 1e307;
  const CountingFunction f([](double) { return 1.0; });
  EXPECT_TRUE(is_error(solve_volume_function(f, 0.0, v0), EosErrorKind::OutsideInvertibleRange));
  EXPECT_LE(f.count(), 1u + 160u);
  for (double x : f.calls()) {
    EXPECT_TRUE(std::isfinite(x)) << x;
    EXPECT_LT(x / v0, 1e4);
  }
}

// ---------------------------------------------------------------------------
// solve_volume_function: failures of f, tolerances, final check, budget
// ---------------------------------------------------------------------------

TEST(SolveVolumeFunction, FailedEvaluationEndsTheSolveWithThatError) {
  const double v0 = 1.0;
  const double first_midpoint = 0.8 + (1.0 - 0.8) / 2.0;
  struct Case {
    const char* where;
    CountingFunction f;
    double target;
    std::size_t calls;
  };
  const EosResult error = std::unexpected(kModelError);
  Case cases[] = {
      {"at V0", CountingFunction([&](double) { return error; }), 0.0, 1},
      {"third compression trial",
       CountingFunction([&](double v) { return v < 0.6 ? error : EosResult(-1.0); }), 0.0, 4},
      {"second expansion trial", CountingFunction([&](double v) { return v > 1.1 ? error : EosResult(1.0); }),
       0.0, 3},
      {"third midpoint",
       CountingFunction([&](double v, std::size_t i) { return i == 4 ? error : EosResult(inverse_volume(v0)(v)); }),
       0.1, 5},
      {"final check", CountingFunction([&](double v, std::size_t i) {
         if (i == 3) return error;
         return EosResult(v < first_midpoint ? 1.0 : v == first_midpoint ? 0.0 : -1.0);
       }),
       0.0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    const EosResult r = solve_volume_function(c.f, c.target, v0);
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error(), kModelError);
    EXPECT_EQ(c.f.count(), c.calls);
  }
}

TEST(SolveVolumeFunction, StepToleranceIsRelativePlusMaxOfV0Eps1e14) {
  // A jump at 0.85 V0 is never met by the residual tolerance, so the
  // bisection of [0.8 V0, V0] stops on h <= 1e-14 |m| + max(V0 2^-52, 1e-14)
  // and the final check rejects the jump.
  //   V0 = 1:    h = 0.1/2^k <= 1.85e-14 first at k = 43: 44 midpoints
  //   V0 = 1e-6: h = 1e-7/2^k <= 1e-14 (absolute floor) at k = 24: 25 midpoints
  struct Case {
    double v0;
    std::size_t midpoints;
  };
  for (const Case c : {Case{1.0, 44}, Case{1e-6, 25}}) {
    SCOPED_TRACE(::testing::Message() << "V0 " << c.v0);
    const double jump = 0.85 * c.v0;
    const CountingFunction f([jump](double v) { return v < jump ? 1.0 : -1.0; });
    EXPECT_TRUE(is_error(solve_volume_function(f, 0.0, c.v0), EosErrorKind::ConvergenceFailed));
    const auto& x = f.calls();
    ASSERT_EQ(x.size(), 2 + c.midpoints + 1);
    EXPECT_EQ(x[x.size() - 1], x[x.size() - 2]);  // the check re-evaluates the last midpoint
    EXPECT_NEAR(x.back(), jump, 4e-14);
  }
}

TEST(SolveVolumeFunction, ResidualToleranceIsScaleTimes2ToMinus49) {
  // f(V0) is below the target, f(0.8 V0) above it; at the first midpoint the
  // residual is set to exactly the tolerance max(|target|, 1) 2^-49, or just
  // above it. Accepted, the midpoint is returned after 4 evaluations;
  // rejected, the bisection closes on a jump and the check fails.
  const double m1 = 0.8 + (1.0 - 0.8) / 2.0;
  struct Case {
    double target;
    double residual_at_m1;
    bool accepted;
  };
  const double t = 0x1p-49;
  const Case cases[] = {
      {1024.0, 1024.0 * t, true},
      {1024.0, 1024.0 * t + 0x1p-42, false},
      {-1024.0, -1024.0 * t, true},
      {-1024.0, -1024.0 * t - 0x1p-42, false},
      {0.5, t, true},  // scale is 1 below |target| = 1
      {0.5, t + 0x1p-52, false},
      {0.0, -t, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "target " << c.target << ", r(m1) " << c.residual_at_m1);
    ASSERT_EQ((c.target + c.residual_at_m1) - c.target, c.residual_at_m1);  // exact in double
    const CountingFunction f([&c, m1](double v) {
      if (v == m1) return c.target + c.residual_at_m1;
      return v < m1 ? c.target + 1.0 : c.target - 1.0;
    });
    const EosResult r = solve_volume_function(f, c.target, 1.0);
    if (c.accepted) {
      EXPECT_EQ(value_of(r), m1);
      EXPECT_EQ(f.count(), 4u);
    } else {
      EXPECT_TRUE(is_error(r, EosErrorKind::ConvergenceFailed));
      EXPECT_GT(f.count(), 4u);
    }
  }
}

TEST(SolveVolumeFunction, FinalCheckRejectsAJumpButAcceptsAStepBelow1e8Scale) {
  const double target = 1000.0;
  const double jump = 0.87;
  for (double half_step : {2e-8 * target, 0.4e-8 * target}) {
    SCOPED_TRACE(::testing::Message() << "half step " << half_step);
    const CountingFunction f([&](double v) { return v < jump ? target + half_step : target - half_step; });
    const EosResult r = solve_volume_function(f, target, 1.0);
    if (half_step > 1e-8 * target) {
      EXPECT_TRUE(is_error(r, EosErrorKind::ConvergenceFailed));
    } else {
      EXPECT_NEAR(value_of(r), jump, 1e-13);
    }
    EXPECT_LE(f.count(), kVolumeBudget);
  }
}

TEST(SolveVolumeFunction, FinalCheckRejectsAPole) {
  // -1/(V - 0.87): negative at V0, positive at 0.8 V0, no root in between.
  const CountingFunction f([](double v) { return -1.0 / (v - 0.87); });
  EXPECT_TRUE(is_error(solve_volume_function(f, 0.0, 1.0), EosErrorKind::ConvergenceFailed));
  EXPECT_NEAR(f.last(), 0.87, 1e-13);
  EXPECT_LE(f.count(), kVolumeBudget);
}

TEST(SolveVolumeFunction, NeverExceedsTheEvaluationBudget) {
  struct Case {
    const char* name;
    CountingFunction f;
    double target;
    double v0;
  };
  Case cases[] = {
      {"smooth compression", CountingFunction(inverse_volume(3.0)), 50.0, 3.0},
      {"smooth expansion", CountingFunction(inverse_volume(3.0)), -0.99, 3.0},
      {"jump", CountingFunction([](double v) { return v < 0.123 ? 1.0 : -1.0; }), 0.0, 1.0},
      {"pole", CountingFunction([](double v) { return -1.0 / (v - 1e-10); }), 0.0, 1.0},
      {"never reached compressing", CountingFunction([](double) { return -1.0; }), 0.0, 1.0},
      {"never reached expanding", CountingFunction([](double) { return 1.0; }), 0.0, 1.0},
      {"subnormal V0", CountingFunction([](double) { return -1.0; }), 0.0, denorm},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    (void)solve_volume_function(c.f, c.target, c.v0);
    EXPECT_GT(c.f.count(), 1u);
    EXPECT_LE(c.f.count(), kVolumeBudget);
  }
}

// ---------------------------------------------------------------------------
// bisect_bracket
// ---------------------------------------------------------------------------

TEST(BisectBracket, EndsOfEqualStrictSignFailWithoutEvaluation) {
  struct Case {
    double ra, rb;
  };
  for (const Case c : {Case{1.0, 2.0}, Case{-1.0, -3.0}, Case{1e-3, 1e300}, Case{-inf, -1.0}}) {
    SCOPED_TRACE(::testing::Message() << c.ra << ", " << c.rb);
    const CountingFunction f([](double x) { return x; });
    EXPECT_TRUE(is_error(bisect_bracket(f, 0.0, -1.0, c.ra, 1.0, c.rb, 1e-12, 1e-12), EosErrorKind::BracketingFailed));
    EXPECT_EQ(f.count(), 0u);
  }
}

TEST(BisectBracket, TinyEndResidualsOfEqualStrictSignAreNotABracket) {
  // Equal strict signs fail (bisection and temperature search); only a residual of
  // exactly zero makes the product zero. A product that underflows to zero
  // from two nonzero residuals of the same sign is still no bracket.
  struct Case {
    double ra, rb;
  };
  for (const Case c : {Case{1e-200, 1e-200}, Case{-1e-300, -1e-30}, Case{denorm, 0.5}}) {
    SCOPED_TRACE(::testing::Message() << c.ra << ", " << c.rb);
    const CountingFunction f([](double x) { return x; });
    EXPECT_TRUE(is_error(bisect_bracket(f, 0.0, -1.0, c.ra, 1.0, c.rb, 1e-12, 1e-12), EosErrorKind::BracketingFailed));
    EXPECT_EQ(f.count(), 0u);
  }
}

TEST(BisectBracket, AZeroEndResidualIsABracket) {
  // An end with a zero residual is a root: returned without any evaluation,
  // whichever sign the other end has.
  struct Case {
    double ra, rb, expected;
  };
  for (const Case c : {Case{-1.0, 0.0, 1.0}, Case{0.0, 1.0, 0.0}, Case{0.0, -1.0, 0.0}, Case{1.0, 0.0, 1.0},
                       Case{0.0, 0.0, 0.0}, Case{-0.0, 1.0, 0.0}}) {
    SCOPED_TRACE(::testing::Message() << c.ra << ", " << c.rb);
    const CountingFunction f([](double x) { return x - 0.25; });
    EXPECT_EQ(value_of(bisect_bracket(f, 0.0, 0.0, c.ra, 1.0, c.rb, 1e-15, 0.0)), c.expected);
    EXPECT_EQ(f.count(), 0u);
  }
  {  // -0 times a positive residual is -0, not > 0
    const CountingFunction f([](double x) { return x - 0.5; });
    EXPECT_TRUE(bisect_bracket(f, 0.0, 0.0, -0.0, 1.0, 1.0, 1e-15, 0.0).has_value());
  }
}

TEST(BisectBracket, MidpointsAreLowerPlusHalfWidthAndEndsAreNeverEvaluated) {
  const CountingFunction f([](double x) { return x - 1.0 / 3.0; });
  // Only the signs of the end residuals matter; they are not re-evaluated.
  const double m = value_of(bisect_bracket(f, 0.0, 0.0, -1e300, 1.0, 7.0, 0.0, 0x1p-49));
  const auto& x = f.calls();
  ASSERT_GE(x.size(), 5u);
  EXPECT_EQ(x[0], 0.5);
  EXPECT_EQ(x[1], 0.25);
  EXPECT_EQ(x[2], 0.375);
  EXPECT_EQ(x[3], 0.3125);
  EXPECT_EQ(x[4], 0.34375);
  for (double xi : x) {
    EXPECT_NE(xi, 0.0);
    EXPECT_NE(xi, 1.0);
  }
  EXPECT_EQ(x.back(), m);
  EXPECT_LE(std::fabs(m - 1.0 / 3.0), 1e-14);
}

TEST(BisectBracket, ZeroMidpointResidualCountsAsNonNegative) {
  // A negative residual tolerance is never met, so a zero residual at the
  // midpoint moves an end; the next midpoint shows which.
  {  // r(a) < 0: a zero at m has the sign of r(b), so b = m
    const CountingFunction f([](double x) { return x < 0.5 ? -1.0 : 0.0; });
    (void)bisect_bracket(f, 0.0, 0.0, -1.0, 1.0, 1.0, 0.1, -1.0);
    ASSERT_GE(f.count(), 2u);
    EXPECT_EQ(f.calls()[1], 0.25);
  }
  {  // r(a) > 0: a zero at m has the sign of r(a), so a = m
    const CountingFunction f([](double x) { return x < 0.5 ? 1.0 : 0.0; });
    (void)bisect_bracket(f, 0.0, 0.0, 1.0, 1.0, -1.0, 0.1, -1.0);
    ASSERT_GE(f.count(), 2u);
    EXPECT_EQ(f.calls()[1], 0.75);
  }
}

TEST(BisectBracket, ResidualToleranceIsInclusive) {
  const auto line = [](double x) { return x - 0.25; };  // r(1) = 0.75
  {
    const CountingFunction f(line);
    EXPECT_EQ(value_of(bisect_bracket(f, 0.0, -1.0, -1.25, 3.0, 2.75, 0.0, 0.75)), 1.0);
    EXPECT_EQ(f.count(), 1u);
  }
  {
    const CountingFunction f(line);
    (void)bisect_bracket(f, 0.0, -1.0, -1.25, 3.0, 2.75, 0.0, std::nextafter(0.75, 0.0));
    EXPECT_GT(f.count(), 1u);
  }
  {  // the target is subtracted before the test
    const CountingFunction f([](double x) { return x + 99.75; });
    EXPECT_EQ(value_of(bisect_bracket(f, 100.0, -1.0, -1.25, 3.0, 2.75, 0.0, 0.75)), 1.0);
    EXPECT_EQ(f.count(), 1u);
  }
}

TEST(BisectBracket, StepToleranceIsInclusiveAbsolutePlusRelative) {
  const auto step = [](double x) { return x < 0.3 ? -1.0 : 1.0; };  // residual never small
  {  // h = 1 <= 1e-14 + 1: the first midpoint
    const CountingFunction f(step);
    EXPECT_EQ(value_of(bisect_bracket(f, 0.0, 0.0, -1.0, 2.0, 1.0, 1.0, 0.0)), 1.0);
    EXPECT_EQ(f.count(), 1u);
  }
  {  // h = 1 > 0.99 + 1e-14, then h = 0.5
    const CountingFunction f(step);
    EXPECT_EQ(value_of(bisect_bracket(f, 0.0, 0.0, -1.0, 2.0, 1.0, 0.99, 0.0)), 0.5);
    EXPECT_EQ(f.count(), 2u);
  }
  {  // equality with m = 0: h = 1 <= 0 + 1 stops at the first midpoint
    const CountingFunction f(step);
    EXPECT_EQ(value_of(bisect_bracket(f, 0.0, -1.0, -1.0, 1.0, 1.0, 1.0, 0.0)), 0.0);
    EXPECT_EQ(f.count(), 1u);
  }
  // Relative part alone (zero absolute tolerance): 1e-14 |m| = 1.024e-11.
  const auto far_step = [](double x) { return x < 1024.0 + 0x1p-40 ? -1.0 : 1.0; };
  {  // h = 2^-37 = 7.3e-12: stop at once
    const CountingFunction f(far_step);
    EXPECT_EQ(value_of(bisect_bracket(f, 0.0, 1024.0, -1.0, 1024.0 + 0x1p-36, 1.0, 0.0, 0.0)),
              1024.0 + 0x1p-37);
    EXPECT_EQ(f.count(), 1u);
  }
  {  // h = 2^-36 = 1.46e-11 continues, then h = 2^-37 stops
    const CountingFunction f(far_step);
    EXPECT_EQ(value_of(bisect_bracket(f, 0.0, 1024.0, -1.0, 1024.0 + 0x1p-35, 1.0, 0.0, 0.0)),
              1024.0 + 0x1p-37);
    EXPECT_EQ(f.count(), 2u);
  }
}

TEST(BisectBracket, GivesUpAfter256MidpointsWithConvergenceFailed) {
  // The sign flips at 0 but the residual is always +-1; the midpoints are
  // -1/2, -1/4, ... so h never falls below 1e-14 |m| with zero tolerances.
  for (double residual_tolerance : {0.0, 1e-300}) {
    const CountingFunction f([](double x) { return x >= 0.0 ? 1.0 : -1.0; });
    EXPECT_TRUE(is_error(bisect_bracket(f, 0.0, -1.0, -1.0, 1.0, 1.0, 0.0, residual_tolerance),
                         EosErrorKind::ConvergenceFailed));
    EXPECT_EQ(f.count(), 256u);
    EXPECT_EQ(f.calls()[0], 0.0);
    EXPECT_EQ(f.calls()[1], -0.5);
  }
}

TEST(BisectBracket, PassesEvaluationErrorsThrough) {
  const CountingFunction f([](double x, std::size_t i) { return i == 2 ? EosResult(std::unexpected(kModelError)) : EosResult(x - 0.1); });
  const EosResult r = bisect_bracket(f, 0.0, 0.0, -0.1, 1.0, 0.9, 0.0, 0.0);
  ASSERT_FALSE(r.has_value());
  EXPECT_EQ(r.error(), kModelError);
  EXPECT_EQ(f.count(), 3u);
}

// ---------------------------------------------------------------------------
// check_residual
// ---------------------------------------------------------------------------

TEST(CheckResidual, AcceptsWithinOneE8TimesScaleInclusive) {
  struct Case {
    double target;
    double fx;
    bool accepted;
  };
  const Case cases[] = {
      {0.0, 1e-8, true},
      {0.0, -1e-8, true},
      {0.0, std::nextafter(1e-8, 1.0), false},
      {0.5, 0.5 + 0.9e-8, true},  // scale 1, not 0.5
      {0.5, 0.5 + 1.1e-8, false},
      {-1.0, -1.0 - 0.9e-8, true},
      {1e6, 1e6 + 0.009, true},  // scale |target|
      {1e6, 1e6 + 0.011, false},
      {-1e6, -1e6 - 0.011, false},
      {-1e6, -1e6 + 0.009, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "target " << c.target << ", f(x) " << c.fx);
    const CountingFunction f([&c](double) { return c.fx; });
    const EosResult r = check_residual(f, c.target, 3.7);
    if (c.accepted)
      EXPECT_EQ(value_of(r), 3.7);
    else
      EXPECT_TRUE(is_error(r, EosErrorKind::ConvergenceFailed));
    ASSERT_EQ(f.count(), 1u);
    EXPECT_EQ(f.calls()[0], 3.7);
  }
}

TEST(CheckResidual, PassesEvaluationErrorsThrough) {
  const CountingFunction f([](double) { return EosResult(std::unexpected(kModelError)); });
  const EosResult r = check_residual(f, 0.0, 1.0);
  ASSERT_FALSE(r.has_value());
  EXPECT_EQ(r.error(), kModelError);
}

// ---------------------------------------------------------------------------
// solve_temperature_function
// ---------------------------------------------------------------------------

// The trial temperatures of the two walkers when no sign change is found:
// lower max(0.8 T, 1e-14 T0) while T > 1e-14 T0, upper min(1.25 T, 1e8 T0)
// while T < 1e8 T0, lower first in every sweep.
std::vector<double> unbracketed_walk(double t0) {
  std::vector<double> x{t0};
  double lo = t0, hi = t0;
  bool lo_active = true, hi_active = true;
  for (int sweep = 1; sweep <= 160 && (lo_active || hi_active); ++sweep) {
    if (lo_active) {
      lo = std::max(0.8 * lo, 1e-14 * t0);
      x.push_back(lo);
      lo_active = lo > 1e-14 * t0;
    }
    if (hi_active) {
      hi = std::min(1.25 * hi, 1e8 * t0);
      x.push_back(hi);
      hi_active = hi < 1e8 * t0;
    }
  }
  return x;
}

TEST(SolveTemperatureFunction, NonFiniteTargetIsRejectedFirstWithoutEvaluation) {
  for (double target : {nan, inf, -inf}) {
    for (double t0 : {300.0, nan, 0.0}) {
      SCOPED_TRACE(::testing::Message() << "target " << target << ", T0 " << t0);
      const CountingFunction f([](double t) { return t; });
      EXPECT_TRUE(is_error(solve_temperature_function(f, target, t0), EosErrorKind::InvalidState, "pressure",
                           "must be finite"));
      EXPECT_EQ(f.count(), 0u);
    }
  }
}

TEST(SolveTemperatureFunction, BadReferenceTemperatureIsRejectedWithoutEvaluation) {
  for (double t0 : {0.0, -0.0, -300.0, nan, inf, -inf}) {
    SCOPED_TRACE(::testing::Message() << "T0 " << t0);
    const CountingFunction f([](double t) { return t; });
    EXPECT_TRUE(is_error(solve_temperature_function(f, 1.0, t0), EosErrorKind::InvalidState, "temperature",
                         "must be positive and finite"));
    EXPECT_EQ(f.count(), 0u);
  }
}

TEST(SolveTemperatureFunction, TargetMetAtReferenceReturnsT0WithoutAnyOtherEvaluation) {
  for (double f0 : {5.0, 5.0 + 4e-10, 5.0 - 4e-10}) {
    const CountingFunction f([f0](double) { return f0; });
    EXPECT_EQ(value_of(solve_temperature_function(f, 5.0, 300.0)), 300.0);
    EXPECT_EQ(f.count(), 1u);
  }
  const CountingFunction f([](double) { return 5.0 + 6e-10; });  // 1e-10 x 5 = 5e-10
  EXPECT_FALSE(solve_temperature_function(f, 5.0, 300.0).has_value());
  EXPECT_GT(f.count(), 1u);
}

TEST(SolveTemperatureFunction, WalkersClampAtTheirLimitsAndFailWithOutsideInvertibleRange) {
  for (double t0 : {300.0, 1.0, 2500.0, 1e-3}) {
    for (double level : {-1.0, 1.0}) {
      SCOPED_TRACE(::testing::Message() << "T0 " << t0 << ", f " << level);
      const CountingFunction f([level](double) { return level; });
      EXPECT_TRUE(is_error(solve_temperature_function(f, 0.0, t0), EosErrorKind::OutsideInvertibleRange));
      const std::vector<double> expected = unbracketed_walk(t0);
      // 0.8^144 > 1e-14 > 0.8^145: 145 lower trials, the last one clamped;
      // 1.25^82 < 1e8 < 1.25^83: 83 upper trials, the last one clamped.
      ASSERT_EQ(expected.size(), 1u + 145u + 83u);
      EXPECT_EQ(f.calls(), expected);
      const auto& x = f.calls();
      ASSERT_EQ(x.size(), expected.size());
      EXPECT_EQ(x[1], 0.8 * t0);   // lower walker first
      EXPECT_EQ(x[2], 1.25 * t0);  // then the upper walker
      EXPECT_EQ(x[2 * 83], 1e8 * t0);  // last upper trial, exactly 1e8 T0
      EXPECT_EQ(x.back(), 1e-14 * t0);  // last lower trial, exactly 1e-14 T0
    }
  }
}

TEST(SolveTemperatureFunction, GivesUpAfter160Sweeps) {
  // With the smallest subnormal T0 both walkers round back onto T0 and stay
  // active; only the sweep limit ends the search.
  const CountingFunction f([](double) { return 1.0; });
  EXPECT_TRUE(is_error(solve_temperature_function(f, 0.0, denorm), EosErrorKind::OutsideInvertibleRange));
  EXPECT_EQ(f.count(), 1u + 2u * 160u);
}

TEST(SolveTemperatureFunction, LowerWalkerFindsTheRoot) {
  const double t0 = 300.0;
  const CountingFunction f([](double t) { return t; });
  const double target = 150.0;  // between 0.8^3 T0 and 0.8^4 T0
  const double t = value_of(solve_temperature_function(f, target, t0));
  EXPECT_NEAR(t, target, 1e-12 * target);
  const auto& x = f.calls();
  ASSERT_GE(x.size(), 11u);
  // Four full sweeps: the upper walker still moves in the sweep where the
  // lower one finds the sign change, and no fifth sweep follows.
  double lo = t0, hi = t0;
  for (int sweep = 1; sweep <= 4; ++sweep) {
    lo *= 0.8;
    hi *= 1.25;
    EXPECT_EQ(x[2 * sweep - 1], lo) << "sweep " << sweep;
    EXPECT_EQ(x[2 * sweep], hi) << "sweep " << sweep;
  }
  EXPECT_EQ(x[9], x[7] + (x[5] - x[7]) / 2.0);  // bracket [0.8^4 T0, 0.8^3 T0]
  EXPECT_EQ(x.back(), t);
  EXPECT_LE(x.size(), kTemperatureBudget);
}

TEST(SolveTemperatureFunction, UpperWalkerFindsTheRoot) {
  const double t0 = 300.0;
  const CountingFunction f([](double t) { return -t; });
  const double target = -600.0;  // T = 2 T0, between 1.25^3 T0 and 1.25^4 T0
  const double t = value_of(solve_temperature_function(f, target, t0));
  EXPECT_NEAR(t, 600.0, 1e-12 * 600.0);
  const auto& x = f.calls();
  ASSERT_GE(x.size(), 11u);
  double lo = t0, hi = t0;
  for (int sweep = 1; sweep <= 4; ++sweep) lo *= 0.8, hi *= 1.25;
  EXPECT_EQ(x[7], lo);
  EXPECT_EQ(x[8], hi);
  EXPECT_EQ(x[9], x[6] + (x[8] - x[6]) / 2.0);  // bracket [1.25^3 T0, 1.25^4 T0]
  EXPECT_EQ(x.back(), t);
}

TEST(SolveTemperatureFunction, RootsBetweenTheLastRegularTrialAndTheClampAreFound) {
  const double t0 = 300.0;
  {  // 0.8^144 T0 = 1.109e-14 T0 > root > 1e-14 T0
    const double root = 1.05e-14 * t0;
    const CountingFunction f([](double t) { return t; });
    const double t = value_of(solve_temperature_function(f, root, t0));
    // The temperature tolerance max(T0, 1) 2^-52 is coarse here.
    EXPECT_NEAR(t, root, 2.0 * t0 * 0x1p-52);
    EXPECT_TRUE(std::find(f.calls().begin(), f.calls().end(), 1e-14 * t0) != f.calls().end());
  }
  {  // 1.25^82 T0 = 8.84e7 T0 < root < 1e8 T0
    const double root = 0.95e8 * t0;
    const CountingFunction f([](double t) { return t; });
    const double t = value_of(solve_temperature_function(f, root, t0));
    EXPECT_NEAR(t, root, 1e-13 * root);
    EXPECT_TRUE(std::find(f.calls().begin(), f.calls().end(), 1e8 * t0) != f.calls().end());
  }
}

TEST(SolveTemperatureFunction, StepToleranceHasTheFloorMaxT0And1) {
  // T0 = 1e-3 < 1: the step test is h <= 1e-14 |m| + 2^-52, not + T0 2^-52.
  // A jump at 1.3e-3 is bracketed by the upper walker in sweep 2, in
  // [1.25e-3, 1.5625e-3]; h = 1.5625e-4 / 2^k <= 2.35e-16 first at k = 40.
  const double t0 = 1e-3;
  const CountingFunction f([](double t) { return t < 1.3e-3 ? -1.0 : 1.0; });
  EXPECT_TRUE(is_error(solve_temperature_function(f, 0.0, t0), EosErrorKind::ConvergenceFailed));
  EXPECT_EQ(f.count(), 1u + 4u + 41u + 1u);
  EXPECT_NEAR(f.last(), 1.3e-3, 5e-16);
}

TEST(SolveTemperatureFunction, TrialWithZeroResidualRecordsABracket) {
  const double t0 = 300.0;
  {  // upper walker: 1.25 T0 = 375 exactly; bracket [T0, 375] in sweep 1
    const CountingFunction f([](double t) { return t; });
    EXPECT_EQ(value_of(solve_temperature_function(f, 375.0, t0)), 375.0);
    // T0, lower trial, upper trial (exact root, no bisection), final check.
    EXPECT_EQ(f.calls(), (std::vector<double>{300.0, 240.0, 375.0, 375.0}));
  }
  {  // lower walker: 0.8 T0 = 240 exactly; f decreasing, bracket [240, T0]
    ASSERT_EQ(0.8 * t0, 240.0);
    const CountingFunction f([](double t) { return -t; });
    EXPECT_EQ(value_of(solve_temperature_function(f, -240.0, t0)), 240.0);
    EXPECT_EQ(f.calls(), (std::vector<double>{300.0, 240.0, 375.0, 240.0}));
  }
}

// A lower-walker trial landing exactly on the root of an increasing function
// gives the bracket (T, r = 0, previous T, r > 0). Counting r = 0 as
// non-negative would move every midpoint's lower end up and walk away from the
// root; the exact root must be returned instead. (A temperature round trip at
// T = 0.8 Tr hits this.)
TEST(SolveTemperatureFunction, ExactRootOnALowerTrialOfAnIncreasingFunctionIsFound) {
  const CountingFunction f([](double t) { return t; });
  EXPECT_NEAR(value_of(solve_temperature_function(f, 240.0, 300.0)), 240.0, 1e-11);
}

// Two roots around T0, at T0 e^lower and T0 e^upper (lower < 0 < upper),
// positive between them.
auto two_roots(double t0, double lower, double upper) {
  return [=](double t) {
    const double u = std::log(t / t0);
    return (u - lower) * (upper - u);
  };
}

TEST(SolveTemperatureFunction, SameSweepBracketsBothBisectedNearestInLogWins) {
  const double t0 = 300.0;
  const double step = std::log(1.25);
  struct Case {
    double lower, upper;  // in units of ln 1.25; both in the second sweep
    bool lower_wins;
  };
  for (const Case c : {Case{-1.5, 1.4, false}, Case{-1.3, 1.6, true}}) {
    SCOPED_TRACE(::testing::Message() << c.lower << ", " << c.upper);
    const double lower_root = t0 * std::exp(c.lower * step);
    const double upper_root = t0 * std::exp(c.upper * step);
    const CountingFunction f(two_roots(t0, c.lower * step, c.upper * step));
    const double t = value_of(solve_temperature_function(f, 0.0, t0));
    const double expected = c.lower_wins ? lower_root : upper_root;
    EXPECT_NEAR(t, expected, 1e-12 * expected);

    const auto& x = f.calls();
    // T0, two sweeps, then the lower bracket's midpoints, then the upper's.
    ASSERT_GT(x.size(), 7u);
    EXPECT_EQ(x[5], x[3] + (x[1] - x[3]) / 2.0);
    std::size_t i = 5;
    while (i < x.size() && x[i] < t0) ++i;
    ASSERT_LT(i, x.size() - 1);
    EXPECT_EQ(x[i], x[2] + (x[4] - x[2]) / 2.0);
    for (std::size_t j = i; j + 1 < x.size(); ++j) EXPECT_GT(x[j], t0);
    EXPECT_EQ(x.back(), t);
  }
}

TEST(SolveTemperatureFunction, TieGoesToTheLowerWalkersRoot) {
  // With T0 = 352 d (d the smallest subnormal) every product is a rounded
  // integer multiple of d and the temperature tolerance 2^-52 exceeds any
  // bracket, so each bisection returns its first midpoint. In sweep 16 the
  // lower bracket is [10 d, 12 d] with midpoint 11 d = T0/32, and the upper
  // bracket [10012 d, 12515 d] with midpoint 11264 d = 32 T0: an exact tie.
  const double d = denorm;
  const double t0 = 352 * d;
  const double lower_root = 11 * d, upper_root = 11264 * d;
  ASSERT_EQ(std::fabs(std::log(lower_root / t0)), std::fabs(std::log(upper_root / t0)));
  const CountingFunction f([=](double t) {
    if (t == lower_root || t == upper_root) return 0.0;
    return t > 10 * d && t < 12515 * d ? 1.0 : -1.0;
  });
  EXPECT_EQ(value_of(solve_temperature_function(f, 0.0, t0)), lower_root);
  const auto& x = f.calls();
  ASSERT_EQ(x.size(), 1u + 2u * 16u + 2u + 1u);
  EXPECT_EQ(x[31], 10 * d);
  EXPECT_EQ(x[32], 12515 * d);
  EXPECT_EQ(x[33], lower_root);
  EXPECT_EQ(x[34], upper_root);
  EXPECT_EQ(x[35], lower_root);
}

TEST(SolveTemperatureFunction, FailedEvaluationEndsTheSolveWithThatError) {
  const double t0 = 300.0;
  const EosResult error = std::unexpected(kModelError);
  // Roots at 0.8^1.5 T0 and 1.25^1.4 T0: both brackets found in sweep 2
  // (calls 3 and 4); the lower bracket's midpoints start at call 5.
  const auto g = two_roots(t0, -1.5 * std::log(1.25), 1.4 * std::log(1.25));
  struct Case {
    const char* where;
    std::size_t failing_call;
  };
  for (const Case c : {Case{"at T0", 0}, Case{"lower trial", 3}, Case{"upper trial", 4},
                       Case{"lower bracket bisection", 6}}) {
    SCOPED_TRACE(c.where);
    const CountingFunction f([&](double t, std::size_t i) { return i == c.failing_call ? error : EosResult(g(t)); });
    const EosResult r = solve_temperature_function(f, 0.0, t0);
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error(), kModelError);
    EXPECT_EQ(f.count(), c.failing_call + 1);
  }
  {  // the final check: the call after the last midpoint
    const CountingFunction probe(g);
    ASSERT_TRUE(solve_temperature_function(probe, 0.0, t0).has_value());
    const std::size_t last = probe.count() - 1;
    const CountingFunction f([&](double t, std::size_t i) { return i == last ? error : EosResult(g(t)); });
    const EosResult r = solve_temperature_function(f, 0.0, t0);
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error(), kModelError);
    EXPECT_EQ(f.count(), last + 1);
  }
}

TEST(SolveTemperatureFunction, FinalCheckRejectsAJump) {
  const double t0 = 300.0;
  const CountingFunction f([](double t) { return t < 400.0 ? -1.0 : 1.0; });
  EXPECT_TRUE(is_error(solve_temperature_function(f, 0.0, t0), EosErrorKind::ConvergenceFailed));
  EXPECT_NEAR(f.last(), 400.0, 1e-10);
  EXPECT_LE(f.count(), kTemperatureBudget);
}

TEST(SolveTemperatureFunction, NeverExceedsTheEvaluationBudget) {
  struct Case {
    const char* name;
    CountingFunction f;
    double t0;
  };
  Case cases[] = {
      {"no sign change", CountingFunction([](double) { return 1.0; }), 300.0},
      {"subnormal T0", CountingFunction([](double) { return 1.0; }), denorm},
      {"two roots", CountingFunction(two_roots(300.0, -0.3, 0.31)), 300.0},
      {"two jumps", CountingFunction([](double t) { return std::fabs(std::log(t / 300.0)) < 1.0 ? -1.0 : 1.0; }),
       300.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    (void)solve_temperature_function(c.f, 0.0, c.t0);
    EXPECT_LE(c.f.count(), kTemperatureBudget);
  }
}

}  // namespace
}  // namespace quorvel::root
