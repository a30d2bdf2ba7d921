#include "error/eos_error.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "error/fit_error.hpp"

namespace quorvel {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct DisplayCase {
  EosError error;
  EosErrorKind kind;
  std::string_view code;
  std::string_view text;
  bool validation;
};

TEST(EosError, DisplayCodeAndClassOfEveryKind) {
  const DisplayCase cases[] = {
      {EosError::invalid_parameter("K0", msg::positive_finite), EosErrorKind::InvalidParameter,
       "eos.invalid_parameter", "invalid parameter K0: must be positive and finite", true},
      {EosError::invalid_state("reference volume", msg::positive_finite), EosErrorKind::InvalidState,
       "eos.invalid_state", "invalid state variable reference volume: must be positive and finite", true},
      {EosError::outside_invertible_range(), EosErrorKind::OutsideInvertibleRange, "eos.outside_invertible_range",
       "state is outside the model's invertible range", true},
      {EosError::bracketing_failed(), EosErrorKind::BracketingFailed, "eos.bracketing_failed",
       "failed to bracket a root", true},
      {EosError::convergence_failed(), EosErrorKind::ConvergenceFailed, "eos.convergence_failed",
       "numerical solver failed to converge", false},
      {EosError::non_finite_result(), EosErrorKind::NonFiniteResult, "eos.non_finite_result",
       "model returned a non-finite result", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.error.kind(), c.kind);
    EXPECT_EQ(static_cast<int>(c.error.kind()), &c - cases);
    EXPECT_EQ(c.error.code(), c.code);
    EXPECT_EQ(c.error.display(), c.text);
    EXPECT_EQ(c.error.is_validation(), c.validation);
  }
}

TEST(EosError, IsATrivialValue) {
  static_assert(std::is_trivially_copyable_v<EosError>);
  constexpr EosError e = EosError::invalid_state("volume", msg::positive_finite);
  static_assert(e.name() == "volume");
  EXPECT_EQ(e, EosError::invalid_state("volume", "must be positive and finite"));
  EXPECT_NE(e, EosError::invalid_parameter("volume", "must be positive and finite"));
}

TEST(Predicates, PositiveAndFinite) {
  const double denorm = std::numeric_limits<double>::denorm_min();
  for (double x : {denorm, 1e-300, 1.0, 1e300}) EXPECT_TRUE(is_positive_finite(x)) << x;
  for (double x : {0.0, -0.0, -denorm, -1.0, nan, inf, -inf}) EXPECT_FALSE(is_positive_finite(x)) << x;
}

TEST(Predicates, Finite) {
  for (double x : {0.0, -0.0, -5.0, 1e308}) EXPECT_TRUE(is_finite(x)) << x;
  for (double x : {nan, inf, -inf}) EXPECT_FALSE(is_finite(x)) << x;
}

TEST(Predicates, GuardTurnsNonFiniteIntoAnError) {
  EXPECT_EQ(guard(-2.5).value(), -2.5);
  for (double x : {nan, inf, -inf}) {
    const EosResult r = guard(x);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().kind(), EosErrorKind::NonFiniteResult);
  }
}

TEST(FitError, CodesAndMessages) {
  const FitError invalid = FitError::invalid_input("x0 has 3 entries, expected 2");
  EXPECT_EQ(invalid.code(), "fit.invalid_input");
  EXPECT_EQ(invalid.message(), "x0 has 3 entries, expected 2");
  EXPECT_EQ(FitError::evaluation_failed("bad").code(), "fit.evaluation_failed");
  EXPECT_EQ(FitError::singular_system().code(), "fit.singular_system");
  EXPECT_EQ(FitError::singular_system().message(), "linear system is singular");

  const FitError wrapped = FitError::eos(EosError::outside_invertible_range());
  ASSERT_TRUE(wrapped.is<FitError::Eos>());
  EXPECT_EQ(std::get<FitError::Eos>(wrapped.variant()).error, EosError::outside_invertible_range());
  EXPECT_EQ(wrapped.code(), "eos.outside_invertible_range");
  EXPECT_EQ(wrapped.message(), "state is outside the model's invertible range");
}

}  // namespace
}  // namespace quorvel
