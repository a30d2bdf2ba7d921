#include "hugoniot/linear_us_up_hugoniot.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "support/expect_error.hpp"

namespace quorvel {
namespace {

using testing::is_error;
using testing::is_parameter_error;
using testing::value_of;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double denorm = std::numeric_limits<double>::denorm_min();
constexpr std::string_view beyond_v0 = "must not exceed V0 on a compression Hugoniot";

struct Parameters {
  const char* name;
  double v0, rho0, c0, s, p0;
};

// Copper-like values with V0 unrelated to 1/rho0; a preloaded material with
// V0 = 1/rho0; a soft material with s < 1 (every eta < 1 is reachable) and a
// negative initial pressure.
constexpr Parameters models[] = {
    {"copper", 11.2, 8.93, 3.94, 1.49, 0.0},
    {"preloaded", 1.0 / 2.65, 2.65, 5.0, 1.3, 2.5},
    {"soft", 3.0, 1.2, 2.0, 0.5, -0.3},
};

LinearUsUpHugoniot make(const Parameters& p) {
  auto m = LinearUsUpHugoniot::make(p.v0, p.rho0, p.c0, p.s, p.p0);
  EXPECT_TRUE(m.has_value()) << p.name;
  return *m;
}

using VolumeOp = EosResult (LinearUsUpHugoniot::*)(double) const noexcept;
struct NamedVolumeOp {
  const char* name;
  VolumeOp op;
};
constexpr NamedVolumeOp volume_ops[] = {
    {"shock_velocity", &LinearUsUpHugoniot::shock_velocity},
    {"particle_velocity", &LinearUsUpHugoniot::particle_velocity},
    {"pressure", &LinearUsUpHugoniot::pressure},
    {"density", &LinearUsUpHugoniot::density},
    {"specific_internal_energy_change", &LinearUsUpHugoniot::specific_internal_energy_change},
    {"tangent_modulus", &LinearUsUpHugoniot::tangent_modulus},
};
constexpr NamedVolumeOp particle_velocity_ops[] = {
    {"volume_from_particle_velocity", &LinearUsUpHugoniot::volume_from_particle_velocity},
    {"pressure_from_particle_velocity", &LinearUsUpHugoniot::pressure_from_particle_velocity},
    {"shock_velocity_from_particle_velocity", &LinearUsUpHugoniot::shock_velocity_from_particle_velocity},
};

// ---------------------------------------------------------------- construction

TEST(LinearUsUpHugoniotMake, KeepsItsParameters) {
  const auto m = LinearUsUpHugoniot::make(11.2, 8.93, 3.94, 1.49, -0.5);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->v0(), 11.2);
  EXPECT_EQ(m->rho0(), 8.93);
  EXPECT_EQ(m->c0(), 3.94);
  EXPECT_EQ(m->s(), 1.49);
  EXPECT_EQ(m->p0(), -0.5);
}

TEST(LinearUsUpHugoniotMake, AcceptsNegativeP0AndTinyPositiveScales) {
  EXPECT_TRUE(LinearUsUpHugoniot::make(11.2, 8.93, 3.94, 1.49, -5.0));
  EXPECT_TRUE(LinearUsUpHugoniot::make(denorm, denorm, denorm, denorm, 0.0));
  EXPECT_TRUE(LinearUsUpHugoniot::make(1e300, 1e300, 1e300, 1e300, -1e308));
}

TEST(LinearUsUpHugoniotMake, RejectsEachParameterWithItsName) {
  struct Case {
    double v0, rho0, c0, s, p0;
    std::string_view name, message;
  };
  const Case cases[] = {
      {0.0, 8.93, 3.94, 1.49, 0.0, "V0", msg::positive_finite},
      {-0.0, 8.93, 3.94, 1.49, 0.0, "V0", msg::positive_finite},
      {-11.2, 8.93, 3.94, 1.49, 0.0, "V0", msg::positive_finite},
      {nan, 8.93, 3.94, 1.49, 0.0, "V0", msg::positive_finite},
      {inf, 8.93, 3.94, 1.49, 0.0, "V0", msg::positive_finite},
      {11.2, 0.0, 3.94, 1.49, 0.0, "rho0", msg::positive_finite},
      {11.2, -8.93, 3.94, 1.49, 0.0, "rho0", msg::positive_finite},
      {11.2, inf, 3.94, 1.49, 0.0, "rho0", msg::positive_finite},
      {11.2, 8.93, 0.0, 1.49, 0.0, "c0", msg::positive_finite},
      {11.2, 8.93, -3.94, 1.49, 0.0, "c0", msg::positive_finite},
      {11.2, 8.93, nan, 1.49, 0.0, "c0", msg::positive_finite},
      {11.2, 8.93, 3.94, 0.0, 0.0, "s", msg::positive_finite},
      {11.2, 8.93, 3.94, -1.49, 0.0, "s", msg::positive_finite},
      {11.2, 8.93, 3.94, inf, 0.0, "s", msg::positive_finite},
      {11.2, 8.93, 3.94, 1.49, nan, "P0", msg::finite},
      {11.2, 8.93, 3.94, 1.49, inf, "P0", msg::finite},
      {11.2, 8.93, 3.94, 1.49, -inf, "P0", msg::finite},
      // Several bad parameters: the first in declaration order is reported.
      {nan, 0.0, 0.0, 0.0, nan, "V0", msg::positive_finite},
      {11.2, -1.0, 0.0, 0.0, inf, "rho0", msg::positive_finite},
      {11.2, 8.93, 0.0, 0.0, nan, "c0", msg::positive_finite},
      {11.2, 8.93, 3.94, 0.0, nan, "s", msg::positive_finite},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.v0 << ", " << c.rho0 << ", " << c.c0 << ", " << c.s << ", " << c.p0);
    EXPECT_TRUE(is_parameter_error(LinearUsUpHugoniot::make(c.v0, c.rho0, c.c0, c.s, c.p0), c.name, c.message));
  }
}

// ---------------------------------------------------------------- volume-based operations

TEST(LinearUsUpHugoniot, InitialStateAtV0) {
  for (const auto& p : models) {
    SCOPED_TRACE(p.name);
    const auto m = make(p);
    EXPECT_EQ(value_of(m.shock_velocity(p.v0)), p.c0);
    EXPECT_EQ(value_of(m.particle_velocity(p.v0)), 0.0);
    EXPECT_EQ(value_of(m.pressure(p.v0)), p.p0);
    EXPECT_DOUBLE_EQ(value_of(m.density(p.v0)), p.rho0);
    EXPECT_NEAR(value_of(m.specific_internal_energy_change(p.v0)), 0.0, 1e-15 * std::fabs(p.p0) / p.rho0);
    EXPECT_DOUBLE_EQ(value_of(m.tangent_modulus(p.v0)), p.rho0 * p.c0 * p.c0);
  }
}

// Copper-like model at two compressions, from exact rational arithmetic:
// Us and Up from eta = 1 - V/V0, P from momentum, dE as Up^2/2, K_H as
// (V/V0) dP/deta.
TEST(LinearUsUpHugoniot, ReferenceValues) {
  struct Case {
    double volume, us, up, p, rho, de, k;
  };
  const Case cases[] = {
      {8.96, 5.612535612535611, 1.1225071225071215, 56.25999301953711, 11.162499999999998, 0.6300111200396089,
       416.0995495120182},
      {6.0, 12.783314020857471, 5.935110081112397, 677.5224569228844, 16.66933333333333, 17.612765837461,
       4291.0560813491},
  };
  const auto m = make(models[0]);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.volume);
    EXPECT_NEAR(value_of(m.shock_velocity(c.volume)), c.us, 1e-14 * c.us);
    EXPECT_NEAR(value_of(m.particle_velocity(c.volume)), c.up, 1e-14 * c.up);
    EXPECT_NEAR(value_of(m.pressure(c.volume)), c.p, 1e-14 * c.p);
    EXPECT_NEAR(value_of(m.density(c.volume)), c.rho, 1e-15 * c.rho);
    EXPECT_NEAR(value_of(m.specific_internal_energy_change(c.volume)), c.de, 1e-14 * c.de);
    EXPECT_NEAR(value_of(m.tangent_modulus(c.volume)), c.k, 1e-14 * c.k);
  }
}

// The jump conditions tie the six quantities together: mass (Up/Us = eta,
// rho V = rho0 V0), momentum (P - P0 = rho0 Us Up), the defining line
// Us = c0 + s Up, and energy in both of its forms.
TEST(LinearUsUpHugoniot, RankineHugoniotJumpConditions) {
  const double relative_volumes[] = {1.0, 0.999, 0.95, 0.85, 0.7, 0.5, 0.4};
  for (const auto& p : models) {
    const auto m = make(p);
    for (double x : relative_volumes) {
      const double v = x * p.v0;
      SCOPED_TRACE(::testing::Message() << p.name << " V/V0 = " << x);
      const double eta = 1.0 - v / p.v0;
      const double us = value_of(m.shock_velocity(v));
      const double up = value_of(m.particle_velocity(v));
      const double pressure = value_of(m.pressure(v));
      const double rho = value_of(m.density(v));
      const double de = value_of(m.specific_internal_energy_change(v));
      constexpr double tol = 1e-14;

      EXPECT_NEAR(us, p.c0 + p.s * up, tol * us);
      EXPECT_NEAR(up, eta * us, tol * us);
      EXPECT_NEAR(rho * v, p.rho0 * p.v0, tol * p.rho0 * p.v0);
      EXPECT_NEAR(pressure - p.p0, p.rho0 * us * up, tol * (std::fabs(pressure) + std::fabs(p.p0)));

      // 1/rho0 - 1/rho cancels at weak compression: its error is a few
      // ulps of 1/rho0, not of the difference.
      const double de_tol =
          tol * (0.5 * up * up + std::fabs(de)) + 1e-15 * (std::fabs(pressure) + std::fabs(p.p0)) / p.rho0;
      EXPECT_NEAR(de, 0.5 * (pressure + p.p0) * (p.v0 - v) / (p.v0 * p.rho0), de_tol);
      EXPECT_NEAR(de, 0.5 * up * up + p.p0 * (1.0 / p.rho0 - 1.0 / rho), de_tol);
    }
  }
}

// K_H = -V dP/dV against a five-point central difference (error O(h^4)).
TEST(LinearUsUpHugoniot, TangentModulusIsMinusVdPdV) {
  const double relative_volumes[] = {0.99, 0.9, 0.75, 0.6, 0.45};
  for (const auto& p : models) {
    const auto m = make(p);
    for (double x : relative_volumes) {
      const double v = x * p.v0;
      SCOPED_TRACE(::testing::Message() << p.name << " V/V0 = " << x);
      // Steps scaled by D = 1 - s eta, the distance to the end of the branch.
      const double h = 2e-4 * p.v0 * (1.0 - p.s * (1.0 - x));
      const double dp_dv = (-value_of(m.pressure(v + 2 * h)) + 8 * value_of(m.pressure(v + h)) -
                            8 * value_of(m.pressure(v - h)) + value_of(m.pressure(v - 2 * h))) /
                           (12 * h);
      const double k = value_of(m.tangent_modulus(v));
      EXPECT_NEAR(k, -v * dp_dv, 1e-11 * k);
    }
  }
}

TEST(LinearUsUpHugoniot, VolumeChecksOfEveryOperation) {
  const auto m = make(models[0]);
  struct Case {
    double volume;
    std::string_view message;
  };
  const Case cases[] = {
      {0.0, msg::positive_finite},  {-0.0, msg::positive_finite},           {-1.0, msg::positive_finite},
      {nan, msg::positive_finite},  {inf, msg::positive_finite},            {-inf, msg::positive_finite},
      {22.4, beyond_v0},            {std::nextafter(11.2, inf), beyond_v0},
  };
  for (const auto& op : volume_ops) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << op.name << "(" << c.volume << ")");
      EXPECT_TRUE(is_error((m.*op.op)(c.volume), EosErrorKind::InvalidState, "volume", c.message));
    }
    EXPECT_TRUE((m.*op.op)(11.2)) << op.name;
  }
}

// With s = 2 states exist only for eta < 1/2: V = V0/2 (eta = 1/2 exactly)
// and everything below it is out of range, the next double above V0/2 is a
// valid (very strong) shock.
TEST(LinearUsUpHugoniot, CompressionLimit) {
  const auto m = *LinearUsUpHugoniot::make(11.2, 8.93, 3.94, 2.0, 0.0);
  const double limit = 5.6;
  ASSERT_EQ(1.0 - limit / 11.2, 0.5);
  for (const auto& op : volume_ops) {
    SCOPED_TRACE(op.name);
    for (double v : {limit, 5.0, 1.0, 1e-300, denorm})
      EXPECT_TRUE(is_error((m.*op.op)(v), EosErrorKind::OutsideInvertibleRange)) << v;
    const EosResult just_inside = (m.*op.op)(std::nextafter(limit, inf));
    ASSERT_TRUE(just_inside) << just_inside.error().display();
    EXPECT_TRUE(std::isfinite(*just_inside));
  }
  EXPECT_GT(*m.shock_velocity(std::nextafter(limit, inf)), 1e15);
}

// Overflow surfaces as NonFiniteResult, never as an infinite value.
TEST(LinearUsUpHugoniot, OverflowIsNonFiniteResult) {
  // s < 1 reaches V -> 0: rho0 V0 / V overflows; the energy tests rho first.
  const auto soft = make(models[2]);
  EXPECT_TRUE(soft.shock_velocity(denorm));
  EXPECT_TRUE(is_error(soft.density(denorm), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(soft.specific_internal_energy_change(denorm), EosErrorKind::NonFiniteResult));

  // rho0 c0^2 overflows: pressure, energy and modulus fail once eta > 0.
  const auto stiff = *LinearUsUpHugoniot::make(1.0, 1e300, 1e10, 1.5, 0.0);
  EXPECT_EQ(value_of(stiff.pressure(1.0)), 0.0);
  for (VolumeOp op : {&LinearUsUpHugoniot::pressure, &LinearUsUpHugoniot::specific_internal_energy_change,
                      &LinearUsUpHugoniot::tangent_modulus})
    EXPECT_TRUE(is_error((stiff.*op)(0.9), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(stiff.shock_velocity(0.9));
  EXPECT_TRUE(stiff.density(0.9));
}

// ---------------------------------------------------------------- particle-velocity operations

TEST(LinearUsUpHugoniot, ZeroParticleVelocityIsTheInitialState) {
  for (const auto& p : models) {
    SCOPED_TRACE(p.name);
    const auto m = make(p);
    for (double up : {0.0, -0.0}) {
      EXPECT_EQ(value_of(m.volume_from_particle_velocity(up)), p.v0);
      EXPECT_EQ(value_of(m.pressure_from_particle_velocity(up)), p.p0);
      EXPECT_EQ(value_of(m.shock_velocity_from_particle_velocity(up)), p.c0);
    }
  }
}

TEST(LinearUsUpHugoniot, ParticleVelocityOperationsInvertTheVolumeOperations) {
  const double relative_volumes[] = {0.999, 0.95, 0.85, 0.7, 0.5, 0.4};
  for (const auto& p : models) {
    const auto m = make(p);
    for (double x : relative_volumes) {
      const double v = x * p.v0;
      SCOPED_TRACE(::testing::Message() << p.name << " V/V0 = " << x);
      const double up = value_of(m.particle_velocity(v));
      const double us = value_of(m.shock_velocity(v));
      const double pressure = value_of(m.pressure(v));
      EXPECT_NEAR(value_of(m.volume_from_particle_velocity(up)), v, 1e-14 * p.v0);
      EXPECT_NEAR(value_of(m.pressure_from_particle_velocity(up)), pressure,
                  1e-14 * (std::fabs(pressure) + std::fabs(p.p0)));
      EXPECT_NEAR(value_of(m.shock_velocity_from_particle_velocity(up)), us, 1e-14 * us);
    }
  }
}

TEST(LinearUsUpHugoniot, ParticleVelocityChecks) {
  const auto m = make(models[0]);
  struct Case {
    double up;
    EosErrorKind kind;
    std::string_view message;
  };
  const Case cases[] = {
      {nan, EosErrorKind::InvalidParameter, msg::finite},
      {inf, EosErrorKind::InvalidParameter, msg::finite},
      {-inf, EosErrorKind::InvalidParameter, msg::finite},
      {-1.0, EosErrorKind::InvalidState, "must be non-negative"},
      {-denorm, EosErrorKind::InvalidState, "must be non-negative"},
  };
  for (const auto& op : particle_velocity_ops) {
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << op.name << "(" << c.up << ")");
      EXPECT_TRUE(is_error((m.*op.op)(c.up), c.kind, "particle_velocity", c.message));
    }
    // s Up overflows: the shock velocity itself is not finite.
    EXPECT_TRUE(is_error((m.*op.op)(1.5e308), EosErrorKind::NonFiniteResult)) << op.name;
  }
  // Us is finite but Up Us rho0 overflows; the volume stays near V0 (1 - 1/s).
  EXPECT_TRUE(is_error(m.pressure_from_particle_velocity(1e200), EosErrorKind::NonFiniteResult));
  EXPECT_NEAR(value_of(m.volume_from_particle_velocity(1e200)), 11.2 * (1.0 - 1.0 / 1.49), 1e-14 * 11.2);
}

// With s < 1 the particle velocity can reach the shock velocity (Up >= c0/(1 - s)),
// which would mean a zero or negative volume.
TEST(LinearUsUpHugoniot, VolumeFromParticleVelocityOutOfRange) {
  const auto m = *LinearUsUpHugoniot::make(3.0, 1.2, 2.0, 0.5, 0.0);
  EXPECT_GT(value_of(m.volume_from_particle_velocity(3.9)), 0.0);
  for (double up : {4.0, 6.0, 1e10})
    EXPECT_TRUE(is_error(m.volume_from_particle_velocity(up), EosErrorKind::OutsideInvertibleRange)) << up;
  // The pressure and shock velocity have no such limit.
  EXPECT_TRUE(m.pressure_from_particle_velocity(6.0));
  EXPECT_TRUE(m.shock_velocity_from_particle_velocity(6.0));
}

// ---------------------------------------------------------------- volume from pressure

TEST(LinearUsUpHugoniot, VolumeFromPressureAtTheInitialState) {
  for (const auto& p : models) {
    SCOPED_TRACE(p.name);
    const auto m = make(p);
    EXPECT_EQ(value_of(m.volume_from_pressure(p.p0)), p.v0);
    for (double below : {p.p0 - 1.0, std::nextafter(p.p0, -inf), -1e308})
      EXPECT_TRUE(is_error(m.volume_from_pressure(below), EosErrorKind::OutsideInvertibleRange)) << below;
    for (double bad : {nan, inf, -inf})
      EXPECT_TRUE(is_error(m.volume_from_pressure(bad), EosErrorKind::InvalidParameter, "pressure", msg::finite));
  }
}

// volume_from_pressure(pressure(V)) = V from V0 down to just short of the
// end of the branch (eta -> min(1/s, 1)).
TEST(LinearUsUpHugoniot, VolumeFromPressureInvertsPressureOverTheWholeBranch) {
  for (const auto& p : models) {
    const auto m = make(p);
    const double eta_end = std::fmin(1.0 / p.s, 1.0);
    constexpr int n = 2000;
    for (int k = 0; k <= n; ++k) {
      const double eta = eta_end * (1.0 - 1e-9) * k / n;
      const double v = (1.0 - eta) * p.v0;
      SCOPED_TRACE(::testing::Message() << p.name << " V/V0 = " << v / p.v0);
      const double pressure = value_of(m.pressure(v));
      EXPECT_NEAR(value_of(m.volume_from_pressure(pressure)), v, 4e-16 * p.v0);
    }
  }
}

TEST(LinearUsUpHugoniot, VolumeFromPressureBeyondTheBranch) {
  // s = 0.5: y = (P - P0)/(rho0 c0^2) = 4 gives eta = 1 (V = 0); above it eta > 1.
  const auto soft = *LinearUsUpHugoniot::make(3.0, 1.2, 2.0, 0.5, -0.3);
  const double scale = 1.2 * 2.0 * 2.0;
  const double v = value_of(soft.volume_from_pressure(-0.3 + 3.0 * scale));
  EXPECT_GT(v, 0.0);
  EXPECT_NEAR(value_of(soft.pressure(v)), -0.3 + 3.0 * scale, 1e-13 * scale);
  for (double y : {4.0, 5.0, 1e300})
    EXPECT_TRUE(is_error(soft.volume_from_pressure(-0.3 + y * scale), EosErrorKind::OutsideInvertibleRange)) << y;

  // P - P0 overflows to infinity: the NaN compression is out of range too.
  const auto low_p0 = *LinearUsUpHugoniot::make(11.2, 8.93, 3.94, 1.49, -1e308);
  EXPECT_TRUE(is_error(low_p0.volume_from_pressure(1e308), EosErrorKind::OutsideInvertibleRange));

  // With s > 1 the whole half-line P >= P0 maps into (V0 (1 - 1/s), V0].
  const auto copper = make(models[0]);
  const double v_strong = value_of(copper.volume_from_pressure(1e20));
  EXPECT_GT(v_strong, 11.2 * (1.0 - 1.0 / 1.49));
  EXPECT_LT(v_strong, 11.2 * (1.0 - 1.0 / 1.49) * (1.0 + 1e-6));
}

// ---------------------------------------------------------------- rendering

TEST(LinearUsUpHugoniot, DebugString) {
  EXPECT_EQ(make(models[0]).debug_string(),
            "LinearUsUpHugoniot { v0: 11.2, rho0: 8.93, c0: 3.94, s: 1.49, p0: 0.0 }");
  EXPECT_EQ(LinearUsUpHugoniot::make(1e-5, 1e16, 5e-324, 1.0, -0.0)->debug_string(),
            "LinearUsUpHugoniot { v0: 1e-5, rho0: 1e16, c0: 5e-324, s: 1.0, p0: -0.0 }");
  EXPECT_EQ(LinearUsUpHugoniot::make(0.37735849056603776, 2.65, 5.0, 1.3, -2.5)->debug_string(),
            "LinearUsUpHugoniot { v0: 0.37735849056603776, rho0: 2.65, c0: 5.0, s: 1.3, p0: -2.5 }");
}

}  // namespace
}  // namespace quorvel
