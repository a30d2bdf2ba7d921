// The closed set of thermal models selectable at run time, and the selection
// of a thermal quantity by its name.
//
// The core knows each model and its operations but no quantity names; this
// header maps a name and two numbers onto one of those operations.
//
// Organisation of the dispatch. A quantity is a (name, function) pair; names
// are grouped into small constexpr tables by family:
//
//   common               the eight names every thermal model answers
//   caloric              heat capacities and the adiabatic bulk modulus
//   gruneisen            "gruneisen_parameter"
//   energy               thermal energy (two spellings), entropy, enthalpy,
//                        Gibbs free energy
//   helmholtz            "thermal_helmholtz_free_energy"
//   vibrational          "vibrational_pressure"
//   characteristic       "characteristic_temperature" (θ of the volume)
//
// Each model type lists the tables it accepts (`AcceptedQuantities<M>`), and
// one generic loop looks a name up in the tables of the held model. Names are
// compared exactly: whole text, byte for byte, case-sensitive. An unknown or
// unavailable name is not an EosError but its own error value, so that an
// array evaluation raises it only when an element is actually evaluated.
#pragma once

#include <nanobind/nanobind.h>

#include <array>
#include <cstddef>
#include <expected>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "error/eos_error.hpp"
#include "lib/errors.hpp"
#include "lib/rt_model.hpp"
#include "thermal/asymptotic_power_law_mie_gruneisen_debye.hpp"
#include "thermal/mie_gruneisen.hpp"
#include "thermal/thermal_eos.hpp"

namespace quorvel::py {

// ---------------------------------------------------------------------------
// Errors of a named evaluation.

// A quantity name the held model does not answer. The view refers to the
// caller's text, which outlives the evaluation.
struct UnsupportedQuantity {
  std::string_view name;
};

using ThermalEvaluationError = std::variant<EosError, UnsupportedQuantity>;
using ThermalResult = std::expected<double, ThermalEvaluationError>;

// UnsupportedOperationError "quantity '<name>' is unavailable for this
// thermal model", the name inserted unchanged.
nb::object unsupported_quantity_error(std::string_view name);

[[noreturn]] void raise(const UnsupportedQuantity& error);
[[noreturn]] void raise(const ThermalEvaluationError& error);

// ---------------------------------------------------------------------------
// Quantity tables.

template <class M>
struct Quantity {
  std::string_view name;
  EosResult (*eval)(const M&, double, double) noexcept;
};

// The eight names of every thermal model. "volume" takes (P, T),
// "temperature" takes (P, V); all others (V, T).
template <class M>
inline constexpr Quantity<M> kCommonQuantities[] = {
    {"pressure", [](const M& m, double v, double t) noexcept { return thermal::pressure(m, v, t); }},
    {"volume", [](const M& m, double p, double t) noexcept { return thermal::volume(m, p, t); }},
    {"temperature", [](const M& m, double p, double v) noexcept { return thermal::temperature(m, p, v); }},
    {"bulk_modulus",
     [](const M& m, double v, double t) noexcept { return thermal::bulk_modulus(m, v, t, thermal::kBulkModulusStep); }},
    {"isothermal_compressibility",
     [](const M& m, double v, double t) noexcept { return thermal::isothermal_compressibility(m, v, t); }},
    {"thermal_expansivity",
     [](const M& m, double v, double t) noexcept {
       return thermal::thermal_expansivity(m, v, t, thermal::kExpansivityStep);
     }},
    {"thermal_pressure", [](const M& m, double v, double t) noexcept { return thermal::thermal_pressure(m, v, t); }},
    {"thermal_pressure_increment",
     [](const M& m, double v, double t) noexcept { return thermal::thermal_pressure_increment(m, v, t); }},
};

// Caloric models: Cv, Cp (each under two names) and K_S.
template <class M>
inline constexpr Quantity<M> kCaloricQuantities[] = {
    {"molar_heat_capacity_v",
     [](const M& m, double v, double t) noexcept { return thermal::molar_heat_capacity_v(m, v, t); }},
    {"heat_capacity_v",
     [](const M& m, double v, double t) noexcept { return thermal::molar_heat_capacity_v(m, v, t); }},
    {"molar_heat_capacity_p",
     [](const M& m, double v, double t) noexcept { return thermal::molar_heat_capacity_p(m, v, t); }},
    {"heat_capacity_p",
     [](const M& m, double v, double t) noexcept { return thermal::molar_heat_capacity_p(m, v, t); }},
    {"adiabatic_bulk_modulus",
     [](const M& m, double v, double t) noexcept { return thermal::adiabatic_bulk_modulus(m, v, t); }},
};

// The model's own Grüneisen function of V where it has one, else the
// thermodynamic γ = 10000·V·α·K_T/Cv.
template <class M>
inline constexpr Quantity<M> kGruneisenQuantity[] = {
    {"gruneisen_parameter",
     [](const M& m, double v, double t) noexcept { return thermal::gruneisen_parameter(m, v, t); }},
};

template <class M>
inline constexpr Quantity<M> kEnergyQuantities[] = {
    {"thermal_energy", [](const M& m, double v, double t) noexcept { return m.thermal_energy(v, t); }},
    {"thermal_internal_energy", [](const M& m, double v, double t) noexcept { return m.thermal_energy(v, t); }},
    {"thermal_entropy", [](const M& m, double v, double t) noexcept { return m.thermal_entropy(v, t); }},
    {"thermal_enthalpy", [](const M& m, double v, double t) noexcept { return m.thermal_enthalpy(v, t); }},
    {"thermal_gibbs_free_energy",
     [](const M& m, double v, double t) noexcept { return m.thermal_gibbs_free_energy(v, t); }},
};

template <class M>
inline constexpr Quantity<M> kHelmholtzQuantity[] = {
    {"thermal_helmholtz_free_energy",
     [](const M& m, double v, double t) noexcept { return m.thermal_helmholtz_free_energy(v, t); }},
};

template <class M>
inline constexpr Quantity<M> kVibrationalPressureQuantity[] = {
    {"vibrational_pressure", [](const M& m, double v, double t) noexcept { return m.vibrational_pressure(v, t); }},
};

// θ(V); the second argument is ignored.
template <class M>
inline constexpr Quantity<M> kCharacteristicTemperatureQuantity[] = {
    {"characteristic_temperature",
     [](const M& m, double v, double) noexcept { return m.characteristic_temperature(v); }},
};

template <class M>
using QuantityTable = std::span<const Quantity<M>>;

// The quasi-harmonic Mie–Grüneisen family (Debye, Einstein, asymptotic
// power-law Debye) answers every family above.
template <class M>
inline constexpr QuantityTable<M> kMieGruneisenFamilyTables[] = {
    kCommonQuantities<M>, kCaloricQuantities<M>,           kGruneisenQuantity<M>,
    kEnergyQuantities<M>, kHelmholtzQuantity<M>,           kVibrationalPressureQuantity<M>,
    kCharacteristicTemperatureQuantity<M>,
};

// Per model type: `tables`, the quantity tables the model accepts.
template <class M>
struct AcceptedQuantities;

template <>
struct AcceptedQuantities<MieGruneisen<RtModel>> {
  static constexpr std::span<const QuantityTable<MieGruneisen<RtModel>>> tables =
      kMieGruneisenFamilyTables<MieGruneisen<RtModel>>;
};

template <>
struct AcceptedQuantities<AsymptoticPowerLawMieGruneisenDebye<RtModel>> {
  static constexpr std::span<const QuantityTable<AsymptoticPowerLawMieGruneisenDebye<RtModel>>> tables =
      kMieGruneisenFamilyTables<AsymptoticPowerLawMieGruneisenDebye<RtModel>>;
};

// The entry of `name` among the names model type M accepts, or nullptr.
template <class M>
constexpr const Quantity<M>* find_quantity(std::string_view name) noexcept {
  for (const QuantityTable<M>& table : AcceptedQuantities<M>::tables)
    for (const Quantity<M>& quantity : table)
      if (quantity.name.size() == name.size() && quantity.name == name) return &quantity;
  return nullptr;
}

// True when no name is accepted twice by model type M.
template <class M>
constexpr bool accepted_names_are_unique() noexcept {
  std::size_t count = 0;
  for (const QuantityTable<M>& table : AcceptedQuantities<M>::tables) {
    for (const Quantity<M>& quantity : table) {
      ++count;
      if (find_quantity<M>(quantity.name) != &quantity) return false;
    }
  }
  return count > 0;
}

// One named evaluation on a concrete model.
template <class M>
ThermalResult evaluate_quantity(const M& model, std::string_view name, double first, double second) noexcept {
  const Quantity<M>* quantity = find_quantity<M>(name);
  if (!quantity) return std::unexpected(ThermalEvaluationError(UnsupportedQuantity{name}));
  const EosResult result = quantity->eval(model, first, second);
  if (!result) return std::unexpected(ThermalEvaluationError(result.error()));
  return *result;
}

// ---------------------------------------------------------------------------
// The model set.

// The Debye and Einstein forms of MieGruneisen are one alternative with a
// form switch inside the model.
using ThermalModelVariant = std::variant<AsymptoticPowerLawMieGruneisenDebye<RtModel>,  // APL
                                         MieGruneisen<RtModel>>;                       // MGD, MGE

class ThermalModel {
 public:
  template <class M>
    requires std::is_constructible_v<ThermalModelVariant, M>
  ThermalModel(M model) noexcept : model_(std::move(model)) {}  // NOLINT: implicit by design

  // The display name of the held model ("MieGruneisenDebye", ...).
  std::string_view model_name() const noexcept {
    return std::visit([](const auto& m) { return std::string_view(m.model_name()); }, model_);
  }

  // The quantity `name` at (first, second), or an error value.
  ThermalResult evaluate_result(std::string_view name, double first, double second) const noexcept {
    return std::visit([&](const auto& m) { return evaluate_quantity(m, name, first, second); }, model_);
  }
  // The same, failures raised as Python exceptions.
  double evaluate(std::string_view name, double first, double second) const {
    return value_or_raise(evaluate_result(name, first, second));
  }

  // Volume at which P(V, T) - f_dac·ΔP_th(V, T) equals cold_pressure.
  EosResult volume_with_dac_confinement_result(double cold_pressure, double temperature,
                                               double f_dac) const noexcept {
    return std::visit(
        [&](const auto& m) { return thermal::volume_with_dac_confinement(m, cold_pressure, temperature, f_dac); },
        model_);
  }
  double volume_with_dac_confinement(double cold_pressure, double temperature, double f_dac) const {
    return value_or_raise(volume_with_dac_confinement_result(cold_pressure, temperature, f_dac));
  }

  // Total pressure P_iso(V) + P_th(V, T); errors are returned, not raised.
  EosResult pressure(double volume, double temperature) const noexcept {
    return std::visit([&](const auto& m) { return thermal::pressure(m, volume, temperature); }, model_);
  }

  const ThermalModelVariant& variant() const noexcept { return model_; }
  template <class M>
  const M* get_if() const noexcept {
    return std::get_if<M>(&model_);
  }

 private:
  ThermalModelVariant model_;
};

}  // namespace quorvel::py
