// The thermal equation-of-state interfaces and every operation derived from a
// model's thermal pressure, written once for all thermal models.
//
// A thermal model splits the pressure into an isothermal (reference-isotherm)
// part and its own thermal part:
//
//   P(V, T) = P_iso(V) + P_th(V, T)
//
// Units: T in K; energies in J/mol; heat capacities and entropies in
// J/(mol K); P in GPa and V in J/bar per mole, so that P·V·10000 is J/mol.
//
// Derived quantities (relative step h; dV = h·V; dT = min(h·T, 0.49·T)):
//
//   K_T  = -V (P(V+dV) - P(V-dV)) / (2 dV)                     bulk_modulus
//   β_T  = 1/K_T(h = 1e-6)                      isothermal_compressibility
//   α    = ((P(T+dT) - P(T-dT)) / (2 dT)) / K_T(h = 1e-6)  thermal_expansivity
//   Cp   = Cv + 10000 T V α² K_T        (α with h = 1e-5, K_T with h = 1e-6)
//   K_S  = K_T Cp / Cv
//   γ_th = 10000 V α K_T / Cv                   (thermodynamic Grüneisen)
//   ΔP_dac = f_dac · (P_th(V, T) - P_th(V, Tr))          dac_thermal_pressure
//
// Inverse questions use the guarded root solvers (root/root_solvers.hpp):
// volume(P, T) solves P(V, T) = P from V0 of the isothermal part;
// temperature(P, V) solves P_th(V, T) = P - P_iso(V) from Tr;
// volume_with_dac_confinement solves P(V, T) - ΔP_dac(V, T) = P_cold from V0.
//
// Shape of the code. A model is any type satisfying `ThermalEos`: it has
// `thermal_pressure(V, T)`, `isothermal_model()` (an `IsothermalEos`) and
// `reference_temperature()`. Every operation is a free function template
// `thermal::op(model, ...)`; when the model has a member of the same name
// and arguments, that member replaces the generic definition (detected at
// compile time, no virtual call). The generic definitions themselves live in
// `thermal::generic` and always reach other operations through the
// dispatching `thermal::op`, so a replaced bulk modulus, for example, is the
// one the expansivity divides by. Caloric models (`CaloricEos`) add
// `molar_heat_capacity_v(V, T)`.
//
// Every operation checks its state arguments first, returns the first error
// unchanged, tests the intermediate sums named above and its result for
// finiteness (NonFiniteResult), and allocates nothing except the temperature
// search's short bracket list.
#pragma once

#include <algorithm>
#include <concepts>
#include <optional>
#include <string_view>
#include <type_traits>

#include "error/eos_error.hpp"
#include "isothermal/isothermal_eos.hpp"
#include "root/root_solvers.hpp"

namespace quorvel {

// All thermal models: a thermal pressure over an isothermal model and Tr.
template <class M>
concept ThermalEos = requires(const M& m, double v, double t) {
  { m.thermal_pressure(v, t) } -> std::same_as<EosResult>;
  { m.reference_temperature() } -> std::convertible_to<double>;
  m.isothermal_model();
  requires IsothermalEos<std::remove_cvref_t<decltype(m.isothermal_model())>>;
};

// Thermal models that also know their isochoric heat capacity.
template <class M>
concept CaloricEos = ThermalEos<M> && requires(const M& m, double v, double t) {
  { m.molar_heat_capacity_v(v, t) } -> std::same_as<EosResult>;
};

// Models with a volume-dependent Grüneisen function of their own, which then
// answers "gruneisen_parameter" instead of the thermodynamic definition.
template <class M>
concept HasGruneisenFunction = requires(const M& m, double v) {
  { m.gruneisen_function(v) } -> std::same_as<EosResult>;
};

namespace thermal {

// ---------------------------------------------------------------------------
// Fixed constants of the thermal operations.

inline constexpr double kEnergyPerPressureVolume = 10000.0;  // GPa · J/bar -> J
inline constexpr double kBulkModulusStep = 1e-6;             // relative step in V
inline constexpr double kExpansivityStep = 1e-5;             // relative step in T
inline constexpr double kMaxTemperatureStep = 0.49;          // dT <= 0.49 T
inline constexpr std::string_view kUnitIntervalMessage = "must lie in [0, 1)";

// ---------------------------------------------------------------------------
// State-variable checks shared by every thermal operation and model.

constexpr std::optional<EosError> check_volume(double volume) noexcept {
  if (!is_positive_finite(volume)) return EosError::invalid_state("volume", msg::positive_finite);
  return std::nullopt;
}
constexpr std::optional<EosError> check_temperature(double temperature) noexcept {
  if (!is_positive_finite(temperature)) return EosError::invalid_state("temperature", msg::positive_finite);
  return std::nullopt;
}
constexpr std::optional<EosError> check_pressure(double pressure) noexcept {
  if (!is_finite(pressure)) return EosError::invalid_state("pressure", msg::finite);
  return std::nullopt;
}
constexpr std::optional<EosError> check_relative_step(double relative_step) noexcept {
  if (!is_positive_finite(relative_step)) return EosError::invalid_state("relative_step", msg::positive_finite);
  return std::nullopt;
}
// Finite first, then 0 <= f_dac < 1.
constexpr std::optional<EosError> check_f_dac(double f_dac) noexcept {
  if (!is_finite(f_dac)) return EosError::invalid_state("f_dac", msg::finite);
  if (!(f_dac >= 0.0 && f_dac < 1.0)) return EosError::invalid_state("f_dac", kUnitIntervalMessage);
  return std::nullopt;
}

// ---------------------------------------------------------------------------
// Access to the parts every model has.

template <ThermalEos M>
constexpr double reference_temperature(const M& m) noexcept {
  return static_cast<double>(m.reference_temperature());
}
// V0 of the isothermal part: the start of every volume search.
template <ThermalEos M>
constexpr double reference_volume(const M& m) noexcept {
  return static_cast<double>(m.isothermal_model().v0());
}
template <ThermalEos M>
EosResult isothermal_pressure(const M& m, double volume) noexcept {
  return m.isothermal_model().pressure(volume);
}

// ---------------------------------------------------------------------------
// The operations (dispatching: a model member of the same name wins).

template <ThermalEos M>
EosResult thermal_pressure(const M& m, double volume, double temperature) noexcept;
template <ThermalEos M>
EosResult pressure(const M& m, double volume, double temperature) noexcept;
template <ThermalEos M>
EosResult thermal_pressure_increment(const M& m, double volume, double temperature) noexcept;
template <ThermalEos M>
EosResult temperature(const M& m, double pressure, double volume) noexcept;
template <ThermalEos M>
EosResult volume(const M& m, double pressure, double temperature) noexcept;
template <ThermalEos M>
EosResult volume_with_dac_confinement(const M& m, double cold_pressure, double temperature, double f_dac) noexcept;
template <ThermalEos M>
EosResult bulk_modulus(const M& m, double volume, double temperature, double relative_step) noexcept;
template <ThermalEos M>
EosResult isothermal_compressibility(const M& m, double volume, double temperature) noexcept;
template <ThermalEos M>
EosResult thermal_expansivity(const M& m, double volume, double temperature, double relative_step) noexcept;
template <ThermalEos M>
EosResult dac_thermal_pressure(const M& m, double volume, double temperature, double f_dac) noexcept;
template <CaloricEos M>
EosResult molar_heat_capacity_v(const M& m, double volume, double temperature) noexcept;
template <CaloricEos M>
EosResult molar_heat_capacity_p(const M& m, double volume, double temperature) noexcept;
template <CaloricEos M>
EosResult adiabatic_bulk_modulus(const M& m, double volume, double temperature) noexcept;
// The answer to "gruneisen_parameter": a member gruneisen_parameter(V, T) if
// the model has one, else its own Grüneisen function of V, else the
// thermodynamic definition (caloric models).
template <ThermalEos M>
  requires CaloricEos<M> || HasGruneisenFunction<M>
EosResult gruneisen_parameter(const M& m, double volume, double temperature) noexcept;

// ---------------------------------------------------------------------------
// Generic definitions, shared by every model that does not replace them.

namespace generic {

// P_th(V, T) + P_iso(V), thermal part first (it validates V and T).
template <ThermalEos M>
EosResult pressure(const M& m, double volume, double temperature) noexcept {
  const EosResult p_th = thermal::thermal_pressure(m, volume, temperature);
  if (!p_th) return p_th;
  const EosResult p_iso = thermal::isothermal_pressure(m, volume);
  if (!p_iso) return p_iso;
  return guard(*p_th + *p_iso);
}

// The thermal pressure itself: right for models whose P_th vanishes at Tr.
template <ThermalEos M>
EosResult thermal_pressure_increment(const M& m, double volume, double temperature) noexcept {
  return thermal::thermal_pressure(m, volume, temperature);
}

// T with P_th(V, T) = P - P_iso(V), searched from Tr.
template <ThermalEos M>
EosResult temperature(const M& m, double pressure, double volume) noexcept {
  if (auto e = check_pressure(pressure)) return std::unexpected(*e);
  if (auto e = check_volume(volume)) return std::unexpected(*e);
  const EosResult p_iso = thermal::isothermal_pressure(m, volume);
  if (!p_iso) return p_iso;
  const double target = pressure - *p_iso;
  return root::solve_temperature_function(
      [&m, volume](double t) { return thermal::thermal_pressure(m, volume, t); }, target,
      thermal::reference_temperature(m));
}

// V with P(V, T) = P, searched from V0 of the isothermal part.
template <ThermalEos M>
EosResult volume(const M& m, double pressure, double temperature) noexcept {
  if (auto e = check_temperature(temperature)) return std::unexpected(*e);
  return root::solve_volume_function([&m, temperature](double v) { return thermal::pressure(m, v, temperature); },
                                     pressure, thermal::reference_volume(m));
}

// V with P(V, T) - f_dac·ΔP_th(V, T) = cold_pressure, searched from V0.
template <ThermalEos M>
EosResult volume_with_dac_confinement(const M& m, double cold_pressure, double temperature, double f_dac) noexcept {
  if (auto e = check_temperature(temperature)) return std::unexpected(*e);
  if (auto e = check_f_dac(f_dac)) return std::unexpected(*e);
  auto confined = [&m, temperature, f_dac](double v) -> EosResult {
    const EosResult total = thermal::pressure(m, v, temperature);
    if (!total) return total;
    if (!is_finite(*total)) return std::unexpected(EosError::non_finite_result());
    const EosResult dac = thermal::dac_thermal_pressure(m, v, temperature, f_dac);
    if (!dac) return dac;
    return guard(*total - *dac);
  };
  return root::solve_volume_function(confined, cold_pressure, thermal::reference_volume(m));
}

// K_T = -V dP/dV by a central difference with dV = h·V.
template <ThermalEos M>
EosResult bulk_modulus(const M& m, double volume, double temperature, double relative_step) noexcept {
  if (auto e = check_volume(volume)) return std::unexpected(*e);
  if (auto e = check_temperature(temperature)) return std::unexpected(*e);
  if (auto e = check_relative_step(relative_step)) return std::unexpected(*e);
  const double dv = relative_step * volume;
  auto total = [&m, temperature](double v) -> EosResult {
    const EosResult p_th = thermal::thermal_pressure(m, v, temperature);
    if (!p_th) return p_th;
    const EosResult p_iso = thermal::isothermal_pressure(m, v);
    if (!p_iso) return p_iso;
    return guard(*p_th + *p_iso);
  };
  const EosResult p_plus = total(volume + dv);
  if (!p_plus) return p_plus;
  const EosResult p_minus = total(volume - dv);
  if (!p_minus) return p_minus;
  return guard(-volume * (*p_plus - *p_minus) / (2.0 * dv));
}

// 1/K_T with K_T at relative step 1e-6.
template <ThermalEos M>
EosResult isothermal_compressibility(const M& m, double volume, double temperature) noexcept {
  const EosResult k = thermal::bulk_modulus(m, volume, temperature, kBulkModulusStep);
  if (!k) return k;
  return guard(1.0 / *k);
}

// α = (∂P/∂T)_V / K_T, ∂P/∂T by a central difference with dT = min(h·T, 0.49·T)
// and K_T always at relative step 1e-6.
template <ThermalEos M>
EosResult thermal_expansivity(const M& m, double volume, double temperature, double relative_step) noexcept {
  if (auto e = check_volume(volume)) return std::unexpected(*e);
  if (auto e = check_temperature(temperature)) return std::unexpected(*e);
  if (auto e = check_relative_step(relative_step)) return std::unexpected(*e);
  const double dt = std::min(relative_step * temperature, kMaxTemperatureStep * temperature);
  auto total = [&m, volume](double t) -> EosResult {
    const EosResult p_th = thermal::thermal_pressure(m, volume, t);
    if (!p_th) return p_th;
    const EosResult p_iso = thermal::isothermal_pressure(m, volume);
    if (!p_iso) return p_iso;
    return guard(*p_th + *p_iso);
  };
  const EosResult p_plus = total(temperature + dt);
  if (!p_plus) return p_plus;
  const EosResult p_minus = total(temperature - dt);
  if (!p_minus) return p_minus;
  const EosResult k = thermal::bulk_modulus(m, volume, temperature, kBulkModulusStep);
  if (!k) return k;
  return guard(((*p_plus - *p_minus) / (2.0 * dt)) / *k);
}

// f_dac times the thermal pressure increment.
template <ThermalEos M>
EosResult dac_thermal_pressure(const M& m, double volume, double temperature, double f_dac) noexcept {
  if (auto e = check_f_dac(f_dac)) return std::unexpected(*e);
  const EosResult increment = thermal::thermal_pressure_increment(m, volume, temperature);
  if (!increment) return increment;
  return guard(f_dac * *increment);
}

// Cp = Cv + 10000·T·V·α²·K_T.
template <CaloricEos M>
EosResult molar_heat_capacity_p(const M& m, double volume, double temperature) noexcept {
  const EosResult cv = thermal::molar_heat_capacity_v(m, volume, temperature);
  if (!cv) return cv;
  const EosResult alpha = thermal::thermal_expansivity(m, volume, temperature, kExpansivityStep);
  if (!alpha) return alpha;
  const EosResult k = thermal::bulk_modulus(m, volume, temperature, kBulkModulusStep);
  if (!k) return k;
  return guard(*cv + kEnergyPerPressureVolume * temperature * volume * (*alpha * *alpha) * *k);
}

// K_S = K_T·Cp/Cv.
template <CaloricEos M>
EosResult adiabatic_bulk_modulus(const M& m, double volume, double temperature) noexcept {
  const EosResult k = thermal::bulk_modulus(m, volume, temperature, kBulkModulusStep);
  if (!k) return k;
  const EosResult cv = thermal::molar_heat_capacity_v(m, volume, temperature);
  if (!cv) return cv;
  const EosResult cp = thermal::molar_heat_capacity_p(m, volume, temperature);
  if (!cp) return cp;
  return guard(*k * *cp / *cv);
}

// Thermodynamic Grüneisen parameter γ = 10000·V·α·K_T/Cv.
template <CaloricEos M>
EosResult gruneisen_parameter(const M& m, double volume, double temperature) noexcept {
  const EosResult alpha = thermal::thermal_expansivity(m, volume, temperature, kExpansivityStep);
  if (!alpha) return alpha;
  const EosResult k = thermal::bulk_modulus(m, volume, temperature, kBulkModulusStep);
  if (!k) return k;
  const EosResult cv = thermal::molar_heat_capacity_v(m, volume, temperature);
  if (!cv) return cv;
  return guard(kEnergyPerPressureVolume * volume * *alpha * *k / *cv);
}

}  // namespace generic

// ---------------------------------------------------------------------------
// Dispatch.

template <ThermalEos M>
EosResult thermal_pressure(const M& m, double volume, double temperature) noexcept {
  return m.thermal_pressure(volume, temperature);
}

template <ThermalEos M>
EosResult pressure(const M& m, double volume, double temperature) noexcept {
  if constexpr (requires { m.pressure(volume, temperature); })
    return m.pressure(volume, temperature);
  else
    return generic::pressure(m, volume, temperature);
}

template <ThermalEos M>
EosResult thermal_pressure_increment(const M& m, double volume, double temperature) noexcept {
  if constexpr (requires { m.thermal_pressure_increment(volume, temperature); })
    return m.thermal_pressure_increment(volume, temperature);
  else
    return generic::thermal_pressure_increment(m, volume, temperature);
}

template <ThermalEos M>
EosResult temperature(const M& m, double pressure, double volume) noexcept {
  if constexpr (requires { m.temperature(pressure, volume); })
    return m.temperature(pressure, volume);
  else
    return generic::temperature(m, pressure, volume);
}

template <ThermalEos M>
EosResult volume(const M& m, double pressure, double temperature) noexcept {
  if constexpr (requires { m.volume(pressure, temperature); })
    return m.volume(pressure, temperature);
  else
    return generic::volume(m, pressure, temperature);
}

template <ThermalEos M>
EosResult volume_with_dac_confinement(const M& m, double cold_pressure, double temperature, double f_dac) noexcept {
  if constexpr (requires { m.volume_with_dac_confinement(cold_pressure, temperature, f_dac); })
    return m.volume_with_dac_confinement(cold_pressure, temperature, f_dac);
  else
    return generic::volume_with_dac_confinement(m, cold_pressure, temperature, f_dac);
}

template <ThermalEos M>
EosResult bulk_modulus(const M& m, double volume, double temperature, double relative_step) noexcept {
  if constexpr (requires { m.bulk_modulus(volume, temperature, relative_step); })
    return m.bulk_modulus(volume, temperature, relative_step);
  else
    return generic::bulk_modulus(m, volume, temperature, relative_step);
}

template <ThermalEos M>
EosResult isothermal_compressibility(const M& m, double volume, double temperature) noexcept {
  if constexpr (requires { m.isothermal_compressibility(volume, temperature); })
    return m.isothermal_compressibility(volume, temperature);
  else
    return generic::isothermal_compressibility(m, volume, temperature);
}

template <ThermalEos M>
EosResult thermal_expansivity(const M& m, double volume, double temperature, double relative_step) noexcept {
  if constexpr (requires { m.thermal_expansivity(volume, temperature, relative_step); })
    return m.thermal_expansivity(volume, temperature, relative_step);
  else
    return generic::thermal_expansivity(m, volume, temperature, relative_step);
}

template <ThermalEos M>
EosResult dac_thermal_pressure(const M& m, double volume, double temperature, double f_dac) noexcept {
  if constexpr (requires { m.dac_thermal_pressure(volume, temperature, f_dac); })
    return m.dac_thermal_pressure(volume, temperature, f_dac);
  else
    return generic::dac_thermal_pressure(m, volume, temperature, f_dac);
}

template <CaloricEos M>
EosResult molar_heat_capacity_v(const M& m, double volume, double temperature) noexcept {
  return m.molar_heat_capacity_v(volume, temperature);
}

template <CaloricEos M>
EosResult molar_heat_capacity_p(const M& m, double volume, double temperature) noexcept {
  if constexpr (requires { m.molar_heat_capacity_p(volume, temperature); })
    return m.molar_heat_capacity_p(volume, temperature);
  else
    return generic::molar_heat_capacity_p(m, volume, temperature);
}

template <CaloricEos M>
EosResult adiabatic_bulk_modulus(const M& m, double volume, double temperature) noexcept {
  if constexpr (requires { m.adiabatic_bulk_modulus(volume, temperature); })
    return m.adiabatic_bulk_modulus(volume, temperature);
  else
    return generic::adiabatic_bulk_modulus(m, volume, temperature);
}

template <ThermalEos M>
  requires CaloricEos<M> || HasGruneisenFunction<M>
EosResult gruneisen_parameter(const M& m, double volume, double temperature) noexcept {
  if constexpr (requires { m.gruneisen_parameter(volume, temperature); })
    return m.gruneisen_parameter(volume, temperature);
  else if constexpr (HasGruneisenFunction<M>)
    return m.gruneisen_function(volume);
  else
    return generic::gruneisen_parameter(m, volume, temperature);
}

}  // namespace thermal
}  // namespace quorvel
