#include "isothermal/holzapfel.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "isothermal/isothermal_model_checks.hpp"

namespace quorvel {
namespace {

using iso_test::kInf;
using iso_test::kNan;
using iso_test::make_model;

static_assert(IsothermalEos<Holzapfel>);
static_assert(Holzapfel::model_name == "Holzapfel");

// (V0, K0, K0', n, Z); V0 in J/bar (10 cm^3/mol): MgO-like, a heavy metal,
// and a set with c0 < 0.
constexpr double kParameterSets[][5] = {
    {1.125, 160.0, 4.0, 2.0, 10.0},
    {1.021, 166.0, 5.5, 1.0, 79.0},
    {11.25, 160.0, 4.0, 2.0, 10.0},
};

Holzapfel make_set(const double (&p)[5]) { return make_model<Holzapfel>(p[0], p[1], p[2], p[3], p[4]); }

TEST(Holzapfel, ReferenceState) {
  for (const auto& p : kParameterSets) {
    const auto m = make_set(p);
    EXPECT_EQ(m.pressure(p[0]).value(), 0.0);
    EXPECT_NEAR(m.bulk_modulus(p[0]).value(), p[1], 1e-13 * p[1]);
    iso_test::expect_reference_pressure_derivative(m, p[2]);
  }
}

TEST(Holzapfel, DerivedCoefficientsAreStored) {
  const auto m = make_model<Holzapfel>(1.125, 160.0, 4.0, 2.0, 10.0);
  const double p_fg0 = 1003.6 * std::pow(20.0 / 11.25, 5.0 / 3.0);
  const double c0 = -std::log(480.0 / p_fg0);
  EXPECT_DOUBLE_EQ(m.c0(), c0);
  EXPECT_DOUBLE_EQ(m.c2(), 1.5 - c0);
  EXPECT_DOUBLE_EQ(m.c0() + m.c2(), 1.5 * (4.0 - 3.0));
  EXPECT_EQ(m.v0(), 1.125);
  EXPECT_EQ(m.k0(), 160.0);
  EXPECT_EQ(m.k0_prime(), 4.0);
  EXPECT_EQ(m.n(), 2.0);
  EXPECT_EQ(m.z(), 10.0);
  EXPECT_LT(make_model<Holzapfel>(11.25, 160.0, 4.0, 2.0, 10.0).c0(), 0.0);
}

TEST(Holzapfel, BulkModulusIsMinusVdPdV) {
  for (const auto& p : kParameterSets) iso_test::expect_bulk_modulus_is_minus_v_dp_dv(make_set(p));
}

TEST(Holzapfel, VolumeInvertsPressure) {
  for (const auto& p : kParameterSets) iso_test::expect_round_trip(make_set(p));
}

TEST(Holzapfel, ConstructionChecksInOrder) {
  const iso_test::ConstructionCase<5> cases[] = {
      {"V0 zero", {0.0, 160.0, 4.0, 2.0, 10.0}, "V0", msg::positive_finite},
      {"K0 infinite", {1.0, kInf, 4.0, 2.0, 10.0}, "K0", msg::positive_finite},
      {"K0' NaN", {1.0, 160.0, kNan, 0.0, 0.0}, "K0_prime", msg::finite},
      {"n zero", {1.0, 160.0, 4.0, 0.0, 10.0}, "n", msg::positive_finite},
      {"n before Z", {1.0, 160.0, 4.0, -2.0, 0.0}, "n", msg::positive_finite},
      {"Z zero", {1.0, 160.0, 4.0, 2.0, 0.0}, "Z", msg::positive_finite},
      {"Z NaN", {1.0, 160.0, 4.0, 2.0, kNan}, "Z", msg::positive_finite},
  };
  iso_test::expect_construction_errors<Holzapfel>(cases);
}

TEST(Holzapfel, VolumeIsChecked) {
  iso_test::expect_volume_is_checked(make_model<Holzapfel>(1.125, 160.0, 4.0, 2.0, 10.0));
}

// The model's own central difference with step eps.

TEST(HolzapfelDerivative, AtV0ApproximatesK0Prime) {
  for (const auto& p : kParameterSets) EXPECT_NEAR(make_set(p).bulk_modulus_derivative(p[0], 1e-4).value(), p[2], 1e-6);
}

TEST(HolzapfelDerivative, AgreesWithTheSharedCentralDifference) {
  const auto m = make_model<Holzapfel>(1.125, 160.0, 4.0, 2.0, 10.0);
  for (double ratio : iso_test::kCompressions) {
    const double v = ratio * 1.125;
    EXPECT_NEAR(m.bulk_modulus_derivative(v, 1e-5).value(), isothermal::bulk_modulus_derivative(m, v, 1e-5).value(),
                1e-6)
        << ratio;
  }
}

TEST(HolzapfelDerivative, StepChecks) {
  const auto m = make_model<Holzapfel>(1.125, 160.0, 4.0, 2.0, 10.0);
  struct Case {
    double volume, eps;
    EosErrorKind kind;
    std::string_view name, message;
  } const cases[] = {
      {0.0, kNan, EosErrorKind::InvalidState, "volume", msg::positive_finite},
      {kNan, 1e-4, EosErrorKind::InvalidState, "volume", msg::positive_finite},
      {1.0, 0.0, EosErrorKind::InvalidParameter, "eps", msg::positive_finite},
      {1.0, -1e-4, EosErrorKind::InvalidParameter, "eps", msg::positive_finite},
      {1.0, kNan, EosErrorKind::InvalidParameter, "eps", msg::positive_finite},
      {1.0, kInf, EosErrorKind::InvalidParameter, "eps", msg::positive_finite},
      {1.0, 1.0, EosErrorKind::InvalidParameter, "eps", msg::smaller_than_one},
      {1.0, 2.0, EosErrorKind::InvalidParameter, "eps", msg::smaller_than_one},
      // V+ = (1 + eps) V overflows.
      {std::numeric_limits<double>::max(), 0.5, EosErrorKind::InvalidState, "volume", msg::positive_finite},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(testing::is_error(m.bulk_modulus_derivative(c.volume, c.eps), c.kind, c.name, c.message))
        << c.volume << ", " << c.eps;
  EXPECT_TRUE(m.bulk_modulus_derivative(1.0, std::nextafter(1.0, 0.0)).has_value());
}

// The analytical derivative.

TEST(HolzapfelAnalyticalDerivative, AtV0IsK0Prime) {
  for (const auto& p : kParameterSets) {
    const auto m = make_set(p);
    const EosResult kp = holzapfel_bulk_modulus_derivative_analytical(p[0], p[0], p[1], p[1], m.c0(), m.c2());
    EXPECT_NEAR(kp.value(), p[2], 1e-13 * p[2]);
  }
  // Any c0, c2 with c0 + c2 = 1.5 (K0' - 3) give K0' at V0.
  EXPECT_NEAR(holzapfel_bulk_modulus_derivative_analytical(2.0, 2.0, 50.0, 50.0, 0.75, 3.0).value(), 5.5, 1e-14);
}

TEST(HolzapfelAnalyticalDerivative, MatchesTheNumericalDerivative) {
  for (const auto& p : kParameterSets) {
    const auto m = make_set(p);
    for (double ratio : iso_test::kCompressions) {
      const double v = ratio * p[0];
      const double k = m.bulk_modulus(v).value();
      const double analytical = holzapfel_bulk_modulus_derivative_analytical(p[0], v, k, p[1], m.c0(), m.c2()).value();
      EXPECT_NEAR(analytical, m.bulk_modulus_derivative(v, 1e-5).value(), 1e-6 * std::fabs(analytical)) << ratio;
    }
  }
}

TEST(HolzapfelAnalyticalDerivative, ChecksInOrder) {
  struct Case {
    std::string_view label;
    double v0, volume, bulk_modulus, k0, c0, c2;
    EosErrorKind kind;
    std::string_view name, message;
  } const cases[] = {
      {"v0 zero", 0.0, 0.0, kNan, 0.0, kNan, kNan, EosErrorKind::InvalidParameter, "V0", msg::positive_finite},
      {"v0 infinite", kInf, 1.0, 100.0, 100.0, 1.0, 1.0, EosErrorKind::InvalidParameter, "V0", msg::positive_finite},
      {"volume zero", 1.0, 0.0, kNan, 0.0, kNan, kNan, EosErrorKind::InvalidState, "volume", msg::positive_finite},
      {"bulk modulus NaN", 1.0, 1.0, kNan, 0.0, kNan, kNan, EosErrorKind::InvalidParameter, "KT", msg::finite},
      {"bulk modulus infinite", 1.0, 1.0, -kInf, 100.0, 1.0, 1.0, EosErrorKind::InvalidParameter, "KT", msg::finite},
      {"k0 zero", 1.0, 1.0, 100.0, 0.0, kNan, kNan, EosErrorKind::InvalidParameter, "K0", msg::positive_finite},
      {"c0 NaN", 1.0, 1.0, 100.0, 100.0, kNan, kNan, EosErrorKind::InvalidParameter, "c0", msg::finite},
      {"c2 infinite", 1.0, 1.0, 100.0, 100.0, 1.0, kInf, EosErrorKind::InvalidParameter, "c2", msg::finite},
  };
  for (const auto& c : cases) {
    const EosResult r = holzapfel_bulk_modulus_derivative_analytical(c.v0, c.volume, c.bulk_modulus, c.k0, c.c0, c.c2);
    EXPECT_TRUE(testing::is_error(r, c.kind, c.name, c.message)) << c.label;
  }
  // A zero bulk modulus passes the checks and fails the result guard.
  EXPECT_TRUE(testing::is_error(holzapfel_bulk_modulus_derivative_analytical(1.0, 0.9, 0.0, 100.0, 1.0, 0.5),
                                EosErrorKind::NonFiniteResult));
}

}  // namespace
}  // namespace quorvel
