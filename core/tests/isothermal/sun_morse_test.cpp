#include "isothermal/sun_morse.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "isothermal/isothermal_model_checks.hpp"

namespace quorvel {
namespace {

using iso_test::kInf;
using iso_test::kNan;
using iso_test::make_model;

static_assert(IsothermalEos<SunMorse3>);
static_assert(IsothermalEos<SunMorse4>);
static_assert(SunMorse3::model_name == "SunMorse3");
static_assert(SunMorse4::model_name == "SunMorse4");

constexpr std::string_view kSingular = "Sun-Morse requires (n*K0_prime+1)/3 != 0";

constexpr double kParameterSets[][3] = {{11.25, 160.0, 4.0}, {1.0, 5.0, 7.5}, {20.0, 100.0, 1.0}, {3.0, 50.0, -1.0}};

// The two orders share every test.
template <class M>
class SunMorse : public ::testing::Test {};
using Orders = ::testing::Types<SunMorse3, SunMorse4>;
TYPED_TEST_SUITE(SunMorse, Orders);

TYPED_TEST(SunMorse, ReferenceStateIsExact) {
  for (const auto& p : kParameterSets) {
    const auto m = make_model<TypeParam>(p[0], p[1], p[2]);
    EXPECT_EQ(m.pressure(p[0]).value(), 0.0);
    EXPECT_EQ(m.bulk_modulus(p[0]).value(), p[1]);
    // a = (n K0' + 1)/3 makes K' = K0' at V0.
    iso_test::expect_reference_pressure_derivative(m, p[2]);
  }
}

TYPED_TEST(SunMorse, BulkModulusIsMinusVdPdV) {
  for (const auto& p : kParameterSets)
    iso_test::expect_bulk_modulus_is_minus_v_dp_dv(make_model<TypeParam>(p[0], p[1], p[2]));
}

TYPED_TEST(SunMorse, VolumeInvertsPressure) {
  for (const auto& p : kParameterSets) iso_test::expect_round_trip(make_model<TypeParam>(p[0], p[1], p[2]));
}

TYPED_TEST(SunMorse, SharedConstructionChecksInOrder) {
  const iso_test::ConstructionCase<3> cases[] = {
      {"V0 zero", {0.0, 160.0, kNan}, "V0", msg::positive_finite},
      {"K0 negative", {11.0, -1.0, kNan}, "K0", msg::positive_finite},
      {"K0' NaN", {11.0, 160.0, kNan}, "K0_prime", msg::finite},
      {"K0' infinite", {11.0, 160.0, -kInf}, "K0_prime", msg::finite},
  };
  iso_test::expect_construction_errors<TypeParam>(cases);
}

TYPED_TEST(SunMorse, Accessors) {
  const auto m = make_model<TypeParam>(11.25, 160.0, 4.0);
  EXPECT_EQ(m.v0(), 11.25);
  EXPECT_EQ(m.k0(), 160.0);
  EXPECT_EQ(m.k0_prime(), 4.0);
}

TYPED_TEST(SunMorse, VolumeIsChecked) { iso_test::expect_volume_is_checked(make_model<TypeParam>(11.25, 160.0, 4.0)); }

TEST(SunMorse3, SingularExponent) {
  const iso_test::ConstructionCase<3> cases[] = {
      {"K0' = -1/3", {11.0, 160.0, -1.0 / 3.0}, "K0_prime", kSingular},
      {"K0' = -1/3 + 2^-54", {11.0, 160.0, -1.0 / 3.0 + 0x1p-54}, "K0_prime", kSingular},
  };
  iso_test::expect_construction_errors<SunMorse3>(cases);
  EXPECT_TRUE(SunMorse3::make(11.0, 160.0, -0.25).has_value());
  EXPECT_TRUE(SunMorse3::make(11.0, 160.0, -1.0 / 3.0 + 1e-15).has_value());
}

TEST(SunMorse4, SingularExponent) {
  const iso_test::ConstructionCase<3> cases[] = {
      {"K0' = -0.25", {11.0, 160.0, -0.25}, "K0_prime", kSingular},
  };
  iso_test::expect_construction_errors<SunMorse4>(cases);
  EXPECT_TRUE(SunMorse4::make(11.0, 160.0, -1.0 / 3.0).has_value());
  EXPECT_TRUE(SunMorse4::make(11.0, 160.0, -0.25 + 1e-15).has_value());
}

TEST(SunMorse3, FormulaUsesTheGeneralPower) {
  const auto m = make_model<SunMorse3>(10.0, 100.0, 4.0);
  const double a = 13.0 / 3.0;
  const double y = std::pow(iso_test::opaque(0.8), 0.3333333333333333);
  const double e = std::exp(a * (1.0 - y));
  EXPECT_EQ(m.pressure(8.0).value(), (e * e - e) * 3.0 * 100.0 / a);
  EXPECT_EQ(m.bulk_modulus(8.0).value(), 100.0 * y * (2.0 * e * e - e));
}

TEST(SunMorse4, Formula) {
  const auto m = make_model<SunMorse4>(10.0, 100.0, 4.0);
  const double a = 17.0 / 3.0;
  const double y = std::pow(iso_test::opaque(0.8), 0.25);
  const double e = std::exp(a * (1.0 - y));
  EXPECT_EQ(m.pressure(8.0).value(), (e * e - e) * 4.0 * 100.0 / a);
  EXPECT_EQ(m.bulk_modulus(8.0).value(), 100.0 * y * (2.0 * e * e - e));
}

}  // namespace
}  // namespace quorvel
