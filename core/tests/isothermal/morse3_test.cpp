#include "isothermal/morse3.hpp"

#include <gtest/gtest.h>

#include "numeric/cube_root.hpp"

#include <cmath>

#include "isothermal/isothermal_model_checks.hpp"

namespace quorvel {
namespace {

using iso_test::kInf;
using iso_test::kNan;
using iso_test::make_model;

static_assert(IsothermalEos<Morse3>);
static_assert(Morse3::model_name == "Morse3");

constexpr std::string_view kSingular = "Morse3 requires K0_prime != 1";

constexpr double kParameterSets[][3] = {{11.25, 160.0, 4.0}, {1.0, 5.0, 7.5}, {20.0, 100.0, 0.5}, {3.0, 50.0, -1.5}};

TEST(Morse3, ReferenceStateIsExact) {
  for (const auto& p : kParameterSets) {
    const auto m = make_model<Morse3>(p[0], p[1], p[2]);
    EXPECT_EQ(m.pressure(p[0]).value(), 0.0);
    EXPECT_EQ(m.bulk_modulus(p[0]).value(), p[1]);
    iso_test::expect_reference_pressure_derivative(m, p[2]);
  }
}

TEST(Morse3, BulkModulusIsMinusVdPdV) {
  for (const auto& p : kParameterSets)
    iso_test::expect_bulk_modulus_is_minus_v_dp_dv(make_model<Morse3>(p[0], p[1], p[2]));
}

TEST(Morse3, VolumeInvertsPressure) {
  for (const auto& p : kParameterSets) iso_test::expect_round_trip(make_model<Morse3>(p[0], p[1], p[2]));
}

TEST(Morse3, Formula) {
  const auto m = make_model<Morse3>(10.0, 100.0, 4.0);
  const double x = cube_root(iso_test::opaque(0.8));
  const double e = std::exp(3.0 * (1.0 - x));
  EXPECT_EQ(m.pressure(8.0).value(), (e * e - e) * 3.0 * 100.0 / (x * x * 3.0));
  EXPECT_EQ(m.bulk_modulus(8.0).value(), 100.0 / 3.0 * (2.0 * (e * e - e) / (x * x) + 3.0 * (2.0 * e * e - e) / x));
}

TEST(Morse3, ConstructionChecksInOrder) {
  const iso_test::ConstructionCase<3> cases[] = {
      {"V0 zero", {0.0, 160.0, 1.0}, "V0", msg::positive_finite},
      {"K0 NaN", {11.0, kNan, 1.0}, "K0", msg::positive_finite},
      {"K0' NaN", {11.0, 160.0, kNan}, "K0_prime", msg::finite},
      {"K0' infinite", {11.0, 160.0, kInf}, "K0_prime", msg::finite},
      {"K0' = 1", {11.0, 160.0, 1.0}, "K0_prime", kSingular},
      {"K0' = 1 + 2^-52 (absolute tolerance)", {11.0, 160.0, 1.0 + 0x1p-52}, "K0_prime", kSingular},
      {"K0' = 1 - 2^-53", {11.0, 160.0, 1.0 - 0x1p-53}, "K0_prime", kSingular},
  };
  iso_test::expect_construction_errors<Morse3>(cases);
}

TEST(Morse3, PressureDerivativeJustAboveTheToleranceIsAccepted) {
  for (double k0_prime : {1.0 + 1e-15, 1.0 + 0x1p-51, 1.0 - 0x1p-51}) {
    const EosExpected<Morse3> m = Morse3::make(11.0, 160.0, k0_prime);
    ASSERT_TRUE(m.has_value()) << k0_prime;
    EXPECT_EQ(m->k0_prime(), k0_prime);
    EXPECT_EQ(m->pressure(11.0).value(), 0.0);
    EXPECT_EQ(m->bulk_modulus(11.0).value(), 160.0);
  }
}

TEST(Morse3, Accessors) {
  const auto m = make_model<Morse3>(11.25, 160.0, 4.0);
  EXPECT_EQ(m.v0(), 11.25);
  EXPECT_EQ(m.k0(), 160.0);
  EXPECT_EQ(m.k0_prime(), 4.0);
}

TEST(Morse3, VolumeIsChecked) { iso_test::expect_volume_is_checked(make_model<Morse3>(11.25, 160.0, 4.0)); }

}  // namespace
}  // namespace quorvel
