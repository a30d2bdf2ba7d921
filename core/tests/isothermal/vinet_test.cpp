#include "isothermal/vinet.hpp"

#include <gtest/gtest.h>

#include "numeric/cube_root.hpp"
#include "numeric/exponential.hpp"

#include <cmath>

#include "isothermal/isothermal_model_checks.hpp"

namespace quorvel {
namespace {

using iso_test::kInf;
using iso_test::kNan;
using iso_test::make_model;

static_assert(IsothermalEos<Vinet>);
static_assert(Vinet::model_name == "Vinet");

// (V0, K0, K0') sets: MgO-like, soft, K0' at the exponential's zero, negative.
constexpr double kParameterSets[][3] = {{11.25, 160.0, 4.0}, {1.0, 5.0, 7.5}, {20.0, 100.0, 1.0}, {3.0, 50.0, -1.5}};

TEST(Vinet, ReferenceStateIsExact) {
  for (const auto& p : kParameterSets) {
    const auto m = make_model<Vinet>(p[0], p[1], p[2]);
    EXPECT_EQ(m.pressure(p[0]).value(), 0.0);
    EXPECT_EQ(m.bulk_modulus(p[0]).value(), p[1]);
    iso_test::expect_reference_pressure_derivative(m, p[2]);
  }
}

TEST(Vinet, BulkModulusIsMinusVdPdV) {
  for (const auto& p : kParameterSets)
    iso_test::expect_bulk_modulus_is_minus_v_dp_dv(make_model<Vinet>(p[0], p[1], p[2]));
}

TEST(Vinet, VolumeInvertsPressure) {
  for (const auto& p : kParameterSets) iso_test::expect_round_trip(make_model<Vinet>(p[0], p[1], p[2]));
}

TEST(Vinet, Formula) {
  const auto m = make_model<Vinet>(10.0, 100.0, 5.0);
  const double x = cube_root(iso_test::opaque(0.7));
  const double eta = 6.0;
  EXPECT_EQ(m.pressure(7.0).value(), 300.0 * (1.0 - x) / (x * x) * exponential(eta * (1.0 - x)));
  EXPECT_NEAR(m.pressure(7.0).value(), 300.0 * (1.0 - x) / (x * x) * std::exp(eta * (1.0 - x)), 1e-13);
}

TEST(Vinet, ConstructionChecksInOrder) {
  const iso_test::ConstructionCase<3> cases[] = {
      {"V0 zero", {0.0, 160.0, 4.0}, "V0", msg::positive_finite},
      {"V0 NaN", {kNan, 160.0, 4.0}, "V0", msg::positive_finite},
      {"V0 before K0", {-1.0, 0.0, kNan}, "V0", msg::positive_finite},
      {"K0 zero", {11.0, 0.0, 4.0}, "K0", msg::positive_finite},
      {"K0 infinite", {11.0, kInf, 4.0}, "K0", msg::positive_finite},
      {"K0 before K0'", {11.0, -1.0, kNan}, "K0", msg::positive_finite},
      {"K0' NaN", {11.0, 160.0, kNan}, "K0_prime", msg::finite},
      {"K0' infinite", {11.0, 160.0, -kInf}, "K0_prime", msg::finite},
  };
  iso_test::expect_construction_errors<Vinet>(cases);
}

TEST(Vinet, Accessors) {
  const auto m = make_model<Vinet>(11.25, 160.0, -3.0);
  EXPECT_EQ(m.v0(), 11.25);
  EXPECT_EQ(m.k0(), 160.0);
  EXPECT_EQ(m.k0_prime(), -3.0);
}

TEST(Vinet, VolumeIsChecked) { iso_test::expect_volume_is_checked(make_model<Vinet>(11.25, 160.0, 4.0)); }

}  // namespace
}  // namespace quorvel
