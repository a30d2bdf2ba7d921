#include "quadrature/special_functions.hpp"

#include <gtest/gtest.h>

#include "numeric/cube_root.hpp"

#include <cmath>
#include <limits>
#include <string_view>

#include "quadrature/quadrature.hpp"
#include "support/expect_error.hpp"

namespace quorvel {
namespace {

using testing::is_error;
using testing::value_of;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double R = 8.31446261815324;

// Independent reference values of D3, in long double.
//
// For x < 2: t/(e^t - 1) = Σ B_k t^k/k!, so D3(x) = 3 Σ B_k x^k/(k!(k + 3)),
// convergent for |x| < 2π (Bernoulli numbers up to B_24 suffice for x < 1.2).
// For x ≥ 1: ∫_0^x t³/(e^t - 1) dt = π⁴/15 - Σ_k e^(-kx)(x³/k + 3x²/k² + 6x/k³ + 6/k⁴).
long double debye_reference_bernoulli(long double x) {
  static constexpr long double bernoulli[] = {
      1.0L,         -1.0L / 2.0L, 1.0L / 6.0L,       0.0L, -1.0L / 30.0L,       0.0L, 1.0L / 42.0L,
      0.0L,         -1.0L / 30.0L, 0.0L,             5.0L / 66.0L, 0.0L,       -691.0L / 2730.0L, 0.0L,
      7.0L / 6.0L,  0.0L,          -3617.0L / 510.0L, 0.0L, 43867.0L / 798.0L, 0.0L, -174611.0L / 330.0L,
      0.0L,         854513.0L / 138.0L, 0.0L,         -236364091.0L / 2730.0L};
  long double sum = 0.0L;
  long double power_over_factorial = 1.0L;  // x^k/k!
  for (int k = 0; k < static_cast<int>(std::size(bernoulli)); ++k) {
    if (k > 0) power_over_factorial *= x / k;
    sum += bernoulli[k] * power_over_factorial / (k + 3);
  }
  return 3.0L * sum;
}

long double debye_reference_exponential(long double x) {
  const long double pi = 3.141592653589793238462643383279502884L;
  long double tail = 0.0L;
  for (int k = 1; k < 2000; ++k) {
    const long double kk = k;
    const long double term =
        std::exp(-kk * x) * (x * x * x / kk + 3.0L * x * x / (kk * kk) + 6.0L * x / (kk * kk * kk) + 6.0L / (kk * kk * kk * kk));
    tail += term;
    if (term < 1e-30L) break;
  }
  const long double integral = pi * pi * pi * pi / 15.0L - tail;
  return 3.0L * integral / (x * x * x);
}

long double debye_reference(long double x) {
  return x < 1.0L ? debye_reference_bernoulli(x) : debye_reference_exponential(x);
}

TEST(DebyeReference, TheTwoSeriesAgreeWhereBothConverge) {
  for (long double x : {0.7L, 1.0L, 1.2L}) {
    SCOPED_TRACE(static_cast<double>(x));
    EXPECT_NEAR(static_cast<double>(debye_reference_bernoulli(x)), static_cast<double>(debye_reference_exponential(x)),
                1e-15);
  }
  EXPECT_NEAR(static_cast<double>(debye_reference(1.0L)), 0.674415564, 1e-9);
}

struct DebyeCase {
  std::string_view branch;
  double x;
  double relative_tolerance;
};

TEST(DebyeFunction3, AllThreeBranchesAgainstTheSeries) {
  const DebyeCase cases[] = {
      {"series", 1e-300, 1e-16},
      {"series", 1e-8, 1e-16},
      {"series", 1e-4, 1e-15},
      {"series", std::nextafter(0.001, 0.0), 1e-15},
      {"quadrature", 0.001, 1e-12},
      {"quadrature", 0.01, 1e-12},
      {"quadrature", 0.3, 1e-12},
      {"quadrature", 1.0, 1e-12},
      {"quadrature", 2.5, 1e-12},
      {"quadrature", 10.0, 1e-12},
      {"quadrature", 42.0, 1e-11},
      {"quadrature", 149.9, 1e-11},
      {"quadrature", 150.0, 1e-11},
      {"asymptotic", std::nextafter(150.0, 200.0), 1e-15},
      {"asymptotic", 150.5, 1e-15},
      {"asymptotic", 1e3, 1e-15},
      {"asymptotic", 1e100, 1e-15},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.branch << " x = " << c.x);
    const double expected = static_cast<double>(debye_reference(c.x));
    EXPECT_NEAR(value_of(debye_function_3(c.x)), expected, c.relative_tolerance * expected);
  }
}

TEST(DebyeFunction3, BranchBoundariesUseTheirOwnFormula) {
  const double below = std::nextafter(0.001, 0.0);
  const double x2 = below * below;
  EXPECT_EQ(value_of(debye_function_3(below)), x2 * x2 / (-1680.0) + (x2 / 20.0 + (1.0 + (-3.0 * below * 0.125))));
  for (double x : {0.001, 150.0}) {
    SCOPED_TRACE(x);
    const double integral = value_of(quadrature::integrate(debye_integrand, 0.0, x));
    EXPECT_EQ(value_of(debye_function_3(x)), 3.0 * integral / (x * x * x));
  }
  EXPECT_EQ(value_of(debye_function_3(150.5)), 97.40909103400242 / (150.5 * 150.5 * 150.5 * 5.0));
}

TEST(DebyeFunction3, TendsToOneAtZeroAndDecreases) {
  EXPECT_EQ(value_of(debye_function_3(std::numeric_limits<double>::denorm_min())), 1.0);
  double previous = 1.0;
  for (double x = 1e-3; x < 300.0; x *= 1.7) {
    const double d = value_of(debye_function_3(x));
    EXPECT_LT(d, previous) << x;
    EXPECT_GT(d, 0.0) << x;
    previous = d;
  }
}

TEST(DebyeFunction3, RejectsArgumentsThatAreNotPositiveAndFinite) {
  for (double x : {0.0, -0.0, -1.0, -1e-300, nan, inf, -inf}) {
    SCOPED_TRACE(x);
    EXPECT_TRUE(is_error(debye_function_3(x), EosErrorKind::InvalidState, "Debye-function argument",
                         "must be positive and finite"));
  }
}

TEST(DebyeIntegrand, RemovableSingularityAndValues) {
  EXPECT_EQ(value_of(debye_integrand(0.0)), 0.0);
  EXPECT_EQ(value_of(debye_integrand(1e-17)), 0.0);
  EXPECT_EQ(value_of(debye_integrand(-1e-17)), 0.0);
  EXPECT_DOUBLE_EQ(value_of(debye_integrand(1.0)), 1.0 / std::expm1(1.0));
  EXPECT_EQ(value_of(debye_integrand(1000.0)), 0.0);
}

struct EnergyCase {
  std::string_view name;
  EosResult actual;
  double expected;
  double relative_tolerance;
};

void expect_cases(std::initializer_list<EnergyCase> cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const double actual = value_of(c.actual);
    if (c.relative_tolerance == 0.0)
      EXPECT_EQ(actual, c.expected);
    else
      EXPECT_NEAR(actual, c.expected, c.relative_tolerance * std::fabs(c.expected));
  }
}

TEST(EinsteinEnergy, ValuesAndLimits) {
  expect_cases({
      {"theta/T = 1", einstein_energy(500.0, 2.0, 500.0), 3.0 * 2.0 * R * 500.0 / std::expm1(1.0), 1e-15},
      {"theta/T = 0.01", einstein_energy(5.0, 1.0, 500.0), 3.0 * R * 5.0 / std::expm1(0.01), 1e-14},
      {"high T: 3nR(T - theta/2)", einstein_energy(1.0, 1.0, 1e6), 3.0 * R * (1e6 - 0.5), 1e-12},
      {"theta/T = 1000 is 0, not NaN", einstein_energy(1000.0, 1.0, 1.0), 0.0, 0.0},
      {"theta/T = 1e6", einstein_energy(1e6, 3.0, 1.0), 0.0, 0.0},
  });
}

TEST(BoseModeEnergy, ValuesAndLimits) {
  const double theta = 700.0, t = 300.0;
  expect_cases({
      {"m = 1 has no zero-point term", bose_mode_energy(theta, t, 1.0), t * t / (t + theta), 1e-14},
      {"m = 1, T = theta", bose_mode_energy(theta, theta, 1.0), theta / 2.0, 1e-14},
      {"m = 2", bose_mode_energy(theta, t, 2.0),
       theta / 4.0 + (t * theta * 2.0) / ((t * 2.0 + theta) * (std::pow(1.0 + theta / (2.0 * t), 2.0) - 1.0)), 1e-14},
      {"large m: Einstein with zero point", bose_mode_energy(theta, t, 1e9), theta / 2.0 + theta / std::expm1(theta / t),
       1e-7},
  });
}

TEST(SokolovaEinsteinEnergy, ValuesAndLimits) {
  const double theta = 800.0;
  expect_cases({
      {"T -> 0: theta/2", sokolova_einstein_energy(theta, theta / 1000.0), theta / 2.0, 0.0},
      {"T large: T", sokolova_einstein_energy(theta, 1e9), 1e9, 1e-12},
      {"theta/T = 2", sokolova_einstein_energy(theta, 400.0), theta / 2.0 + theta / std::expm1(2.0), 1e-15},
  });
}

TEST(OscillatorEnergies, TemperatureMustBePositiveAndFinite) {
  for (double t : {0.0, -0.0, -300.0, nan, inf}) {
    SCOPED_TRACE(t);
    EXPECT_TRUE(is_error(einstein_energy(500.0, 1.0, t), EosErrorKind::InvalidState, "temperature",
                         "must be positive and finite"));
    EXPECT_TRUE(is_error(bose_mode_energy(500.0, t, 2.0), EosErrorKind::InvalidState, "temperature",
                         "must be positive and finite"));
    EXPECT_TRUE(is_error(sokolova_einstein_energy(500.0, t), EosErrorKind::InvalidState, "temperature",
                         "must be positive and finite"));
  }
}

TEST(OscillatorEnergies, NonFiniteResults) {
  // theta = 0 makes 0/0 in the Einstein forms; theta and n are not checked.
  EXPECT_TRUE(is_error(einstein_energy(0.0, 1.0, 300.0), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(einstein_energy(nan, 1.0, 300.0), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(sokolova_einstein_energy(nan, 300.0), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(bose_mode_energy(nan, 300.0, 1.0), EosErrorKind::NonFiniteResult));
}

TEST(SokolovaGruneisenIntegrand, FreeVolumeFormula) {
  struct Case {
    double x, p, k, kp, delta, t, beta;
  };
  const Case cases[] = {
      {1.0, 0.0, 160.0, 4.0, 0.0, 0.0, 0.0},
      {0.8, 30.0, 280.0, 3.7, 0.1, 2.0, 0.5},
      {1.2, -3.0, 90.0, 4.5, -0.2, 1.0, -1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    const double tx = c.t - c.beta * cube_root(c.x);
    const double gamma = (c.kp / 2.0 - 1.0 / 6.0 - tx / 3.0 * (1.0 - c.p / (3.0 * c.k))) /
                             (1.0 - 2.0 * tx * c.p / (3.0 * c.k)) +
                         c.delta;
    EXPECT_NEAR(value_of(sokolova_gruneisen_integrand(c.x, c.p, c.k, c.kp, c.delta, c.t, c.beta)), gamma / c.x,
                1e-13 * std::fabs(gamma / c.x));
  }
  // K' = 4, P = 0, t = 0: gamma = K'/2 - 1/6.
  EXPECT_NEAR(value_of(sokolova_gruneisen_integrand(1.0, 0.0, 160.0, 4.0, 0.0, 0.0, 0.0)), 2.0 - 1.0 / 6.0, 1e-15);
  EXPECT_TRUE(is_error(sokolova_gruneisen_integrand(0.0, 0.0, 160.0, 4.0, 0.0, 0.0, 0.0),
                       EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(sokolova_gruneisen_integrand(1.0, 0.0, 0.0, 4.0, 0.0, 0.0, 0.0),
                       EosErrorKind::NonFiniteResult));
}

}  // namespace
}  // namespace quorvel
