// Thermodynamic identities every thermal model must satisfy, as tables of
// named checks shared by all model tests. Derivatives on the right-hand sides
// are independent five-point differences with steps unlike the library's.
//
//   thermal (all models)  K_T = -V ∂P/∂V,  αK_T = (∂P/∂T)_V,  β_T·K_T = 1,
//                         T(P(V, T), V) = T,  V(P(V, T), T) = V,
//                         ΔP_th(V, Tr) = 0,  V_dac(P, T, 0) = V(P, T)
//   caloric               Cp - Cv = 10000·T·V·α²·K_T,  K_S = K_T·Cp/Cv
//   energies              F = E - T·S,  S = -∂F/∂T,  Cv = ∂E/∂T = T·∂S/∂T,
//                         H = E + 10000·V·P_vib,  G = F + 10000·V·P_vib
//   Grüneisen function    10000·V·α·K_T/Cv = γ(V), independent of T
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <string_view>

#include "thermal/thermal_eos.hpp"

namespace quorvel::testing {

struct ThermalState {
  double v, t;
};

// (-f(x + 2h) + 8f(x + h) - 8f(x - h) + f(x - 2h))/(12h); NaN if any point fails.
template <class F>
double five_point_derivative(F&& f, double x, double h) {
  const EosResult a = f(x + 2.0 * h), b = f(x + h), c = f(x - h), d = f(x - 2.0 * h);
  if (!a || !b || !c || !d) return std::numeric_limits<double>::quiet_NaN();
  return (-*a + 8.0 * *b - 8.0 * *c + *d) / (12.0 * h);
}

inline ::testing::AssertionResult agree(const EosResult& actual, double expected, double relative,
                                        double absolute = 0.0) {
  if (!actual) return ::testing::AssertionFailure() << "error '" << actual.error().display() << "'";
  const double tolerance = std::max(relative * std::fabs(expected), absolute);
  if (!(std::fabs(*actual - expected) <= tolerance))
    return ::testing::AssertionFailure() << "got " << *actual << ", expected " << expected << " (difference "
                                         << *actual - expected << ", tolerance " << tolerance << ")";
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult agree(const EosResult& actual, const EosResult& expected, double relative,
                                        double absolute = 0.0) {
  if (!expected) return ::testing::AssertionFailure() << "reference failed: '" << expected.error().display() << "'";
  return agree(actual, *expected, relative, absolute);
}

template <class M>
struct Identity {
  std::string_view name;
  ::testing::AssertionResult (*check)(const M&, ThermalState);
};

template <ThermalEos M>
inline const Identity<M> thermal_identities[] = {
    {"K_T = -V dP/dV",
     [](const M& m, ThermalState s) {
       const double dpdv = five_point_derivative([&](double v) { return thermal::pressure(m, v, s.t); }, s.v, 1e-3 * s.v);
       return agree(thermal::bulk_modulus(m, s.v, s.t, 1e-6), -s.v * dpdv, 1e-6);
     }},
    {"alpha K_T = dP/dT at fixed V",
     [](const M& m, ThermalState s) {
       const double dpdt = five_point_derivative([&](double t) { return thermal::pressure(m, s.v, t); }, s.t, 1e-3 * s.t);
       const EosResult alpha = thermal::thermal_expansivity(m, s.v, s.t, 1e-5);
       const EosResult k = thermal::bulk_modulus(m, s.v, s.t, 1e-6);
       if (!alpha || !k) return ::testing::AssertionFailure() << "alpha or K_T failed";
       return agree(*alpha * *k, dpdt, 1e-6, 1e-12);
     }},
    {"compressibility = 1/K_T",
     [](const M& m, ThermalState s) {
       const EosResult k = thermal::bulk_modulus(m, s.v, s.t, 1e-6);
       if (!k) return ::testing::AssertionFailure() << "K_T failed";
       return agree(thermal::isothermal_compressibility(m, s.v, s.t), 1.0 / *k, 1e-15);
     }},
    {"temperature(pressure(V, T), V) = T",
     [](const M& m, ThermalState s) {
       const EosResult p = thermal::pressure(m, s.v, s.t);
       if (!p) return ::testing::AssertionFailure() << "pressure failed";
       return agree(thermal::temperature(m, *p, s.v), s.t, 1e-8);
     }},
    {"volume(pressure(V, T), T) = V",
     [](const M& m, ThermalState s) {
       const EosResult p = thermal::pressure(m, s.v, s.t);
       if (!p) return ::testing::AssertionFailure() << "pressure failed";
       return agree(thermal::volume(m, *p, s.t), s.v, 1e-10);
     }},
    {"thermal pressure increment vanishes at Tr",
     [](const M& m, ThermalState s) {
       return agree(thermal::thermal_pressure_increment(m, s.v, thermal::reference_temperature(m)), 0.0, 0.0, 1e-12);
     }},
    {"confined volume with f_dac = 0 is the volume",
     [](const M& m, ThermalState s) {
       const EosResult p = thermal::pressure(m, s.v, s.t);
       if (!p) return ::testing::AssertionFailure() << "pressure failed";
       return agree(thermal::volume_with_dac_confinement(m, *p, s.t, 0.0), thermal::volume(m, *p, s.t), 0.0);
     }},
};

template <CaloricEos M>
inline const Identity<M> caloric_identities[] = {
    {"Cp - Cv = 10000 T V alpha^2 K_T",
     [](const M& m, ThermalState s) {
       const EosResult cv = thermal::molar_heat_capacity_v(m, s.v, s.t);
       const EosResult alpha = thermal::thermal_expansivity(m, s.v, s.t, 1e-5);
       const EosResult k = thermal::bulk_modulus(m, s.v, s.t, 1e-6);
       if (!cv || !alpha || !k) return ::testing::AssertionFailure() << "Cv, alpha or K_T failed";
       return agree(thermal::molar_heat_capacity_p(m, s.v, s.t), *cv + 10000.0 * s.t * s.v * *alpha * *alpha * *k,
                    1e-13);
     }},
    {"K_S = K_T Cp/Cv",
     [](const M& m, ThermalState s) {
       const EosResult k = thermal::bulk_modulus(m, s.v, s.t, 1e-6);
       const EosResult cp = thermal::molar_heat_capacity_p(m, s.v, s.t);
       const EosResult cv = thermal::molar_heat_capacity_v(m, s.v, s.t);
       if (!k || !cp || !cv) return ::testing::AssertionFailure() << "K_T, Cp or Cv failed";
       return agree(thermal::adiabatic_bulk_modulus(m, s.v, s.t), *k * *cp / *cv, 1e-14);
     }},
};

// Models with thermal energy, entropy, free energies and vibrational pressure.
template <class M>
concept HasThermalEnergies = requires(const M& m, double v, double t) {
  m.thermal_energy(v, t);
  m.thermal_entropy(v, t);
  m.thermal_helmholtz_free_energy(v, t);
  m.thermal_enthalpy(v, t);
  m.thermal_gibbs_free_energy(v, t);
  m.vibrational_pressure(v, t);
};

template <CaloricEos M>
  requires HasThermalEnergies<M>
inline const Identity<M> energy_identities[] = {
    {"F = E - T S",
     [](const M& m, ThermalState s) {
       const EosResult e = m.thermal_energy(s.v, s.t), entropy = m.thermal_entropy(s.v, s.t);
       if (!e || !entropy) return ::testing::AssertionFailure() << "E or S failed";
       return agree(m.thermal_helmholtz_free_energy(s.v, s.t), *e - s.t * *entropy, 1e-15, 1e-12);
     }},
    {"S = -dF/dT",
     [](const M& m, ThermalState s) {
       const double dfdt = five_point_derivative([&](double t) { return m.thermal_helmholtz_free_energy(s.v, t); },
                                                 s.t, 1e-3 * s.t);
       return agree(m.thermal_entropy(s.v, s.t), -dfdt, 1e-7, 1e-9);
     }},
    {"Cv = dE/dT",
     [](const M& m, ThermalState s) {
       const double dedt = five_point_derivative([&](double t) { return m.thermal_energy(s.v, t); }, s.t, 1e-3 * s.t);
       return agree(thermal::molar_heat_capacity_v(m, s.v, s.t), dedt, 1e-7, 1e-9);
     }},
    {"Cv = T dS/dT",
     [](const M& m, ThermalState s) {
       const double dsdt = five_point_derivative([&](double t) { return m.thermal_entropy(s.v, t); }, s.t, 1e-3 * s.t);
       return agree(thermal::molar_heat_capacity_v(m, s.v, s.t), s.t * dsdt, 1e-7, 1e-9);
     }},
    {"H = E + 10000 V P_vib",
     [](const M& m, ThermalState s) {
       const EosResult e = m.thermal_energy(s.v, s.t), p = m.vibrational_pressure(s.v, s.t);
       if (!e || !p) return ::testing::AssertionFailure() << "E or P_vib failed";
       return agree(m.thermal_enthalpy(s.v, s.t), *e + s.v * *p * 10000.0, 1e-15, 1e-12);
     }},
    {"G = F + 10000 V P_vib",
     [](const M& m, ThermalState s) {
       const EosResult f = m.thermal_helmholtz_free_energy(s.v, s.t), p = m.vibrational_pressure(s.v, s.t);
       if (!f || !p) return ::testing::AssertionFailure() << "F or P_vib failed";
       return agree(m.thermal_gibbs_free_energy(s.v, s.t), *f + s.v * *p * 10000.0, 1e-15, 1e-12);
     }},
};

template <CaloricEos M>
  requires HasGruneisenFunction<M>
inline const Identity<M> gruneisen_identities[] = {
    {"10000 V alpha K_T / Cv = gamma(V)",
     [](const M& m, ThermalState s) {
       return agree(thermal::generic::gruneisen_parameter(m, s.v, s.t), m.gruneisen_function(s.v), 1e-6);
     }},
    {"gruneisen_parameter is gamma(V), independent of T",
     [](const M& m, ThermalState s) {
       return agree(thermal::gruneisen_parameter(m, s.v, s.t), thermal::gruneisen_parameter(m, s.v, 2.0 * s.t), 0.0);
     }},
};

// Every table that applies to M, at every state.
template <ThermalEos M>
void expect_identities(const M& m, std::span<const ThermalState> states) {
  auto run = [&](const auto& table) {
    for (const ThermalState& s : states) {
      for (const auto& identity : table) {
        SCOPED_TRACE(::testing::Message() << identity.name << " at V = " << s.v << ", T = " << s.t);
        EXPECT_TRUE(identity.check(m, s));
      }
    }
  };
  run(thermal_identities<M>);
  if constexpr (CaloricEos<M>) run(caloric_identities<M>);
  if constexpr (CaloricEos<M> && HasThermalEnergies<M>) run(energy_identities<M>);
  if constexpr (CaloricEos<M> && HasGruneisenFunction<M>) run(gruneisen_identities<M>);
}

}  // namespace quorvel::testing
