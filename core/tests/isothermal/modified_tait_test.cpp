#include "isothermal/modified_tait.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "isothermal/isothermal_model_checks.hpp"

namespace quorvel {
namespace {

using iso_test::kInf;
using iso_test::kNan;
using iso_test::make_model;

static_assert(IsothermalEos<ModifiedTait>);
static_assert(ModifiedTait::model_name == "ModifiedTait");

constexpr std::string_view kSingular = "produce a singular modified Tait EOS";
constexpr std::string_view kDomain = "is outside the modified Tait EOS domain";

// (V0, K0, K0', K0''): the usual K0'' = -K0'/K0 (a = 5), another negative
// K0'', and a positive K0'' (a = 0.5, compression limit V > V0/2).
constexpr double kParameterSets[][4] = {
    {11.25, 160.0, 4.0, -0.025},
    {1.0, 30.0, 6.0, -0.5},
    {10.0, 100.0, 4.0, 0.05},
};

ModifiedTait make_set(const double (&p)[4]) { return make_model<ModifiedTait>(p[0], p[1], p[2], p[3]); }

TEST(ModifiedTait, ReferenceState) {
  for (const auto& p : kParameterSets) {
    const auto m = make_set(p);
    EXPECT_NEAR(m.pressure(p[0]).value(), 0.0, 1e-13 * p[1]);
    EXPECT_NEAR(m.bulk_modulus(p[0]).value(), p[1], 1e-13 * p[1]);
    iso_test::expect_reference_pressure_derivative(m, p[2]);
  }
}

TEST(ModifiedTait, DerivedCoefficientsAreStored) {
  const auto m = make_model<ModifiedTait>(10.0, 100.0, 4.0, 0.05);
  // f = 16 + 4 - 5 = 15, g = 5, h = 5 + 5 = 10
  EXPECT_EQ(m.a(), 0.5);
  EXPECT_EQ(m.b(), 4.0 / 100.0 - 0.05 / 5.0);
  EXPECT_EQ(m.c(), 10.0 / 15.0);
  EXPECT_EQ(m.v0(), 10.0);
  EXPECT_EQ(m.k0(), 100.0);
  EXPECT_EQ(m.k0_prime(), 4.0);
  EXPECT_EQ(m.k0_double_prime(), 0.05);
}

TEST(ModifiedTait, BulkModulusIsMinusVdPdV) {
  for (const auto& p : kParameterSets) iso_test::expect_bulk_modulus_is_minus_v_dp_dv(make_set(p));
}

TEST(ModifiedTait, VolumeInvertsPressure) {
  for (const auto& p : kParameterSets) iso_test::expect_round_trip(make_set(p));
}

TEST(ModifiedTait, CompressionBelowTheDomainIsAnInvalidState) {
  const auto m = make_model<ModifiedTait>(10.0, 100.0, 4.0, 0.05);  // a = 0.5
  EXPECT_TRUE(m.pressure(5.001).has_value());
  for (double v : {5.0, 4.0, 1e-3}) {
    EXPECT_TRUE(testing::is_error(m.pressure(v), EosErrorKind::InvalidState, "volume", kDomain)) << v;
    EXPECT_TRUE(testing::is_error(m.bulk_modulus(v), EosErrorKind::InvalidState, "volume", kDomain)) << v;
  }
}

TEST(ModifiedTait, RootSearchCompressingIntoTheDomainLimitReportsIt) {
  // The search tries V0 0.8^k; P(0.512 V0) is about 8.9e3, and 0.8^4 = 0.4096
  // lies below V0 (1 - a) = V0/2.
  const auto m = make_model<ModifiedTait>(10.0, 100.0, 4.0, 0.05);
  EXPECT_TRUE(testing::is_error(m.volume(1e5), EosErrorKind::InvalidState, "volume", kDomain));
  EXPECT_NEAR(m.volume(5e3).value(), 5.0, 0.5);
}

TEST(ModifiedTait, ConstructionChecksInOrder) {
  const iso_test::ConstructionCase<4> cases[] = {
      {"V0 zero", {0.0, 160.0, 4.0, -0.025}, "V0", msg::positive_finite},
      {"K0 NaN", {11.0, kNan, 4.0, -0.025}, "K0", msg::positive_finite},
      {"K0' infinite", {11.0, 160.0, kInf, -0.025}, "K0_prime", msg::finite},
      {"K0'' NaN", {11.0, 160.0, -1.0, kNan}, "K0_double_prime", msg::finite},
      {"g = 1 + K0' = 0", {11.0, 160.0, -1.0, -0.025}, "K0_prime/K0_double_prime", kSingular},
      {"f = K0'^2 + K0' - K0 K0'' = 0", {11.0, 100.0, 4.0, 0.2}, "K0_prime/K0_double_prime", kSingular},
      {"h = K0 K0'' + 1 + K0' = 0", {11.0, 100.0, 4.0, -0.05}, "K0_prime/K0_double_prime", kSingular},
  };
  iso_test::expect_construction_errors<ModifiedTait>(cases);
}

TEST(ModifiedTait, VolumeIsChecked) {
  iso_test::expect_volume_is_checked(make_model<ModifiedTait>(11.25, 160.0, 4.0, -0.025));
}

}  // namespace
}  // namespace quorvel
