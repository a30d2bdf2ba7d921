#include "thermal/asymptotic_power_law_mie_gruneisen_debye.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>

#include "isothermal/bm3.hpp"
#include "support/expect_error.hpp"
#include "thermal/mie_gruneisen.hpp"
#include "thermal/thermal_identities.hpp"

namespace quorvel {
namespace {

using testing::is_error;
using testing::is_parameter_error;
using testing::value_of;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double R = 8.31446261815324;

using Model = AsymptoticPowerLawMieGruneisenDebye<BM3>;
static_assert(CaloricEos<Model>);
static_assert(HasGruneisenFunction<Model>);

constexpr double kV0 = 1.1248, kTr = 300.0, kTheta0 = 773.0, kGamma0 = 1.5, kA = 0.6, kB = 2.0, kN = 2.0;
BM3 mgo_bm3() { return BM3::make(kV0, 160.0, 4.0).value(); }
Model make_model(double a = kA, double b = kB) { return Model::make(mgo_bm3(), kTr, kTheta0, kGamma0, a, b, kN).value(); }

// ---------------------------------------------------------------------------

struct MakeCase {
  std::string_view name;
  double tr, theta0, gamma0, a, b, n;
  std::string_view field;
  std::string_view message;
};

TEST(AsymptoticPowerLawMake, ChecksInDeclaredOrder) {
  const std::string_view pf = "must be positive and finite", fin = "must be finite",
                         unit = "must lie between zero and one";
  const MakeCase cases[] = {
      {"a NaN", kTr, kTheta0, kGamma0, nan, kB, kN, "a", fin},
      {"a infinite", kTr, kTheta0, kGamma0, inf, kB, kN, "a", fin},
      {"a above one", kTr, kTheta0, kGamma0, std::nextafter(1.0, 2.0), kB, kN, "a", unit},
      {"a negative", kTr, kTheta0, kGamma0, -0.1, kB, kN, "a", unit},
      {"a tested before Tr", 0.0, 0.0, nan, 2.0, nan, 0.0, "a", unit},
      {"Tr zero", 0.0, kTheta0, kGamma0, kA, kB, kN, "Tr", pf},
      {"Tr before theta0", -1.0, -1.0, kGamma0, kA, kB, kN, "Tr", pf},
      {"theta0 NaN", kTr, nan, kGamma0, kA, kB, kN, "theta0", pf},
      {"gamma0 infinite", kTr, kTheta0, inf, kA, kB, kN, "gamma0", fin},
      {"b NaN", kTr, kTheta0, kGamma0, kA, nan, kN, "b", fin},
      {"b before n", kTr, kTheta0, kGamma0, kA, -inf, 0.0, "b", fin},
      {"n zero", kTr, kTheta0, kGamma0, kA, kB, 0.0, "n", pf},
      {"n infinite", kTr, kTheta0, kGamma0, kA, kB, inf, "n", pf},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(is_parameter_error(Model::make(mgo_bm3(), c.tr, c.theta0, c.gamma0, c.a, c.b, c.n), c.field, c.message));
  }
}

TEST(AsymptoticPowerLawMake, BothEndsOfAAreAllowed) {
  for (double a : {0.0, -0.0, 1.0}) EXPECT_TRUE(Model::make(mgo_bm3(), kTr, kTheta0, kGamma0, a, kB, kN)) << a;
  EXPECT_TRUE(Model::make(mgo_bm3(), kTr, kTheta0, -1.0, 0.5, -3.0, kN));
}

TEST(AsymptoticPowerLawMake, StoredValues) {
  const Model m = make_model();
  EXPECT_EQ(m.model_name(), "AsymptoticPowerLawMieGruneisenDebye");
  EXPECT_EQ(Model::model_name(), "AsymptoticPowerLawMieGruneisenDebye");
  EXPECT_EQ(m.tr(), kTr);
  EXPECT_EQ(m.reference_temperature(), kTr);
  EXPECT_EQ(m.theta0(), kTheta0);
  EXPECT_EQ(m.gamma0(), kGamma0);
  EXPECT_EQ(m.a(), kA);
  EXPECT_EQ(m.b(), kB);
  EXPECT_EQ(m.n(), kN);
  EXPECT_EQ(m.isothermal_model().v0(), kV0);
}

// ---------------------------------------------------------------------------

TEST(AsymptoticPowerLawVolumeFunctions, ReferenceVolumeGivesTheta0AndGamma0ForAnyAAndB) {
  for (double a : {0.0, 0.3, 1.0}) {
    for (double b : {-1.0, 0.0, 0.5, 3.0}) {
      const Model m = make_model(a, b);
      EXPECT_EQ(value_of(m.gruneisen_function(kV0)), kGamma0) << a << ", " << b;
      EXPECT_EQ(value_of(m.characteristic_temperature(kV0)), kTheta0) << a << ", " << b;
    }
  }
}

TEST(AsymptoticPowerLawVolumeFunctions, GammaLimits) {
  const Model constant = make_model(0.0, kB);
  for (double v : {1e-3, 0.5, 1.0, 1.5}) EXPECT_EQ(value_of(constant.gruneisen_function(v)), kGamma0);
  // a = 1, b > 0: γ → 0 at infinite compression; otherwise γ0(1 - a).
  EXPECT_NEAR(value_of(make_model(1.0, 1.0).gruneisen_function(1e-9 * kV0)), 0.0, 1e-8);
  EXPECT_NEAR(value_of(make_model(kA, 1.0).gruneisen_function(1e-12 * kV0)), kGamma0 * (1.0 - kA), 1e-11);
  const Model m = make_model();
  for (double v : {0.6, 0.9, 1.3}) {
    const double x = v / kV0;
    const double gamma = kGamma0 * (1.0 + kA * (x * x - 1.0));
    EXPECT_NEAR(value_of(m.gruneisen_function(v)), gamma, 1e-15 * gamma);
    EXPECT_EQ(value_of(thermal::gruneisen_parameter(m, v, 300.0)), value_of(thermal::gruneisen_parameter(m, v, 3000.0)));
  }
}

TEST(AsymptoticPowerLawVolumeFunctions, ThetaIsTheIntegralOfGammaOverX) {
  for (double b : {-1.5, 0.0, 0.7, 2.0}) {
    const Model m = make_model(kA, b);
    for (double v : {0.6, 0.9, 1.3}) {
      SCOPED_TRACE(::testing::Message() << "b = " << b << ", V = " << v);
      // d ln θ/d ln V = -γ(V)
      const double h = 1e-4;
      const double slope = (std::log(value_of(m.characteristic_temperature(v * std::exp(h)))) -
                            std::log(value_of(m.characteristic_temperature(v * std::exp(-h))))) /
                           (2.0 * h);
      EXPECT_NEAR(slope, -value_of(m.gruneisen_function(v)), 1e-7);
    }
  }
  // b = 0: θ = θ0 (V0/V)^γ0.
  const Model flat = make_model(kA, 0.0);
  EXPECT_NEAR(value_of(flat.characteristic_temperature(0.8)), kTheta0 * std::pow(kV0 / 0.8, kGamma0), 1e-12 * kTheta0);
}

TEST(AsymptoticPowerLawVolumeFunctions, VolumeChecks) {
  const Model m = make_model();
  for (double v : {0.0, -1.0, nan, inf}) {
    EXPECT_TRUE(is_error(m.gruneisen_function(v), EosErrorKind::InvalidState, "volume", "must be positive and finite"));
    EXPECT_TRUE(is_error(m.characteristic_temperature(v), EosErrorKind::InvalidState, "volume"));
  }
}

// ---------------------------------------------------------------------------

TEST(AsymptoticPowerLawReductions, AEqualsOneIsMieGruneisenWithQEqualToB) {
  const Model m = make_model(1.0, 1.7);
  const auto mg = MieGruneisen<BM3>::make_debye(mgo_bm3(), kTr, kTheta0, kGamma0, 1.7, kN).value();
  for (double v : {0.7, 1.0, 1.2}) {
    EXPECT_NEAR(value_of(m.gruneisen_function(v)), value_of(mg.gruneisen_function(v)), 1e-14);
    EXPECT_NEAR(value_of(m.characteristic_temperature(v)), value_of(mg.characteristic_temperature(v)), 1e-11);
    for (double t : {150.0, 900.0, 2500.0}) {
      const double p = value_of(mg.thermal_pressure(v, t));
      EXPECT_NEAR(value_of(m.thermal_pressure(v, t)), p, 1e-11 * std::fabs(p) + 1e-15);
      const double e = value_of(mg.thermal_energy(v, t));
      const double s = value_of(mg.thermal_entropy(v, t));
      EXPECT_NEAR(value_of(m.thermal_energy(v, t)), e, 1e-11 * e);
      EXPECT_NEAR(value_of(m.thermal_entropy(v, t)), s, 1e-11 * s);
    }
  }
}

TEST(AsymptoticPowerLawReductions, AEqualsZeroIsMieGruneisenWithQZero) {
  const Model m = make_model(0.0, 3.0);
  const auto mg = MieGruneisen<BM3>::make_debye(mgo_bm3(), kTr, kTheta0, kGamma0, 0.0, kN).value();
  for (double v : {0.7, 1.2}) {
    for (double t : {150.0, 2500.0}) {
      const double p = value_of(mg.thermal_pressure(v, t));
      EXPECT_NEAR(value_of(m.thermal_pressure(v, t)), p, 1e-11 * std::fabs(p));
    }
  }
}

// ---------------------------------------------------------------------------

TEST(AsymptoticPowerLawThermalPressure, VanishesAtTrAndIsItsOwnIncrement) {
  const Model m = make_model();
  for (double v : {0.5, 0.9, kV0, 1.3}) {
    EXPECT_EQ(value_of(m.thermal_pressure(v, kTr)), 0.0);
    EXPECT_EQ(value_of(thermal::thermal_pressure_increment(m, v, kTr)), 0.0);
    for (double t : {50.0, 1000.0}) {
      EXPECT_EQ(value_of(thermal::thermal_pressure_increment(m, v, t)), value_of(m.thermal_pressure(v, t)));
      const double expected = value_of(m.gruneisen_function(v)) *
                              (value_of(m.thermal_energy(v, t)) - value_of(m.thermal_energy(v, kTr))) / (10000.0 * v);
      EXPECT_NEAR(value_of(m.thermal_pressure(v, t)), expected, 1e-14 * std::fabs(expected));
    }
  }
}

TEST(AsymptoticPowerLawEnergies, ClosedFormsAndHighTemperatureLimit) {
  const Model m = make_model();
  for (double v : {0.9, kV0}) {
    for (double t : {80.0, 300.0, 2000.0}) {
      const double u = value_of(m.characteristic_temperature(v)) / t;
      const double d3 = value_of(debye_function_3(u));
      EXPECT_NEAR(value_of(m.thermal_energy(v, t)), t * 6.0 * R * d3, 1e-14 * t * 6.0 * R * d3);
      const double s = 2.0 * R * (4.0 * d3 - 3.0 * std::log(1.0 - std::exp(-u)));
      EXPECT_NEAR(value_of(m.thermal_entropy(v, t)), s, 1e-12 * s);
      const double p_vib = value_of(m.gruneisen_function(v)) * value_of(m.thermal_energy(v, t)) / v / 10000.0;
      EXPECT_NEAR(value_of(m.vibrational_pressure(v, t)), p_vib, 1e-15 * p_vib);
    }
    EXPECT_NEAR(value_of(m.molar_heat_capacity_v(v, 1e5)), 6.0 * R, 1e-5 * 6.0 * R);
  }
}

TEST(AsymptoticPowerLawStateChecks, TemperatureBeforeVolume) {
  const Model m = make_model();
  const std::string_view pf = "must be positive and finite";
  EXPECT_TRUE(is_error(m.thermal_pressure(0.0, 0.0), EosErrorKind::InvalidState, "temperature", pf));
  EXPECT_TRUE(is_error(m.thermal_pressure(0.0, 300.0), EosErrorKind::InvalidState, "volume", pf));
  EXPECT_TRUE(is_error(m.thermal_energy(-1.0, nan), EosErrorKind::InvalidState, "temperature", pf));
  EXPECT_TRUE(is_error(m.thermal_entropy(-1.0, 300.0), EosErrorKind::InvalidState, "volume", pf));
  EXPECT_TRUE(is_error(m.molar_heat_capacity_v(0.0, 0.0), EosErrorKind::InvalidState, "temperature", pf));
  EXPECT_TRUE(is_error(m.molar_heat_capacity_v(0.0, 300.0), EosErrorKind::InvalidState, "volume", pf));
  // The vibrational pressure checks V first, then its energy checks T.
  EXPECT_TRUE(is_error(m.vibrational_pressure(0.0, 0.0), EosErrorKind::InvalidState, "volume", pf));
  EXPECT_TRUE(is_error(m.vibrational_pressure(1.0, 0.0), EosErrorKind::InvalidState, "temperature", pf));
  EXPECT_TRUE(is_error(m.thermal_gibbs_free_energy(0.0, 0.0), EosErrorKind::InvalidState, "temperature", pf));
  // Generic operations keep their own order: the bulk modulus checks V first.
  EXPECT_TRUE(is_error(thermal::bulk_modulus(m, 0.0, 0.0, 1e-6), EosErrorKind::InvalidState, "volume", pf));
  EXPECT_TRUE(is_error(thermal::pressure(m, 0.0, 0.0), EosErrorKind::InvalidState, "temperature", pf));
}

TEST(AsymptoticPowerLawIdentities, AllStates) {
  const testing::ThermalState states[] = {{0.85, 300.0}, {1.0, 1000.0}, {1.1248, 2000.0}, {1.15, 600.0},
                                          {0.95, 150.0}, {0.7, 3500.0}, {1.2, 1500.0}};
  for (double b : {-1.0, 0.0, 2.0}) {
    SCOPED_TRACE(b);
    testing::expect_identities(make_model(kA, b), states);
  }
  testing::expect_identities(make_model(1.0, 1.0), states);
}

}  // namespace
}  // namespace quorvel
