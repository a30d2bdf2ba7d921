#include "isothermal/rydberg_stacey.hpp"

#include <gtest/gtest.h>

#include "numeric/cube_root.hpp"

#include <cmath>

#include "isothermal/isothermal_model_checks.hpp"

namespace quorvel {
namespace {

using iso_test::kInf;
using iso_test::kNan;
using iso_test::make_model;

static_assert(IsothermalEos<RydbergStacey>);
static_assert(RydbergStacey::model_name == "RydbergStacey");

// (V0, K0, K0', K_inf')
constexpr double kParameterSets[][4] = {
    {11.25, 160.0, 4.0, 2.5},
    {1.0, 30.0, 6.0, 0.0},
    {20.0, 100.0, 3.0, 5.0 / 3.0},
    {5.0, 250.0, 5.0, -1.0},
};

RydbergStacey make_set(const double (&p)[4]) { return make_model<RydbergStacey>(p[0], p[1], p[2], p[3]); }

TEST(RydbergStacey, ReferenceStateIsExact) {
  for (const auto& p : kParameterSets) {
    const auto m = make_set(p);
    EXPECT_EQ(m.pressure(p[0]).value(), 0.0);
    EXPECT_EQ(m.bulk_modulus(p[0]).value(), p[1]);
    iso_test::expect_reference_pressure_derivative(m, p[2]);
  }
}

TEST(RydbergStacey, BulkModulusIsMinusVdPdV) {
  for (const auto& p : kParameterSets) iso_test::expect_bulk_modulus_is_minus_v_dp_dv(make_set(p));
}

TEST(RydbergStacey, VolumeInvertsPressure) {
  for (const auto& p : kParameterSets) iso_test::expect_round_trip(make_set(p));
}

TEST(RydbergStacey, Formula) {
  const auto m = make_model<RydbergStacey>(10.0, 100.0, 4.0, 2.0);
  const double x = cube_root(iso_test::opaque(0.8));
  const double e = 1.5 * 4.0 - 6.0 + 0.5;
  EXPECT_EQ(m.pressure(8.0).value(), 300.0 * (1.0 - x) * std::pow(x, -6.0) * std::exp(e * (1.0 - x)));
}

TEST(RydbergStacey, ConstructionChecksInOrder) {
  const iso_test::ConstructionCase<4> cases[] = {
      {"V0 negative", {-1.0, 160.0, 4.0, 2.5}, "V0", msg::positive_finite},
      {"K0 zero", {11.0, 0.0, kNan, kNan}, "K0", msg::positive_finite},
      {"K0' NaN", {11.0, 160.0, kNan, kNan}, "K0_prime", msg::finite},
      {"K_inf' NaN", {11.0, 160.0, 4.0, kNan}, "K_infinity_prime", msg::finite},
      {"K_inf' infinite", {11.0, 160.0, 4.0, -kInf}, "K_infinity_prime", msg::finite},
  };
  iso_test::expect_construction_errors<RydbergStacey>(cases);
}

TEST(RydbergStacey, Accessors) {
  const auto m = make_model<RydbergStacey>(11.25, 160.0, 4.0, 2.5);
  EXPECT_EQ(m.v0(), 11.25);
  EXPECT_EQ(m.k0(), 160.0);
  EXPECT_EQ(m.k0_prime(), 4.0);
  EXPECT_EQ(m.k_infinity_prime(), 2.5);
}

TEST(RydbergStacey, VolumeIsChecked) {
  iso_test::expect_volume_is_checked(make_model<RydbergStacey>(11.25, 160.0, 4.0, 2.5));
}

}  // namespace
}  // namespace quorvel
