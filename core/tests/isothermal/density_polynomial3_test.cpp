#include "isothermal/density_polynomial3.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "isothermal/isothermal_model_checks.hpp"

namespace quorvel {
namespace {

using iso_test::kInf;
using iso_test::kNan;
using iso_test::make_model;

static_assert(IsothermalEos<DensityPolynomial3>);
static_assert(DensityPolynomial3::model_name == "DensityPolynomial3");

constexpr std::string_view kAnchor = "requires c2>=0 and a stable density anchor";

// (V0, rho0, c0, c1, c2, c3): anchored at P(V0) = 0, an offset anchor, and
// c1 < 0 (an unstable low-density side).
constexpr double kParameterSets[][6] = {
    {11.25, 2.0, -180.0, 50.0, 10.0, 5.0},
    {1.0, 3.5, 4.0, 20.0, 0.0, 2.0},
    {10.0, 3.0, 0.0, -10.0, 1.0, 1.0},
};

DensityPolynomial3 make_set(const double (&p)[6]) {
  return make_model<DensityPolynomial3>(p[0], p[1], p[2], p[3], p[4], p[5]);
}

TEST(DensityPolynomial3, ReferenceStateIsThePolynomialAtRho0) {
  for (const auto& p : kParameterSets) {
    const auto m = make_set(p);
    const double rho0 = p[1], c0 = p[2], c1 = p[3], c2 = p[4], c3 = p[5];
    EXPECT_EQ(m.pressure(p[0]).value(), (c1 + (c3 * rho0 + c2) * rho0) * rho0 + c0);
    EXPECT_DOUBLE_EQ(m.pressure(p[0]).value(), c0 + c1 * rho0 + c2 * rho0 * rho0 + c3 * rho0 * rho0 * rho0);
    EXPECT_DOUBLE_EQ(m.bulk_modulus(p[0]).value(), rho0 * (c1 + 2.0 * c2 * rho0 + 3.0 * c3 * rho0 * rho0));
  }
  EXPECT_EQ(make_set(kParameterSets[0]).pressure(11.25).value(), 0.0);
}

TEST(DensityPolynomial3, BulkModulusIsMinusVdPdV) {
  for (const auto& p : kParameterSets) iso_test::expect_bulk_modulus_is_minus_v_dp_dv(make_set(p));
}

TEST(DensityPolynomial3, ClosedFormInverseRoundTrip) {
  for (const auto& p : kParameterSets) iso_test::expect_round_trip(make_set(p), 1e-13);
}

TEST(DensityPolynomial3, InverseMeetsTheDensityWidthOverAWideRange) {
  const auto m = make_model<DensityPolynomial3>(11.25, 2.0, -180.0, 50.0, 10.0, 5.0);
  for (double ratio : {1e-3, 0.01, 0.1, 0.3, 1.0, 2.0, 5.0, 50.0}) {
    const double v = ratio * 11.25;
    const double back = m.volume(m.pressure(v).value()).value();
    EXPECT_NEAR(back, v, 4.0 * 0x1p-48 * v) << ratio;
  }
}

TEST(DensityPolynomial3, UnstableSideIsOutsideTheInvertibleRange) {
  // c1 = -10, c2 = 1, c3 = 1: D = 0 at rho_lo = 20/(2 + sqrt(124)) = 1.5225...
  const auto m = make_model<DensityPolynomial3>(10.0, 3.0, 0.0, -10.0, 1.0, 1.0);
  const double rho_lo = 20.0 / (2.0 + std::sqrt(124.0));
  const double v_lo = 3.0 * 10.0 / rho_lo;  // volume of rho_lo
  EXPECT_TRUE(m.pressure(0.999 * v_lo).has_value());
  EXPECT_TRUE(m.bulk_modulus(0.999 * v_lo).has_value());
  for (double v : {1.001 * v_lo, 2.0 * v_lo, 1e6}) {
    EXPECT_TRUE(testing::is_error(m.pressure(v), EosErrorKind::OutsideInvertibleRange)) << v;
    EXPECT_TRUE(testing::is_error(m.bulk_modulus(v), EosErrorKind::OutsideInvertibleRange)) << v;
  }
  // Targets at or below P(rho_lo) are unreachable on the stable branch.
  const double p_lo = (-10.0 + (rho_lo + 1.0) * rho_lo) * rho_lo;
  for (double target : {p_lo, p_lo - 1.0, -1e6})
    EXPECT_TRUE(testing::is_error(m.volume(target), EosErrorKind::OutsideInvertibleRange)) << target;
  // Just above it the inverse lands near rho_lo, on the stable side.
  const double v = m.volume(p_lo + 1e-6).value();
  EXPECT_LT(v, v_lo);
  EXPECT_GT(v, 0.99 * v_lo);
  const double v1 = 0.95 * v_lo;
  EXPECT_NEAR(m.volume(m.pressure(v1).value()).value(), v1, 1e-12 * v1);
}

TEST(DensityPolynomial3, InverseFromZeroDensityWhenC1IsNonNegative) {
  // c1 >= 0: the lower density is 0 and P(0) = c0.
  const auto m = make_model<DensityPolynomial3>(1.0, 3.5, 4.0, 20.0, 0.0, 2.0);
  EXPECT_TRUE(testing::is_error(m.volume(4.0), EosErrorKind::OutsideInvertibleRange));
  EXPECT_TRUE(testing::is_error(m.volume(-3.0), EosErrorKind::OutsideInvertibleRange));
  // Just above c0 the density is tiny and the volume large.
  EXPECT_GT(m.volume(4.0 + 1e-9).value(), 1e8);
}

TEST(DensityPolynomial3, InfiniteDensityIsNonFinite) {
  const auto m = make_model<DensityPolynomial3>(11.25, 2.0, -180.0, 50.0, 10.0, 5.0);
  const double tiny = std::numeric_limits<double>::denorm_min();
  EXPECT_TRUE(testing::is_error(m.pressure(tiny), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(testing::is_error(m.bulk_modulus(tiny), EosErrorKind::NonFiniteResult));
  // A finite density whose cube overflows is caught by the result guard.
  EXPECT_TRUE(testing::is_error(m.pressure(1e-110), EosErrorKind::NonFiniteResult));
}

TEST(DensityPolynomial3, ConstructionChecksInOrder) {
  const iso_test::ConstructionCase<6> cases[] = {
      {"V0 zero", {0.0, 2.0, 0.0, 1.0, 1.0, 1.0}, "V0", msg::positive_finite},
      {"V0 before rho0", {kNan, 0.0, 0.0, 1.0, 1.0, 1.0}, "V0", msg::positive_finite},
      {"rho0 zero", {1.0, 0.0, kNan, 1.0, 1.0, 1.0}, "rho0", msg::positive_finite},
      {"rho0 infinite", {1.0, kInf, 0.0, 1.0, 1.0, 1.0}, "rho0", msg::positive_finite},
      {"c0 NaN", {1.0, 2.0, kNan, kNan, 1.0, 1.0}, "c0", msg::finite},
      {"c1 infinite", {1.0, 2.0, 0.0, kInf, kNan, 1.0}, "c1", msg::finite},
      {"c2 NaN", {1.0, 2.0, 0.0, 1.0, kNan, 0.0}, "c2", msg::finite},
      {"c3 zero", {1.0, 2.0, 0.0, 1.0, 1.0, 0.0}, "c3", msg::positive_finite},
      {"c3 negative", {1.0, 2.0, 0.0, 1.0, 1.0, -1.0}, "c3", msg::positive_finite},
      {"c2 negative", {1.0, 2.0, 0.0, 1.0, -0.1, 1.0}, "density polynomial", kAnchor},
      {"unstable anchor", {1.0, 1.0, 0.0, -10.0, 1.0, 1.0}, "density polynomial", kAnchor},
      {"anchor exactly at D = 0", {1.0, 1.0, 0.0, -5.0, 1.0, 1.0}, "density polynomial", kAnchor},
  };
  iso_test::expect_construction_errors<DensityPolynomial3>(cases);
  EXPECT_TRUE(DensityPolynomial3::make(1.0, 1.0, 0.0, -4.9, 1.0, 1.0).has_value());
}

TEST(DensityPolynomial3, AccessorsKeepTheFactoryV0) {
  const auto m = make_model<DensityPolynomial3>(11.25, 2.0, -180.0, 50.0, 10.0, 5.0);
  EXPECT_EQ(m.v0(), 11.25);
  EXPECT_EQ(m.rho0(), 2.0);
  EXPECT_EQ(m.c0(), -180.0);
  EXPECT_EQ(m.c1(), 50.0);
  EXPECT_EQ(m.c2(), 10.0);
  EXPECT_EQ(m.c3(), 5.0);
}

TEST(DensityPolynomial3, VolumeIsChecked) {
  iso_test::expect_volume_is_checked(make_model<DensityPolynomial3>(11.25, 2.0, -180.0, 50.0, 10.0, 5.0));
}

}  // namespace
}  // namespace quorvel
