// The generic thermal operations, on fake models whose thermal pressure is a
// known formula and which record every (V, T) at which it is evaluated.
#include "thermal/thermal_eos.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "isothermal/bm3.hpp"
#include "support/expect_error.hpp"

namespace quorvel {
namespace {

using testing::is_error;
using testing::value_of;

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct Call {
  double v, t;
  friend bool operator==(const Call&, const Call&) = default;
};

BM3 mgo_bm3() { return BM3::make(1.1248, 160.0, 4.0).value(); }

// P_th = formula(V, T), after the standard checks (V then T). The formula's
// value is returned as is, so a fake can hand out non-finite values.
struct FakeThermal {
  BM3 iso = mgo_bm3();
  double tr = 300.0;
  double (*formula)(double v, double t) = [](double, double t) { return 0.004 * (t - 300.0); };
  mutable std::vector<Call> calls;

  const BM3& isothermal_model() const noexcept { return iso; }
  double reference_temperature() const noexcept { return tr; }
  EosResult thermal_pressure(double v, double t) const noexcept {
    calls.push_back({v, t});
    if (auto e = thermal::check_volume(v)) return std::unexpected(*e);
    if (auto e = thermal::check_temperature(t)) return std::unexpected(*e);
    return formula(v, t);
  }
};

// Adds a constant heat capacity.
struct FakeCaloric : FakeThermal {
  double cv = 40.0;
  EosResult molar_heat_capacity_v(double v, double t) const noexcept {
    if (auto e = thermal::check_temperature(t)) return std::unexpected(*e);
    if (auto e = thermal::check_volume(v)) return std::unexpected(*e);
    return cv;
  }
};

// Replaces operations by members; the generic ones must pick them up.
struct FakeWithMembers : FakeCaloric {
  double k = 123.0;
  double increment = -7.0;
  EosResult bulk_modulus(double, double, double) const noexcept { return k; }
  EosResult thermal_pressure_increment(double, double) const noexcept { return increment; }
  EosResult gruneisen_function(double v) const noexcept { return 2.0 * v; }
};

// Fails with a fixed error.
struct FakeFailing : FakeThermal {
  EosResult thermal_pressure(double, double) const noexcept { return std::unexpected(EosError::convergence_failed()); }
};

static_assert(ThermalEos<FakeThermal>);
static_assert(!CaloricEos<FakeThermal>);
static_assert(CaloricEos<FakeCaloric>);
static_assert(HasGruneisenFunction<FakeWithMembers>);
static_assert(!ThermalEos<BM3>);

// The total pressure the way the generic derivatives form it.
double total(const FakeThermal& m, double v, double t) {
  return value_of(m.thermal_pressure(v, t)) + value_of(m.iso.pressure(v));
}

// ---------------------------------------------------------------------------

TEST(ThermalGenericPressure, PressureIsThermalPlusIsothermal) {
  const FakeThermal m;
  for (double v : {0.9, 1.1248, 1.2}) {
    for (double t : {100.0, 300.0, 2000.0}) {
      EXPECT_EQ(value_of(thermal::pressure(m, v, t)), value_of(m.thermal_pressure(v, t)) + value_of(m.iso.pressure(v)));
    }
  }
  EXPECT_EQ(value_of(thermal::thermal_pressure_increment(m, 1.0, 500.0)), value_of(m.thermal_pressure(1.0, 500.0)));
}

TEST(ThermalGenericPressure, ThermalPartIsEvaluatedFirstAndErrorsPassUnchanged) {
  const FakeThermal m;
  EXPECT_TRUE(is_error(thermal::pressure(m, -1.0, 0.0), EosErrorKind::InvalidState, "volume"));
  EXPECT_TRUE(is_error(thermal::pressure(m, 1.0, nan), EosErrorKind::InvalidState, "temperature"));
  const FakeFailing failing;
  const EosError expected = EosError::convergence_failed();
  EXPECT_EQ(thermal::pressure(failing, 1.0, 300.0).error(), expected);
  EXPECT_EQ(thermal::bulk_modulus(failing, 1.0, 300.0, 1e-6).error(), expected);
  EXPECT_EQ(thermal::thermal_expansivity(failing, 1.0, 300.0, 1e-5).error(), expected);
  EXPECT_EQ(thermal::isothermal_compressibility(failing, 1.0, 300.0).error(), expected);
  EXPECT_EQ(thermal::dac_thermal_pressure(failing, 1.0, 300.0, 0.5).error(), expected);
  EXPECT_EQ(thermal::volume(failing, 1.0, 300.0).error(), expected);
  EXPECT_EQ(thermal::temperature(failing, 1.0, 1.0).error(), expected);
  EXPECT_EQ(thermal::volume_with_dac_confinement(failing, 1.0, 300.0, 0.5).error(), expected);
}

TEST(ThermalGenericPressure, NonFiniteSumsAreNonFiniteResults) {
  FakeThermal m;
  m.formula = [](double, double) { return inf; };
  EXPECT_TRUE(is_error(thermal::pressure(m, 1.0, 300.0), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(thermal::bulk_modulus(m, 1.0, 300.0, 1e-6), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(thermal::thermal_expansivity(m, 1.0, 300.0, 1e-5), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(thermal::dac_thermal_pressure(m, 1.0, 300.0, 0.5), EosErrorKind::NonFiniteResult));
  // Only the lower point of the volume difference is non-finite.
  m.formula = [](double v, double) { return v < 1.0 ? nan : 0.0; };
  EXPECT_TRUE(is_error(thermal::bulk_modulus(m, 1.0, 300.0, 1e-6), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(thermal::pressure(m, 0.5, 300.0), EosErrorKind::NonFiniteResult));
}

// ---------------------------------------------------------------------------

struct StepCheckCase {
  std::string_view name;
  double v, t, h;
  std::string_view field;
  std::string_view message;
};

TEST(ThermalBulkModulusAndExpansivity, CheckOrder) {
  const StepCheckCase cases[] = {
      {"all invalid: volume first", 0.0, 0.0, 0.0, "volume", "must be positive and finite"},
      {"negative volume", -1.0, 300.0, 1e-6, "volume", "must be positive and finite"},
      {"NaN volume", nan, 300.0, 1e-6, "volume", "must be positive and finite"},
      {"temperature before step", 1.0, 0.0, 0.0, "temperature", "must be positive and finite"},
      {"infinite temperature", 1.0, inf, 1e-6, "temperature", "must be positive and finite"},
      {"zero step", 1.0, 300.0, 0.0, "relative_step", "must be positive and finite"},
      {"negative step", 1.0, 300.0, -1e-6, "relative_step", "must be positive and finite"},
      {"NaN step", 1.0, 300.0, nan, "relative_step", "must be positive and finite"},
      {"infinite step", 1.0, 300.0, inf, "relative_step", "must be positive and finite"},
  };
  const FakeThermal m;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m.calls.clear();
    EXPECT_TRUE(is_error(thermal::bulk_modulus(m, c.v, c.t, c.h), EosErrorKind::InvalidState, c.field, c.message));
    EXPECT_TRUE(
        is_error(thermal::thermal_expansivity(m, c.v, c.t, c.h), EosErrorKind::InvalidState, c.field, c.message));
    EXPECT_TRUE(m.calls.empty());
  }
}

TEST(ThermalBulkModulus, StepOfOneOrMoreFailsAtTheLowerVolume) {
  const FakeThermal m;
  for (double h : {1.0, 1.5, 1e3}) {
    SCOPED_TRACE(h);
    m.calls.clear();
    EXPECT_TRUE(is_error(thermal::bulk_modulus(m, 1.0, 300.0, h), EosErrorKind::InvalidState, "volume",
                         "must be positive and finite"));
    ASSERT_EQ(m.calls.size(), 2u);
    EXPECT_EQ(m.calls[0].v, 1.0 + h);
    EXPECT_LE(m.calls[1].v, 0.0);
  }
}

TEST(ThermalBulkModulus, CentralDifferenceInVolume) {
  const FakeThermal m;
  const double v = 1.05, t = 900.0;
  for (double h : {1e-6, 1e-4, 0.3}) {
    SCOPED_TRACE(h);
    m.calls.clear();
    const double dv = h * v;
    const double k = value_of(thermal::bulk_modulus(m, v, t, h));
    EXPECT_EQ(m.calls, (std::vector<Call>{{v + dv, t}, {v - dv, t}}));
    EXPECT_EQ(k, -v * (total(m, v + dv, t) - total(m, v - dv, t)) / (2.0 * dv));
  }
  // The fake's thermal pressure does not depend on V, so K_T is the BM3 K.
  EXPECT_NEAR(value_of(thermal::bulk_modulus(m, v, t, 1e-6)), value_of(m.iso.bulk_modulus(v)),
              1e-8 * value_of(m.iso.bulk_modulus(v)));
}

TEST(ThermalIsothermalCompressibility, IsTheReciprocalOfKTAtStep1e6) {
  const FakeThermal m;
  EXPECT_EQ(value_of(thermal::isothermal_compressibility(m, 1.0, 700.0)),
            1.0 / value_of(thermal::bulk_modulus(m, 1.0, 700.0, 1e-6)));
  FakeWithMembers zero;
  zero.k = 0.0;
  EXPECT_TRUE(is_error(thermal::isothermal_compressibility(zero, 1.0, 700.0), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(thermal::isothermal_compressibility(m, -1.0, 700.0), EosErrorKind::InvalidState, "volume"));
}

struct ExpansivityStepCase {
  double h;
  double expected_dt_fraction;
};

TEST(ThermalExpansivity, TemperatureStepAndBulkModulusStep) {
  const ExpansivityStepCase cases[] = {
      {1e-5, 1e-5},
      {1e-3, 1e-3},
      {0.3, 0.3},
      {0.49, 0.49},
      {0.5, 0.49},  // capped so that T - dT >= 0.51 T
      {5.0, 0.49},
  };
  const FakeThermal m;
  const double v = 1.1, t = 1500.0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.h);
    m.calls.clear();
    const double alpha = value_of(thermal::thermal_expansivity(m, v, t, c.h));
    const double dt = std::min(c.h * t, 0.49 * t);
    EXPECT_EQ(dt, c.expected_dt_fraction * t);
    const double dv = 1e-6 * v;  // always 1e-6, whatever h is
    EXPECT_EQ(m.calls, (std::vector<Call>{{v, t + dt}, {v, t - dt}, {v + dv, t}, {v - dv, t}}));
    const double k = value_of(thermal::bulk_modulus(m, v, t, 1e-6));
    EXPECT_EQ(alpha, ((total(m, v, t + dt) - total(m, v, t - dt)) / (2.0 * dt)) / k);
    EXPECT_NEAR(alpha, 0.004 / k, 1e-9 * 0.004 / k);  // P_th is linear in T
  }
}

TEST(ThermalExpansivity, DividesByTheModelsOwnBulkModulus) {
  const FakeWithMembers m;
  EXPECT_NEAR(value_of(thermal::thermal_expansivity(m, 1.0, 500.0, 1e-5)), 0.004 / 123.0, 1e-10);
}

// ---------------------------------------------------------------------------

TEST(ThermalDacThermalPressure, FractionChecksAndValue) {
  const FakeThermal m;
  const double increment = value_of(m.thermal_pressure(1.0, 800.0));
  EXPECT_EQ(value_of(thermal::dac_thermal_pressure(m, 1.0, 800.0, 0.0)), 0.0);
  EXPECT_EQ(value_of(thermal::dac_thermal_pressure(m, 1.0, 800.0, 0.25)), 0.25 * increment);
  EXPECT_EQ(value_of(thermal::dac_thermal_pressure(m, 1.0, 800.0, std::nextafter(1.0, 0.0))),
            std::nextafter(1.0, 0.0) * increment);
  for (double f : {nan, inf, -inf}) {
    m.calls.clear();
    EXPECT_TRUE(
        is_error(thermal::dac_thermal_pressure(m, 1.0, 800.0, f), EosErrorKind::InvalidState, "f_dac", "must be finite"));
    EXPECT_TRUE(m.calls.empty());
  }
  for (double f : {1.0, 2.0, -0.1, -1e-300}) {
    EXPECT_TRUE(is_error(thermal::dac_thermal_pressure(m, 1.0, 800.0, f), EosErrorKind::InvalidState, "f_dac",
                         "must lie in [0, 1)"));
  }
  // f_dac is checked before the state (which the increment checks).
  EXPECT_TRUE(is_error(thermal::dac_thermal_pressure(m, -1.0, 800.0, 1.0), EosErrorKind::InvalidState, "f_dac"));
  EXPECT_TRUE(is_error(thermal::dac_thermal_pressure(m, -1.0, 800.0, 0.5), EosErrorKind::InvalidState, "volume"));
}

TEST(ThermalDacThermalPressure, UsesTheModelsIncrement) {
  const FakeWithMembers m;
  EXPECT_EQ(value_of(thermal::dac_thermal_pressure(m, 1.0, 800.0, 0.5)), 0.5 * -7.0);
}

// ---------------------------------------------------------------------------

TEST(ThermalVolume, ChecksTemperatureThenPressure) {
  const FakeThermal m;
  EXPECT_TRUE(is_error(thermal::volume(m, nan, 0.0), EosErrorKind::InvalidState, "temperature",
                       "must be positive and finite"));
  EXPECT_TRUE(is_error(thermal::volume(m, inf, 300.0), EosErrorKind::InvalidState, "pressure", "must be finite"));
  EXPECT_TRUE(m.calls.empty());
}

TEST(ThermalVolume, StartsAtV0AndRoundTrips) {
  const FakeThermal m;
  // At Tr the fake's thermal pressure is 0, so P = 0 is met at V0 at once.
  EXPECT_EQ(value_of(thermal::volume(m, 0.0, 300.0)), 1.1248);
  EXPECT_EQ(m.calls.size(), 1u);
  for (double v : {0.8, 1.0, 1.2}) {
    for (double t : {100.0, 1000.0}) {
      const double p = value_of(thermal::pressure(m, v, t));
      EXPECT_NEAR(value_of(thermal::volume(m, p, t)), v, 1e-11 * v);
    }
  }
}

TEST(ThermalTemperature, ChecksPressureThenVolume) {
  const FakeThermal m;
  EXPECT_TRUE(is_error(thermal::temperature(m, inf, -1.0), EosErrorKind::InvalidState, "pressure", "must be finite"));
  EXPECT_TRUE(is_error(thermal::temperature(m, nan, 1.0), EosErrorKind::InvalidState, "pressure", "must be finite"));
  EXPECT_TRUE(is_error(thermal::temperature(m, 5.0, -1.0), EosErrorKind::InvalidState, "volume",
                       "must be positive and finite"));
  EXPECT_TRUE(m.calls.empty());
}

TEST(ThermalTemperature, StartsAtTrAndRoundTrips) {
  const FakeThermal m;
  const double v = 1.0;
  const double p_at_tr = value_of(m.iso.pressure(v)) + value_of(m.thermal_pressure(v, 300.0));
  m.calls.clear();
  EXPECT_EQ(value_of(thermal::temperature(m, p_at_tr, v)), 300.0);
  EXPECT_EQ(m.calls, (std::vector<Call>{{v, 300.0}}));
  for (double t : {10.0, 250.0, 3000.0, 1e5}) {
    const double p = value_of(thermal::pressure(m, v, t));
    EXPECT_NEAR(value_of(thermal::temperature(m, p, v)), t, 1e-9 * t) << t;
  }
  // Below -0.004·Tr the linear thermal pressure cannot go.
  EXPECT_TRUE(is_error(thermal::temperature(m, value_of(m.iso.pressure(v)) - 1.3, v),
                       EosErrorKind::OutsideInvertibleRange));
}

TEST(ThermalVolumeWithDacConfinement, ChecksTemperatureThenFraction) {
  const FakeThermal m;
  EXPECT_TRUE(is_error(thermal::volume_with_dac_confinement(m, 1.0, 0.0, 2.0), EosErrorKind::InvalidState,
                       "temperature"));
  EXPECT_TRUE(is_error(thermal::volume_with_dac_confinement(m, 1.0, 300.0, nan), EosErrorKind::InvalidState, "f_dac",
                       "must be finite"));
  EXPECT_TRUE(is_error(thermal::volume_with_dac_confinement(m, 1.0, 300.0, 1.0), EosErrorKind::InvalidState, "f_dac",
                       "must lie in [0, 1)"));
  EXPECT_TRUE(is_error(thermal::volume_with_dac_confinement(m, nan, 300.0, 0.5), EosErrorKind::InvalidState,
                       "pressure", "must be finite"));
  EXPECT_TRUE(m.calls.empty());
}

TEST(ThermalVolumeWithDacConfinement, ZeroFractionIsTheVolumeAndOtherFractionsSolveTheReducedPressure) {
  const FakeThermal m;
  for (double p : {-2.0, 0.0, 15.0, 80.0}) {
    for (double t : {200.0, 2500.0}) {
      SCOPED_TRACE(::testing::Message() << p << " GPa, " << t << " K");
      EXPECT_EQ(value_of(thermal::volume_with_dac_confinement(m, p, t, 0.0)), value_of(thermal::volume(m, p, t)));
      const double v = value_of(thermal::volume_with_dac_confinement(m, p, t, 0.6));
      const double reduced =
          value_of(thermal::pressure(m, v, t)) - value_of(thermal::dac_thermal_pressure(m, v, t, 0.6));
      EXPECT_NEAR(reduced, p, 1e-8 * std::max(std::fabs(p), 1.0));
    }
  }
}

// ---------------------------------------------------------------------------

TEST(ThermalCaloricOperations, FormulasFromCvAlphaAndKT) {
  const FakeCaloric m;
  const double v = 1.0, t = 1200.0;
  const double alpha = value_of(thermal::thermal_expansivity(m, v, t, 1e-5));
  const double k = value_of(thermal::bulk_modulus(m, v, t, 1e-6));
  const double cp = value_of(thermal::molar_heat_capacity_p(m, v, t));
  EXPECT_EQ(cp, 40.0 + 10000.0 * t * v * (alpha * alpha) * k);
  EXPECT_EQ(value_of(thermal::adiabatic_bulk_modulus(m, v, t)), k * cp / 40.0);
  EXPECT_EQ(value_of(thermal::gruneisen_parameter(m, v, t)), 10000.0 * v * alpha * k / 40.0);
  EXPECT_EQ(value_of(thermal::molar_heat_capacity_v(m, v, t)), 40.0);
}

TEST(ThermalCaloricOperations, ErrorsAndNonFiniteResults) {
  FakeCaloric m;
  EXPECT_TRUE(is_error(thermal::molar_heat_capacity_p(m, 1.0, 0.0), EosErrorKind::InvalidState, "temperature"));
  EXPECT_TRUE(is_error(thermal::adiabatic_bulk_modulus(m, 0.0, 300.0), EosErrorKind::InvalidState, "volume"));
  EXPECT_TRUE(is_error(thermal::gruneisen_parameter(m, 0.0, 300.0), EosErrorKind::InvalidState, "volume"));
  m.cv = 0.0;
  EXPECT_TRUE(is_error(thermal::adiabatic_bulk_modulus(m, 1.0, 300.0), EosErrorKind::NonFiniteResult));
  EXPECT_TRUE(is_error(thermal::gruneisen_parameter(m, 1.0, 300.0), EosErrorKind::NonFiniteResult));
}

TEST(ThermalCaloricOperations, OwnGruneisenFunctionAnswersGruneisenParameter) {
  const FakeWithMembers m;
  EXPECT_EQ(value_of(thermal::gruneisen_parameter(m, 1.5, 300.0)), 3.0);
  EXPECT_EQ(value_of(thermal::gruneisen_parameter(m, 1.5, nan)), 3.0);
  // The thermodynamic definition stays reachable.
  EXPECT_NE(value_of(thermal::generic::gruneisen_parameter(m, 1.5, 300.0)), 3.0);
}

TEST(ThermalAccessors, ReferenceStateOfTheModel) {
  const FakeThermal m;
  EXPECT_EQ(thermal::reference_temperature(m), 300.0);
  EXPECT_EQ(thermal::reference_volume(m), 1.1248);
  EXPECT_EQ(value_of(thermal::isothermal_pressure(m, 1.1248)), 0.0);
}

}  // namespace
}  // namespace quorvel
