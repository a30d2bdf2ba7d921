#include "isothermal/second_order_murnaghan.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "isothermal/isothermal_model_checks.hpp"

namespace quorvel {
namespace {

using iso_test::kInf;
using iso_test::kNan;
using iso_test::make_model;

static_assert(IsothermalEos<SecondOrderMurnaghan>);
static_assert(SecondOrderMurnaghan::model_name == "SecondOrderMurnaghan");

// (V0, K0, K0', K0'', P0): K0'' negative (the usual sign), positive, and a
// reference pressure away from zero.
constexpr double kParameterSets[][5] = {
    {11.25, 160.0, 4.0, -0.025, 0.0},
    {11.25, 160.0, 4.0, 0.01, 0.0},
    {1.0, 30.0, 6.0, -0.3, 5.0},
    {20.0, 100.0, -0.5, -0.02, -2.0},
};

SecondOrderMurnaghan make_set(const double (&p)[5]) {
  return make_model<SecondOrderMurnaghan>(p[0], p[1], p[2], p[3], p[4]);
}

TEST(SecondOrderMurnaghan, ReferenceStateIsAtP0) {
  for (const auto& p : kParameterSets) {
    const auto m = make_set(p);
    EXPECT_EQ(m.pressure(p[0]).value(), p[4]);
    EXPECT_EQ(m.bulk_modulus(p[0]).value(), p[1]);
    iso_test::expect_reference_pressure_derivative(make_set(p), p[2]);
  }
}

TEST(SecondOrderMurnaghan, BulkModulusIsMinusVdPdV) {
  for (const auto& p : kParameterSets) iso_test::expect_bulk_modulus_is_minus_v_dp_dv(make_set(p));
}

TEST(SecondOrderMurnaghan, BulkModulusIsQuadraticInPressure) {
  const auto m = make_model<SecondOrderMurnaghan>(1.0, 30.0, 6.0, -0.3, 5.0);
  for (double ratio : iso_test::kCompressions) {
    const double p = m.pressure(ratio).value() - 5.0;
    EXPECT_NEAR(m.bulk_modulus(ratio).value(), 30.0 + 6.0 * p - 0.15 * p * p, 1e-12 * 30.0) << ratio;
  }
}

TEST(SecondOrderMurnaghan, ClosedFormInverseRoundTrip) {
  for (const auto& p : kParameterSets) iso_test::expect_round_trip(make_set(p), 1e-13);
}

TEST(SecondOrderMurnaghan, ClosedFormInverseOfP0IsV0) {
  const auto m = make_model<SecondOrderMurnaghan>(1.0, 30.0, 6.0, -0.3, 5.0);
  EXPECT_EQ(m.volume(5.0).value(), 1.0);
}

TEST(SecondOrderMurnaghan, PressureFarBelowP0IsOutsideTheInvertibleRange) {
  const auto m = make_model<SecondOrderMurnaghan>(11.25, 160.0, 4.0, -0.025, 0.0);
  // u1 = p (K0' + s)/(2 K0) reaches -1 at p = -2 K0/(K0' + s), s = sqrt(24).
  const double boundary = -2.0 * 160.0 / (4.0 + std::sqrt(24.0));
  EXPECT_TRUE(m.volume(boundary * 0.999).has_value());
  EXPECT_TRUE(testing::is_error(m.volume(boundary * 1.001), EosErrorKind::OutsideInvertibleRange));
  EXPECT_TRUE(testing::is_error(m.volume(-1e3 * 160.0), EosErrorKind::OutsideInvertibleRange));
}

TEST(SecondOrderMurnaghan, InverseBoundaryItselfIsOutsideTheInvertibleRange) {
  // K0 = 1, K0' = 3, K0'' = 2.5: s = 2, so p = -0.4 gives u1 = -0.4 * 5/2 = -1 exactly.
  const auto m = make_model<SecondOrderMurnaghan>(1.0, 1.0, 3.0, 2.5, 0.0);
  EXPECT_TRUE(testing::is_error(m.volume(-0.4), EosErrorKind::OutsideInvertibleRange));
  EXPECT_TRUE(m.volume(std::nextafter(-0.4, 0.0)).has_value());
}

TEST(SecondOrderMurnaghan, PressureAboveTheCompressionLimitIsOutsideTheInvertibleRange) {
  // K0'' < 0: u2 = p (K0' - s)/(2 K0) reaches -1 at p = 2 K0/(s - K0').
  const auto m = make_model<SecondOrderMurnaghan>(11.25, 160.0, 4.0, -0.025, 0.0);
  const double limit = 2.0 * 160.0 / (std::sqrt(24.0) - 4.0);
  EXPECT_TRUE(m.volume(limit * 0.999).has_value());
  EXPECT_TRUE(testing::is_error(m.volume(limit * 1.001), EosErrorKind::OutsideInvertibleRange));
}

TEST(SecondOrderMurnaghan, InverseOverflowingVolumeIsAnInvalidState) {
  // s = 0.01: near u1 = -1 the exponent -(log1p(u1) - log1p(u2))/s overflows.
  const double k0_double_prime = (16.0 - 1e-4) / 200.0;
  const auto m = make_model<SecondOrderMurnaghan>(11.25, 100.0, 4.0, k0_double_prime, 0.0);
  const double s = std::sqrt(16.0 - 200.0 * k0_double_prime);
  const double p = (-1.0 + 1e-12) * 200.0 / (4.0 + s);
  EXPECT_TRUE(testing::is_error(m.volume(p), EosErrorKind::InvalidState, "volume", msg::positive_finite));
}

TEST(SecondOrderMurnaghan, DenominatorLeavingItsDomainIsAnInvalidState) {
  // K0'' > 0 with K0' > s: D = 2 s + y (s - K0') vanishes near V/V0 = 0.559.
  const auto m = make_model<SecondOrderMurnaghan>(10.0, 100.0, 4.0, 0.05, 0.0);
  EXPECT_TRUE(m.pressure(6.0).has_value());
  for (double v : {5.0, 1.0}) {
    EXPECT_TRUE(
        testing::is_error(m.pressure(v), EosErrorKind::InvalidState, "Murnaghan denominator", msg::positive_finite));
    EXPECT_TRUE(testing::is_error(m.bulk_modulus(v), EosErrorKind::InvalidState, "Murnaghan denominator",
                                  msg::positive_finite));
  }
}

TEST(SecondOrderMurnaghan, ConstructionChecksInOrder) {
  const iso_test::ConstructionCase<5> cases[] = {
      {"V0 zero", {0.0, 160.0, 4.0, -0.025, 0.0}, "V0", msg::positive_finite},
      {"V0 before the rest", {kNan, 0.0, kNan, kNan, kNan}, "V0", msg::positive_finite},
      {"K0 zero", {11.0, 0.0, 4.0, -0.025, 0.0}, "K0", msg::positive_finite},
      {"K0' NaN", {11.0, 160.0, kNan, kNan, kNan}, "K0_prime", msg::finite},
      {"K0'' infinite", {11.0, 160.0, 4.0, kInf, kNan}, "K0_double_prime", msg::finite},
      {"P0 NaN", {11.0, 160.0, 4.0, -0.025, kNan}, "P0", msg::finite},
      {"P0 before q^2", {11.0, 100.0, 4.0, 0.5, -kInf}, "P0", msg::finite},
      {"q^2 zero", {11.0, 100.0, 4.0, 0.08, 0.0}, "q_squared", msg::positive_finite},
      {"q^2 negative", {11.0, 100.0, 4.0, 0.1, 0.0}, "q_squared", msg::positive_finite},
      {"q^2 overflows", {11.0, 100.0, 1e200, 0.0, 0.0}, "q_squared", msg::positive_finite},
  };
  iso_test::expect_construction_errors<SecondOrderMurnaghan>(cases);
  // q^2 just above zero passes.
  EXPECT_TRUE(SecondOrderMurnaghan::make(11.0, 100.0, 4.0, 0.0799, 0.0).has_value());
}

TEST(SecondOrderMurnaghan, Accessors) {
  const auto m = make_model<SecondOrderMurnaghan>(1.0, 30.0, 6.0, -0.3, 5.0);
  EXPECT_EQ(m.v0(), 1.0);
  EXPECT_EQ(m.k0(), 30.0);
  EXPECT_EQ(m.k0_prime(), 6.0);
  EXPECT_EQ(m.k0_double_prime(), -0.3);
  EXPECT_EQ(m.p0(), 5.0);
}

TEST(SecondOrderMurnaghan, VolumeIsChecked) {
  iso_test::expect_volume_is_checked(make_model<SecondOrderMurnaghan>(11.25, 160.0, 4.0, -0.025, 1.0));
}

}  // namespace
}  // namespace quorvel
