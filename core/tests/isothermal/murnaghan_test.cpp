#include "isothermal/murnaghan.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "isothermal/isothermal_model_checks.hpp"

namespace quorvel {
namespace {

using iso_test::kInf;
using iso_test::kNan;
using iso_test::make_model;

static_assert(IsothermalEos<Murnaghan>);
static_assert(Murnaghan::model_name == "Murnaghan");

constexpr double kParameterSets[][3] = {{11.25, 160.0, 4.0}, {1.0, 5.0, 7.5}, {20.0, 100.0, 0.0}, {3.0, 50.0, -1.5}};

TEST(Murnaghan, ReferenceStateIsExact) {
  for (const auto& p : kParameterSets) {
    const auto m = make_model<Murnaghan>(p[0], p[1], p[2]);
    EXPECT_EQ(m.pressure(p[0]).value(), 0.0);
    EXPECT_EQ(m.bulk_modulus(p[0]).value(), p[1]);
    iso_test::expect_reference_pressure_derivative(m, p[2]);
  }
}

TEST(Murnaghan, BulkModulusIsMinusVdPdV) {
  for (const auto& p : kParameterSets)
    iso_test::expect_bulk_modulus_is_minus_v_dp_dv(make_model<Murnaghan>(p[0], p[1], p[2]));
}

TEST(Murnaghan, VolumeInvertsPressureByTheRootSearch) {
  for (const auto& p : kParameterSets) iso_test::expect_round_trip(make_model<Murnaghan>(p[0], p[1], p[2]));
}

TEST(Murnaghan, FormulaUsesExpm1) {
  const auto m = make_model<Murnaghan>(10.0, 100.0, 4.0);
  const double l = std::log(iso_test::opaque(10.0 / 8.0));
  EXPECT_EQ(m.pressure(8.0).value(), 100.0 * std::expm1(4.0 * l) / 4.0);
  EXPECT_EQ(m.bulk_modulus(8.0).value(), 100.0 * std::exp(4.0 * l));
}

TEST(Murnaghan, ZeroPressureDerivativeIsTheLogarithmicLimit) {
  const auto m = make_model<Murnaghan>(10.0, 100.0, 0.0);
  for (double v : {2.0, 7.5, 10.0, 13.0, 1e3}) {
    EXPECT_EQ(m.pressure(v).value(), 100.0 * std::log(10.0 / v)) << v;
    EXPECT_EQ(m.bulk_modulus(v).value(), 100.0) << v;
  }
  // A tiny K0' is continuous with the limit.
  const auto near = make_model<Murnaghan>(10.0, 100.0, 1e-12);
  EXPECT_NEAR(near.pressure(7.5).value(), m.pressure(7.5).value(), 1e-9);
}

TEST(Murnaghan, ExtremeCompressionIsNonFinite) {
  const auto m = make_model<Murnaghan>(10.0, 100.0, 4.0);
  EXPECT_TRUE(testing::is_error(m.pressure(1e-90), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(testing::is_error(m.bulk_modulus(1e-90), EosErrorKind::NonFiniteResult));
}

TEST(Murnaghan, ConstructionChecksInOrder) {
  const iso_test::ConstructionCase<3> cases[] = {
      {"V0 zero", {0.0, 160.0, 4.0}, "V0", msg::positive_finite},
      {"V0 before K0", {kInf, 0.0, kNan}, "V0", msg::positive_finite},
      {"K0 negative", {11.0, -160.0, 4.0}, "K0", msg::positive_finite},
      {"K0 NaN", {11.0, kNan, kNan}, "K0", msg::positive_finite},
      {"K0' NaN", {11.0, 160.0, kNan}, "K0_prime", msg::finite},
      {"K0' infinite", {11.0, 160.0, kInf}, "K0_prime", msg::finite},
  };
  iso_test::expect_construction_errors<Murnaghan>(cases);
}

TEST(Murnaghan, Accessors) {
  const auto m = make_model<Murnaghan>(11.25, 160.0, 4.5);
  EXPECT_EQ(m.v0(), 11.25);
  EXPECT_EQ(m.k0(), 160.0);
  EXPECT_EQ(m.k0_prime(), 4.5);
}

TEST(Murnaghan, VolumeIsChecked) { iso_test::expect_volume_is_checked(make_model<Murnaghan>(11.25, 160.0, 4.0)); }

}  // namespace
}  // namespace quorvel
