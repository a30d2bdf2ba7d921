#include "isothermal/baonza.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "isothermal/isothermal_model_checks.hpp"

namespace quorvel {
namespace {

using iso_test::kInf;
using iso_test::kNan;
using iso_test::make_model;

static_assert(IsothermalEos<Baonza>);
static_assert(Baonza::model_name == "Baonza");

constexpr std::string_view kDomain = "is outside the Baonza EOS pseudospinodal domain";

constexpr double kParameterSets[][3] = {{11.25, 160.0, 4.0}, {1.0, 5.0, 7.5}, {20.0, 100.0, 1.0}, {3.0, 50.0, 0.3}};

TEST(Baonza, ReferenceState) {
  for (const auto& p : kParameterSets) {
    const auto m = make_model<Baonza>(p[0], p[1], p[2]);
    // The two powers of P_sp do not cancel exactly.
    EXPECT_NEAR(m.pressure(p[0]).value(), 0.0, 1e-13 * p[1]);
    EXPECT_NEAR(m.bulk_modulus(p[0]).value(), p[1], 1e-13 * p[1]);
    iso_test::expect_reference_pressure_derivative(m, p[2]);
  }
}

TEST(Baonza, BulkModulusIsMinusVdPdV) {
  for (const auto& p : kParameterSets)
    iso_test::expect_bulk_modulus_is_minus_v_dp_dv(make_model<Baonza>(p[0], p[1], p[2]));
}

TEST(Baonza, BulkModulusIsAPowerOfThePressure) {
  const auto m = make_model<Baonza>(11.25, 160.0, 4.0);
  const double p_sp = 0.85 * 160.0 / 4.0;
  for (double ratio : iso_test::kCompressions) {
    const double p = m.pressure(ratio * 11.25).value();
    EXPECT_NEAR(m.bulk_modulus(ratio * 11.25).value(), 160.0 * std::pow((p + p_sp) / p_sp, 0.85), 1e-10) << ratio;
  }
}

TEST(Baonza, VolumeInvertsPressure) {
  for (const auto& p : kParameterSets) iso_test::expect_round_trip(make_model<Baonza>(p[0], p[1], p[2]));
}

TEST(Baonza, FormulaConstants) {
  const auto m = make_model<Baonza>(10.0, 100.0, 4.0);
  const double p_sp = iso_test::opaque(0.85 * 100.0 / 4.0);
  const double a = std::pow(p_sp, 0.85) / 100.0;
  const double b = std::pow(p_sp, 0.15000000000000002) - 0.15000000000000002 * std::log(iso_test::opaque(0.8)) / a;
  EXPECT_EQ(m.pressure(8.0).value(), std::pow(b, 6.666666666666666) - p_sp);
  EXPECT_EQ(m.bulk_modulus(8.0).value(), std::pow(b, 5.666666666666666) / a);
}

TEST(Baonza, ExpansionBeyondThePseudospinodalIsAnInvalidState) {
  const auto m = make_model<Baonza>(11.25, 160.0, 4.0);  // B = 0 near V = 4.1 V0
  EXPECT_TRUE(m.pressure(4.0 * 11.25).has_value());
  for (double v : {4.2 * 11.25, 1e6}) {
    EXPECT_TRUE(testing::is_error(m.pressure(v), EosErrorKind::InvalidState, "volume", kDomain)) << v;
    EXPECT_TRUE(testing::is_error(m.bulk_modulus(v), EosErrorKind::InvalidState, "volume", kDomain)) << v;
  }
}

TEST(Baonza, ExpansionSearchBelowThePseudospinodalEndsWithTheDomainError) {
  const auto m = make_model<Baonza>(11.25, 160.0, 4.0);
  const double p_sp = 0.85 * 160.0 / 4.0;
  EXPECT_TRUE(m.volume(-0.5 * p_sp).has_value());
  EXPECT_TRUE(testing::is_error(m.volume(-2.0 * p_sp), EosErrorKind::InvalidState, "volume", kDomain));
}

TEST(Baonza, ConstructionChecksInOrder) {
  const iso_test::ConstructionCase<3> cases[] = {
      {"V0 zero", {0.0, 160.0, 0.0}, "V0", msg::positive_finite},
      {"K0 NaN", {11.0, kNan, 0.0}, "K0", msg::positive_finite},
      {"K0' zero", {11.0, 160.0, 0.0}, "K0_prime", msg::positive_finite},
      {"K0' negative", {11.0, 160.0, -4.0}, "K0_prime", msg::positive_finite},
      {"K0' infinite", {11.0, 160.0, kInf}, "K0_prime", msg::positive_finite},
  };
  iso_test::expect_construction_errors<Baonza>(cases);
}

TEST(Baonza, Accessors) {
  const auto m = make_model<Baonza>(11.25, 160.0, 4.0);
  EXPECT_EQ(m.v0(), 11.25);
  EXPECT_EQ(m.k0(), 160.0);
  EXPECT_EQ(m.k0_prime(), 4.0);
}

TEST(Baonza, VolumeIsChecked) { iso_test::expect_volume_is_checked(make_model<Baonza>(11.25, 160.0, 4.0)); }

}  // namespace
}  // namespace quorvel
