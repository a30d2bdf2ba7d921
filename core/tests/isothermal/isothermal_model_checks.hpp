// Checks shared by the isothermal model tests: reference state, K = -V dP/dV
// against a five-point stencil, the round trip volume(pressure(V)), the
// volume check of every evaluation, and construction-check tables.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <string_view>
#include <tuple>

#include "error/eos_error.hpp"
#include "isothermal/isothermal_eos.hpp"
#include "support/expect_error.hpp"

namespace quorvel::iso_test {

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// V/V0 from 0.6 (compression) to 1.05 (expansion), V0 itself included.
inline constexpr double kCompressions[] = {0.6, 0.65, 0.7, 0.75, 0.8, 0.85, 0.9, 0.95, 1.0, 1.02, 1.05};

// Volumes that every evaluation must refuse with InvalidState "volume".
inline constexpr double kBadVolumes[] = {0.0, -0.0, -1.0, kNan, kInf, -kInf};

// Hides a value from constant folding, so that a test's reference formula
// calls the same run-time library functions as the model (the compiler's
// folded cbrt, pow or exp may differ from the library's in the last bit).
inline double opaque(double x) {
  volatile double v = x;
  return v;
}

// Builds a model from valid parameters; fails the test otherwise.
template <class M, class... Args>
M make_model(Args... args) {
  const EosExpected<M> m = M::make(args...);
  EXPECT_TRUE(m.has_value()) << M::model_name << ": " << (m ? std::string() : m.error().display());
  return m.value();
}

// -V dP/dV by the five-point stencil with step h = 1e-3 V.
template <IsothermalEos M>
double numerical_bulk_modulus(const M& m, double v) {
  const double h = 1e-3 * v;
  const double p_m2 = testing::value_of(m.pressure(v - 2.0 * h));
  const double p_m1 = testing::value_of(m.pressure(v - h));
  const double p_p1 = testing::value_of(m.pressure(v + h));
  const double p_p2 = testing::value_of(m.pressure(v + 2.0 * h));
  const double dp_dv = (p_m2 - 8.0 * p_m1 + 8.0 * p_p1 - p_p2) / (12.0 * h);
  return -v * dp_dv;
}

template <IsothermalEos M>
void expect_bulk_modulus_is_minus_v_dp_dv(const M& m, double relative_tolerance = 1e-7,
                                          std::span<const double> ratios = kCompressions) {
  for (double ratio : ratios) {
    const double v = ratio * m.v0();
    SCOPED_TRACE(::testing::Message() << M::model_name << " at V/V0 = " << ratio);
    const double k = testing::value_of(m.bulk_modulus(v));
    const double numeric = numerical_bulk_modulus(m, v);
    EXPECT_NEAR(k, numeric, relative_tolerance * std::fabs(k));
  }
}

template <IsothermalEos M>
void expect_round_trip(const M& m, double relative_tolerance = 1e-10,
                       std::span<const double> ratios = kCompressions) {
  for (double ratio : ratios) {
    const double v = ratio * m.v0();
    SCOPED_TRACE(::testing::Message() << M::model_name << " at V/V0 = " << ratio);
    const double p = testing::value_of(m.pressure(v));
    const double back = testing::value_of(m.volume(p));
    EXPECT_NEAR(back, v, relative_tolerance * v) << "P = " << p;
  }
}

// K' = K0' at V0, by the central difference shared by all models.
template <IsothermalEos M>
void expect_reference_pressure_derivative(const M& m, double k0_prime, double tolerance = 1e-6) {
  const EosResult kp = isothermal::bulk_modulus_derivative(m, m.v0(), 1e-4);
  EXPECT_NEAR(testing::value_of(kp), k0_prime, tolerance) << M::model_name;
}

template <IsothermalEos M>
void expect_volume_is_checked(const M& m) {
  for (double v : kBadVolumes) {
    SCOPED_TRACE(::testing::Message() << M::model_name << " at V = " << v);
    EXPECT_TRUE(testing::is_error(m.pressure(v), EosErrorKind::InvalidState, "volume", msg::positive_finite));
    EXPECT_TRUE(testing::is_error(m.bulk_modulus(v), EosErrorKind::InvalidState, "volume", msg::positive_finite));
  }
  for (double p : {kNan, kInf, -kInf}) {
    SCOPED_TRACE(::testing::Message() << M::model_name << " at P = " << p);
    EXPECT_TRUE(testing::is_error(m.volume(p), EosErrorKind::InvalidState, "pressure", msg::finite));
  }
}

// One row of a construction-check table: the arguments of make, in factory
// order, and the InvalidParameter that they must produce.
template <std::size_t N>
struct ConstructionCase {
  std::string_view label;
  std::array<double, N> args;
  std::string_view name;
  std::string_view message;
};

template <class M, std::size_t N>
void expect_construction_errors(std::span<const ConstructionCase<N>> cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << M::model_name << ": " << c.label);
    const EosExpected<M> m = std::apply([](auto... a) { return M::make(a...); }, c.args);
    EXPECT_TRUE(testing::is_parameter_error(m, c.name, c.message));
  }
}

template <class M, std::size_t N, std::size_t K>
void expect_construction_errors(const ConstructionCase<N> (&cases)[K]) {
  expect_construction_errors<M, N>(std::span<const ConstructionCase<N>>(cases));
}

}  // namespace quorvel::iso_test
