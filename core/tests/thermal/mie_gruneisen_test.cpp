#include "thermal/mie_gruneisen.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

#include "isothermal/bm3.hpp"
#include "support/expect_error.hpp"
#include "thermal/thermal_identities.hpp"

namespace quorvel {
namespace {

using testing::is_error;
using testing::is_parameter_error;
using testing::value_of;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double R = 8.31446261815324;

using Model = MieGruneisen<BM3>;
static_assert(CaloricEos<Model>);
static_assert(HasGruneisenFunction<Model>);

// MgO (Speziale et al. style parameters): V0 = 1.1248 J/bar, K0 = 160 GPa,
// K0' = 4, θ0 = 773 K, γ0 = 1.5, q = 1.5, n = 2, Tr = 300 K.
constexpr double kV0 = 1.1248, kTr = 300.0, kTheta0 = 773.0, kGamma0 = 1.5, kQ = 1.5, kN = 2.0;
BM3 mgo_bm3() { return BM3::make(kV0, 160.0, 4.0).value(); }

Model debye(ThermalPressureReference reference = ThermalPressureReference::ReferenceTemperature,
            DebyeTemperatureLaw law = DebyeTemperatureLaw::IntegratedGruneisen, double q = kQ,
            std::optional<double> cvmax = std::nullopt) {
  return Model::make_debye(mgo_bm3(), kTr, kTheta0, kGamma0, q, kN, cvmax, law, reference).value();
}
Model einstein(ThermalPressureReference reference = ThermalPressureReference::ReferenceTemperature,
               double q = kQ) {
  return Model::make(MieGruneisenForm::Einstein, mgo_bm3(), kTr, kTheta0, kGamma0, q, kN, std::nullopt,
                     DebyeTemperatureLaw::IntegratedGruneisen, reference)
      .value();
}

// One model of every form, law and reference, with readable names.
struct NamedModel {
  std::string_view name;
  Model model;
};
std::vector<NamedModel> all_variants() {
  using L = DebyeTemperatureLaw;
  using P = ThermalPressureReference;
  std::vector<NamedModel> models;
  for (P reference : {P::ReferenceTemperature, P::ReferenceIsentrope, P::AbsoluteZero}) {
    models.push_back({"Debye, integrated_gruneisen", debye(reference, L::IntegratedGruneisen)});
    models.push_back({"Debye, variable_exponent", debye(reference, L::VariableExponent)});
    models.push_back({"Einstein", einstein(reference)});
  }
  return models;
}

std::string trace(const Model& m, std::string_view name) {
  return std::string(name) + ", " + std::string(option_name(m.thermal_pressure_reference()));
}

// ---------------------------------------------------------------------------
// Construction.

struct MakeCase {
  std::string_view name;
  double tr, theta0, gamma0, q, n;
  std::optional<double> cvmax;
  std::string_view field;
  std::string_view message;
};

TEST(MieGruneisenMake, ChecksInDeclaredOrder) {
  const std::string_view pf = "must be positive and finite", fin = "must be finite";
  const MakeCase cases[] = {
      {"Tr zero", 0.0, kTheta0, kGamma0, kQ, kN, {}, "Tr", pf},
      {"Tr NaN", nan, kTheta0, kGamma0, kQ, kN, {}, "Tr", pf},
      {"Tr and theta0 invalid: Tr first", -1.0, 0.0, nan, nan, 0.0, 0.0, "Tr", pf},
      {"theta0 zero", kTr, 0.0, kGamma0, kQ, kN, {}, "theta0", pf},
      {"theta0 infinite", kTr, inf, kGamma0, kQ, kN, {}, "theta0", pf},
      {"gamma0 NaN", kTr, kTheta0, nan, kQ, kN, {}, "gamma0", fin},
      {"gamma0 infinite", kTr, kTheta0, -inf, kQ, kN, {}, "gamma0", fin},
      {"q NaN", kTr, kTheta0, kGamma0, nan, kN, {}, "q", fin},
      {"n zero", kTr, kTheta0, kGamma0, kQ, 0.0, {}, "n", pf},
      {"n negative, Cvmax invalid: n first", kTr, kTheta0, kGamma0, kQ, -2.0, -1.0, "n", pf},
      {"Cvmax zero", kTr, kTheta0, kGamma0, kQ, kN, 0.0, "Cvmax", pf},
      {"Cvmax NaN", kTr, kTheta0, kGamma0, kQ, kN, nan, "Cvmax", pf},
      {"Cvmax infinite", kTr, kTheta0, kGamma0, kQ, kN, inf, "Cvmax", pf},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(is_parameter_error(Model::make_debye(mgo_bm3(), c.tr, c.theta0, c.gamma0, c.q, c.n, c.cvmax),
                                   c.field, c.message));
    if (c.field != "Cvmax") {
      EXPECT_TRUE(is_parameter_error(Model::make_einstein(mgo_bm3(), c.tr, c.theta0, c.gamma0, c.q, c.n), c.field,
                                     c.message));
    }
  }
}

TEST(MieGruneisenMake, SignedParametersMayBeNegativeOrZero) {
  EXPECT_TRUE(Model::make_debye(mgo_bm3(), kTr, kTheta0, -1.0, -2.0, kN));
  EXPECT_TRUE(Model::make_debye(mgo_bm3(), kTr, kTheta0, 0.0, 0.0, kN));
  EXPECT_TRUE(Model::make_debye(mgo_bm3(), kTr, kTheta0, kGamma0, kQ, 1e-300));
}

TEST(MieGruneisenMake, StoredValuesAndDefaults) {
  const Model d = debye();
  EXPECT_EQ(d.model_name(), "MieGruneisenDebye");
  EXPECT_EQ(d.form(), MieGruneisenForm::Debye);
  EXPECT_TRUE(d.is_debye());
  EXPECT_EQ(d.cvmax(), 6.0 * R);  // 3·n·R for n = 2
  EXPECT_EQ(d.debye_temperature_law(), DebyeTemperatureLaw::IntegratedGruneisen);
  EXPECT_EQ(d.thermal_pressure_reference(), ThermalPressureReference::ReferenceTemperature);
  EXPECT_EQ(d.tr(), kTr);
  EXPECT_EQ(d.reference_temperature(), kTr);
  EXPECT_EQ(d.theta0(), kTheta0);
  EXPECT_EQ(d.gamma0(), kGamma0);
  EXPECT_EQ(d.q(), kQ);
  EXPECT_EQ(d.n(), kN);
  EXPECT_EQ(d.isothermal_model().v0(), kV0);
  EXPECT_EQ(debye(ThermalPressureReference::AbsoluteZero, DebyeTemperatureLaw::VariableExponent, kQ, 7.5).cvmax(), 7.5);

  const Model e = Model::make_einstein(mgo_bm3(), kTr, kTheta0, kGamma0, kQ, kN).value();
  EXPECT_EQ(e.model_name(), "MieGruneisenEinstein");
  EXPECT_FALSE(e.is_debye());
  EXPECT_EQ(e.cvmax(), 6.0 * R);
  EXPECT_EQ(e.debye_temperature_law(), DebyeTemperatureLaw::IntegratedGruneisen);
  EXPECT_EQ(e.thermal_pressure_reference(), ThermalPressureReference::ReferenceTemperature);

  // The Einstein form ignores a given Cvmax, valid or not.
  const auto e2 = Model::make(MieGruneisenForm::Einstein, mgo_bm3(), kTr, kTheta0, kGamma0, kQ, kN, 0.0,
                              DebyeTemperatureLaw::IntegratedGruneisen, ThermalPressureReference::ReferenceTemperature);
  ASSERT_TRUE(e2);
  EXPECT_EQ(e2->cvmax(), 6.0 * R);
}

TEST(MieGruneisenOptions, NamesRoundTrip) {
  for (auto law : {DebyeTemperatureLaw::IntegratedGruneisen, DebyeTemperatureLaw::VariableExponent})
    EXPECT_EQ(debye_temperature_law_from_name(option_name(law)), law);
  for (auto ref : {ThermalPressureReference::ReferenceTemperature, ThermalPressureReference::ReferenceIsentrope,
                   ThermalPressureReference::AbsoluteZero})
    EXPECT_EQ(thermal_pressure_reference_from_name(option_name(ref)), ref);
  EXPECT_EQ(option_name(DebyeTemperatureLaw::VariableExponent), "variable_exponent");
  EXPECT_EQ(option_name(ThermalPressureReference::ReferenceIsentrope), "reference_isentrope");
  for (std::string_view bad : {"", "Integrated_gruneisen", "integrated_gruneisen ", "reference_temperature"})
    EXPECT_FALSE(debye_temperature_law_from_name(bad)) << bad;
  for (std::string_view bad : {"", "absolute zero", "reference_isentrope\n", "integrated_gruneisen"})
    EXPECT_FALSE(thermal_pressure_reference_from_name(bad)) << bad;
  EXPECT_EQ(static_cast<int>(DebyeTemperatureLaw::IntegratedGruneisen), 0);
  EXPECT_EQ(static_cast<int>(ThermalPressureReference::ReferenceTemperature), 0);
  EXPECT_EQ(kDebyeTemperatureLawMessage, "debye_temperature_law must be 'integrated_gruneisen' or 'variable_exponent'");
  EXPECT_EQ(kThermalPressureReferenceMessage,
            "thermal_pressure_reference must be 'reference_temperature', 'reference_isentrope', or 'absolute_zero'");
}

// ---------------------------------------------------------------------------
// Grüneisen function and characteristic temperature.

TEST(MieGruneisenVolumeFunctions, ReferenceVolumeGivesTheta0AndGamma0Exactly) {
  for (const auto& [name, m] : all_variants()) {
    SCOPED_TRACE(trace(m, name));
    EXPECT_EQ(value_of(m.characteristic_temperature(kV0)), kTheta0);
    EXPECT_EQ(value_of(m.gruneisen_function(kV0)), kGamma0);
  }
}

TEST(MieGruneisenVolumeFunctions, LawsAgainstTheirClosedForms) {
  const Model integrated = debye();
  const Model variable = debye(ThermalPressureReference::ReferenceTemperature, DebyeTemperatureLaw::VariableExponent);
  const Model e = einstein();
  for (double v : {0.6, 0.9, 1.1248, 1.3}) {
    SCOPED_TRACE(v);
    const double x = v / kV0;
    const double gamma = kGamma0 * std::pow(x, kQ);
    EXPECT_NEAR(value_of(integrated.gruneisen_function(v)), gamma, 1e-14 * gamma);
    EXPECT_NEAR(value_of(thermal::gruneisen_parameter(integrated, v, 1234.0)), gamma, 1e-14 * gamma);
    const double theta_integrated = kTheta0 * std::exp((kGamma0 - gamma) / kQ);
    EXPECT_NEAR(value_of(integrated.characteristic_temperature(v)), theta_integrated, 1e-13 * theta_integrated);
    EXPECT_NEAR(value_of(e.characteristic_temperature(v)), theta_integrated, 1e-13 * theta_integrated);
    const double theta_variable = kTheta0 * std::pow(1.0 / x, gamma);
    EXPECT_NEAR(value_of(variable.characteristic_temperature(v)), theta_variable, 1e-13 * theta_variable);
    // d ln θ/d ln V = -γ for the integrated law.
    const double h = 1e-4;
    const double slope = (std::log(value_of(integrated.characteristic_temperature(v * std::exp(h)))) -
                          std::log(value_of(integrated.characteristic_temperature(v * std::exp(-h))))) /
                         (2.0 * h);
    EXPECT_NEAR(slope, -gamma, 1e-7);
  }
}

TEST(MieGruneisenVolumeFunctions, ZeroQ) {
  for (const Model& m : {debye(ThermalPressureReference::ReferenceTemperature, DebyeTemperatureLaw::IntegratedGruneisen, 0.0),
                         debye(ThermalPressureReference::ReferenceTemperature, DebyeTemperatureLaw::VariableExponent, 0.0),
                         einstein(ThermalPressureReference::ReferenceTemperature, 0.0)}) {
    for (double v : {0.5, 1.0, 1.4}) {
      EXPECT_EQ(value_of(m.gruneisen_function(v)), kGamma0);
      const double theta = kTheta0 * std::pow(kV0 / v, kGamma0);
      EXPECT_NEAR(value_of(m.characteristic_temperature(v)), theta, 1e-13 * theta);
    }
  }
}

TEST(MieGruneisenVolumeFunctions, ChecksAndNonFiniteResults) {
  const Model m = debye();
  for (double v : {0.0, -1.0, nan, inf}) {
    EXPECT_TRUE(is_error(m.characteristic_temperature(v), EosErrorKind::InvalidState, "volume",
                         "must be positive and finite"));
    EXPECT_TRUE(is_error(m.gruneisen_function(v), EosErrorKind::InvalidState, "volume"));
    EXPECT_TRUE(is_error(thermal::gruneisen_parameter(m, v, 300.0), EosErrorKind::InvalidState, "volume"));
  }
  // γ0·x^q overflows in expansion for a huge q.
  const Model steep = debye(ThermalPressureReference::ReferenceTemperature, DebyeTemperatureLaw::VariableExponent, 1e4);
  EXPECT_TRUE(is_error(steep.gruneisen_function(2.0 * kV0), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(steep.characteristic_temperature(2.0 * kV0), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(steep.thermal_pressure(2.0 * kV0, 500.0), EosErrorKind::NonFiniteResult));
}

// ---------------------------------------------------------------------------
// Energies.

TEST(MieGruneisenEnergies, DebyeAndEinsteinClosedForms) {
  const Model d = debye();
  const Model e = einstein();
  for (double v : {0.9, kV0}) {
    for (double t : {50.0, 300.0, 2000.0}) {
      SCOPED_TRACE(::testing::Message() << v << ", " << t);
      const double theta = value_of(d.characteristic_temperature(v));
      const double u = theta / t;
      const double d3 = value_of(debye_function_3(u));
      EXPECT_NEAR(value_of(d.thermal_energy(v, t)), 6.0 * R * t * d3, 1e-13 * 6.0 * R * t * d3);
      EXPECT_NEAR(value_of(d.thermal_entropy(v, t)), 2.0 * R * (4.0 * d3 - 3.0 * std::log(1.0 - std::exp(-u))),
                  1e-12 * value_of(d.thermal_entropy(v, t)));
      const double e_einstein = 6.0 * R * theta / std::expm1(u);
      EXPECT_NEAR(value_of(e.thermal_energy(v, t)), e_einstein, 1e-13 * e_einstein);
      const double s_einstein = 6.0 * R * (u / std::expm1(u) - std::log(1.0 - std::exp(-u)));
      EXPECT_NEAR(value_of(e.thermal_entropy(v, t)), s_einstein, 1e-12 * s_einstein);
    }
  }
}

TEST(MieGruneisenEnergies, HeatCapacityTendsToCvmaxAtHighTemperature) {
  const Model d = debye();
  const Model e = einstein();
  for (double v : {0.8, kV0}) {
    EXPECT_NEAR(value_of(d.molar_heat_capacity_v(v, 1e5)), 6.0 * R, 1e-5 * 6.0 * R);
    EXPECT_NEAR(value_of(e.molar_heat_capacity_v(v, 1e6)), 6.0 * R, 1e-6 * 6.0 * R);
    // Debye T³ law at low temperature: Cv = (12π⁴/5)·(n R)·(T/θ)³.
    const double theta = value_of(d.characteristic_temperature(v));
    const double t = theta / 200.0;
    const double debye_t3 = 12.0 * std::pow(M_PI, 4) / 5.0 * 2.0 * R * std::pow(t / theta, 3);
    EXPECT_NEAR(value_of(d.molar_heat_capacity_v(v, t)), debye_t3, 1e-6 * debye_t3);
  }
}

TEST(MieGruneisenEnergies, DebyeEnergiesScaleWithCvmaxEinsteinIgnoresIt) {
  const Model d = debye();
  const Model d2 = debye(ThermalPressureReference::ReferenceTemperature, DebyeTemperatureLaw::IntegratedGruneisen, kQ,
                         2.0 * 6.0 * R);
  for (double t : {100.0, 300.0, 3000.0}) {
    EXPECT_EQ(value_of(d2.thermal_energy(1.0, t)), 2.0 * value_of(d.thermal_energy(1.0, t)));
    EXPECT_EQ(value_of(d2.molar_heat_capacity_v(1.0, t)), 2.0 * value_of(d.molar_heat_capacity_v(1.0, t)));
    EXPECT_NEAR(value_of(d2.thermal_entropy(1.0, t)), 2.0 * value_of(d.thermal_entropy(1.0, t)),
                1e-15 * value_of(d2.thermal_entropy(1.0, t)));
    EXPECT_EQ(value_of(d2.thermal_pressure(1.0, t)), 2.0 * value_of(d.thermal_pressure(1.0, t)));
  }
  const Model e = einstein();
  const Model e2 = Model::make(MieGruneisenForm::Einstein, mgo_bm3(), kTr, kTheta0, kGamma0, kQ, kN, 2.0 * 6.0 * R,
                               DebyeTemperatureLaw::IntegratedGruneisen, ThermalPressureReference::ReferenceTemperature)
                       .value();
  for (double t : {100.0, 3000.0}) {
    EXPECT_EQ(value_of(e2.thermal_energy(1.0, t)), value_of(e.thermal_energy(1.0, t)));
    EXPECT_EQ(value_of(e2.molar_heat_capacity_v(1.0, t)), value_of(e.molar_heat_capacity_v(1.0, t)));
  }
}

TEST(MieGruneisenEnergies, EinsteinEnergyVanishesWithoutOverflowAtLowTemperature) {
  const Model e = einstein(ThermalPressureReference::AbsoluteZero);
  const double t = kTheta0 / 1000.0;  // θ/T = 1000 at V0
  EXPECT_EQ(value_of(e.thermal_energy(kV0, t)), 0.0);
  EXPECT_EQ(value_of(e.thermal_pressure(kV0, t)), 0.0);
  EXPECT_EQ(value_of(e.vibrational_pressure(kV0, t)), 0.0);
  EXPECT_EQ(value_of(e.thermal_entropy(kV0, t)), 0.0);
  EXPECT_EQ(value_of(e.molar_heat_capacity_v(kV0, t)), 0.0);
}

// ---------------------------------------------------------------------------
// Thermal pressure by reference.

TEST(MieGruneisenThermalPressure, ReferenceTemperatureVanishesAtTr) {
  for (const Model& m : {debye(), einstein(),
                         debye(ThermalPressureReference::ReferenceTemperature, DebyeTemperatureLaw::VariableExponent),
                         Model::make_einstein(mgo_bm3(), kTr, kTheta0, kGamma0, kQ, kN).value()}) {
    for (double v : {0.5, 0.9, kV0, 1.3}) {
      EXPECT_EQ(value_of(m.thermal_pressure(v, kTr)), 0.0) << v;
      EXPECT_EQ(value_of(thermal::pressure(m, v, kTr)), value_of(m.isothermal_model().pressure(v))) << v;
    }
  }
}

TEST(MieGruneisenThermalPressure, AbsoluteZeroIsTheVibrationalPressure) {
  for (const Model& m : {debye(ThermalPressureReference::AbsoluteZero), einstein(ThermalPressureReference::AbsoluteZero),
                         debye(ThermalPressureReference::AbsoluteZero, DebyeTemperatureLaw::VariableExponent)}) {
    for (double v : {0.9, kV0, 1.2}) {
      for (double t : {10.0, 300.0, 2500.0}) {
        EXPECT_EQ(value_of(m.thermal_pressure(v, t)), value_of(m.vibrational_pressure(v, t)));
        const double expected =
            value_of(m.gruneisen_function(v)) * value_of(m.thermal_energy(v, t)) / (10000.0 * v);
        EXPECT_NEAR(value_of(m.vibrational_pressure(v, t)), expected, 1e-15 * expected);
      }
    }
  }
}

TEST(MieGruneisenThermalPressure, ReferenceIsentropeVanishesAlongTheIsentrope) {
  for (const Model& m : {debye(ThermalPressureReference::ReferenceIsentrope),
                         debye(ThermalPressureReference::ReferenceIsentrope, DebyeTemperatureLaw::VariableExponent),
                         einstein(ThermalPressureReference::ReferenceIsentrope)}) {
    EXPECT_EQ(value_of(m.thermal_pressure(kV0, kTr)), 0.0);
    for (double v : {0.7, 0.95, 1.2}) {
      const double t_s = kTr * value_of(m.characteristic_temperature(v)) / kTheta0;
      EXPECT_EQ(value_of(m.thermal_pressure(v, t_s)), 0.0) << v;
      // Away from the isentrope: γ(E(T) - E(T_s))/(10000 V).
      const double t = 1700.0;
      const double expected = value_of(m.gruneisen_function(v)) *
                              (value_of(m.thermal_energy(v, t)) - value_of(m.thermal_energy(v, t_s))) / (10000.0 * v);
      EXPECT_NEAR(value_of(m.thermal_pressure(v, t)), expected, 1e-14 * std::fabs(expected)) << v;
    }
  }
}

TEST(MieGruneisenThermalPressure, IncrementIsMeasuredFromTrInEveryMode) {
  for (const auto& [name, m] : all_variants()) {
    SCOPED_TRACE(trace(m, name));
    for (double v : {0.8, kV0, 1.25}) {
      EXPECT_EQ(value_of(thermal::thermal_pressure_increment(m, v, kTr)), 0.0);
      for (double t : {100.0, 1000.0, 3000.0}) {
        const double expected = value_of(m.gruneisen_function(v)) *
                                (value_of(m.thermal_energy(v, t)) - value_of(m.thermal_energy(v, kTr))) / (10000.0 * v);
        EXPECT_NEAR(value_of(thermal::thermal_pressure_increment(m, v, t)), expected, 1e-12 * std::fabs(expected));
        EXPECT_NEAR(value_of(thermal::dac_thermal_pressure(m, v, t, 0.3)), 0.3 * expected, 1e-12 * std::fabs(expected));
      }
    }
  }
  // Reference temperature: the increment is the thermal pressure itself.
  const Model m = debye();
  EXPECT_EQ(value_of(m.thermal_pressure_increment(1.0, 1500.0)), value_of(m.thermal_pressure(1.0, 1500.0)));
}

TEST(MieGruneisenThermalPressure, StateChecks) {
  const std::string_view pf = "must be positive and finite";
  for (const auto& [name, m] : all_variants()) {
    SCOPED_TRACE(trace(m, name));
    // V before T in the energies and the thermal pressure...
    EXPECT_TRUE(is_error(m.thermal_pressure(0.0, 0.0), EosErrorKind::InvalidState, "volume", pf));
    EXPECT_TRUE(is_error(m.thermal_pressure(1.0, -1.0), EosErrorKind::InvalidState, "temperature", pf));
    EXPECT_TRUE(is_error(m.thermal_energy(nan, nan), EosErrorKind::InvalidState, "volume", pf));
    EXPECT_TRUE(is_error(m.thermal_entropy(1.0, inf), EosErrorKind::InvalidState, "temperature", pf));
    EXPECT_TRUE(is_error(m.thermal_helmholtz_free_energy(-1.0, 0.0), EosErrorKind::InvalidState, "volume", pf));
    EXPECT_TRUE(is_error(m.thermal_enthalpy(1.0, 0.0), EosErrorKind::InvalidState, "temperature", pf));
    EXPECT_TRUE(is_error(m.thermal_gibbs_free_energy(0.0, 300.0), EosErrorKind::InvalidState, "volume", pf));
    EXPECT_TRUE(is_error(m.vibrational_pressure(0.0, 0.0), EosErrorKind::InvalidState, "volume", pf));
    EXPECT_TRUE(is_error(m.vibrational_pressure(1.0, 0.0), EosErrorKind::InvalidState, "temperature", pf));
    EXPECT_TRUE(is_error(m.thermal_pressure_increment(1.0, 0.0), EosErrorKind::InvalidState, "temperature", pf));
    // ...but T before V in the heat capacity.
    EXPECT_TRUE(is_error(m.molar_heat_capacity_v(0.0, 0.0), EosErrorKind::InvalidState, "temperature", pf));
    EXPECT_TRUE(is_error(m.molar_heat_capacity_v(0.0, 300.0), EosErrorKind::InvalidState, "volume", pf));
    // The shifted temperature of Cv overflows.
    EXPECT_TRUE(is_error(m.molar_heat_capacity_v(1.0, std::numeric_limits<double>::max()),
                         EosErrorKind::InvalidState, "temperature", pf));
  }
}

TEST(MieGruneisenThermalPressure, IsentropeTemperatureMustBePositive) {
  // θ(V) underflows to 0 in strong expansion with a large γ0: T_s = 0.
  const Model m = Model::make_debye(mgo_bm3(), kTr, kTheta0, 400.0, 0.0, kN, std::nullopt,
                                    DebyeTemperatureLaw::IntegratedGruneisen,
                                    ThermalPressureReference::ReferenceIsentrope)
                      .value();
  ASSERT_EQ(value_of(m.characteristic_temperature(10.0 * kV0)), 0.0);
  EXPECT_TRUE(is_error(m.thermal_pressure(10.0 * kV0, 500.0), EosErrorKind::InvalidState, "temperature",
                       "must be positive and finite"));
  // With another reference the zero θ reaches D3 as its argument.
  const Model r = Model::make_debye(mgo_bm3(), kTr, kTheta0, 400.0, 0.0, kN).value();
  EXPECT_TRUE(is_error(r.thermal_pressure(10.0 * kV0, 500.0), EosErrorKind::InvalidState, "Debye-function argument"));
}

// ---------------------------------------------------------------------------
// Identities of the generic operations.

TEST(MieGruneisenIdentities, AllVariants) {
  const testing::ThermalState states[] = {{0.85, 300.0}, {1.0, 1000.0}, {1.1248, 2000.0}, {1.15, 600.0},
                                          {0.95, 150.0}, {0.7, 3500.0}, {1.2, 1500.0}};
  for (const auto& [name, m] : all_variants()) {
    SCOPED_TRACE(trace(m, name));
    testing::expect_identities(m, states);
  }
}

TEST(MieGruneisenIdentities, TemperatureAtTheReferencePressureIsTr) {
  for (const auto& [name, m] : all_variants()) {
    SCOPED_TRACE(trace(m, name));
    const double v = 1.0;
    const double p = value_of(m.isothermal_model().pressure(v)) + value_of(m.thermal_pressure(v, kTr));
    EXPECT_EQ(value_of(thermal::temperature(m, p, v)), kTr);
  }
}

TEST(MieGruneisenIdentities, AdiabaticExceedsIsothermalBulkModulus) {
  const Model m = debye();
  const double ks = value_of(thermal::adiabatic_bulk_modulus(m, 1.1, 1500.0));
  const double kt = value_of(thermal::bulk_modulus(m, 1.1, 1500.0, 1e-6));
  const double cp = value_of(thermal::molar_heat_capacity_p(m, 1.1, 1500.0));
  const double cv = value_of(m.molar_heat_capacity_v(1.1, 1500.0));
  EXPECT_GT(ks, kt);
  EXPECT_GT(cp, cv);
  EXPECT_NEAR(ks, kt * cp / cv, 1e-13 * ks);
}

TEST(MieGruneisenIdentities, MgOAtHighTemperatureIsPlausible) {
  // MgO at ambient pressure and 300 K: α ≈ 3e-5/K, K_S slightly above K_T.
  const Model m = debye();
  const double alpha = value_of(thermal::thermal_expansivity(m, kV0, kTr, 1e-5));
  EXPECT_GT(alpha, 2e-5);
  EXPECT_LT(alpha, 4.5e-5);
  // Thermal expansion at 0 GPa: V(0, 1500 K) > V0.
  const double v_hot = value_of(thermal::volume(m, 0.0, 1500.0));
  EXPECT_GT(v_hot, kV0 * 1.03);
  EXPECT_LT(v_hot, kV0 * 1.08);
}

}  // namespace
}  // namespace quorvel
