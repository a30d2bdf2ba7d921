#include "lib/thermal_eos.hpp"

#include <nanobind/stl/optional.h>
#include <nanobind/stl/string.h>
#include <nanobind/stl/string_view.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "lib/array_map.hpp"
#include "lib/errors.hpp"
#include "lib/gc_slots.hpp"
#include "lib/rt_eos.hpp"

namespace quorvel::py {

namespace {

using namespace nb::literals;

using MieGruneisenModel = MieGruneisen<RtModel>;
using AsymptoticModel = AsymptoticPowerLawMieGruneisenDebye<RtModel>;

// The tables are data: check at compile time what each model answers.
static_assert(accepted_names_are_unique<MieGruneisenModel>());
static_assert(accepted_names_are_unique<AsymptoticModel>());
static_assert(find_quantity<MieGruneisenModel>("pressure") != nullptr);
static_assert(find_quantity<MieGruneisenModel>("heat_capacity_v") != nullptr);
static_assert(find_quantity<AsymptoticModel>("characteristic_temperature") != nullptr);
static_assert(find_quantity<MieGruneisenModel>("Pressure") == nullptr);
static_assert(find_quantity<MieGruneisenModel>("pressure ") == nullptr);
static_assert(find_quantity<MieGruneisenModel>("") == nullptr);
static_assert(find_quantity<MieGruneisenModel>("heat_capacity") == nullptr);
static_assert(find_quantity<AsymptoticModel>("entropy") == nullptr);

constexpr std::size_t accepted_count(std::span<const QuantityTable<MieGruneisenModel>> tables) {
  std::size_t n = 0;
  for (const auto& table : tables) n += table.size();
  return n;
}
static_assert(accepted_count(AcceptedQuantities<MieGruneisenModel>::tables) == 22);

// Option texts are tested before any number, the law first.
DebyeTemperatureLaw parse_debye_temperature_law(std::string_view text) {
  const std::optional<DebyeTemperatureLaw> law = debye_temperature_law_from_name(text);
  if (!law) raise(python_validation_error(kDebyeTemperatureLawMessage));
  return *law;
}
ThermalPressureReference parse_thermal_pressure_reference(std::string_view text) {
  const std::optional<ThermalPressureReference> reference = thermal_pressure_reference_from_name(text);
  if (!reference) raise(python_validation_error(kThermalPressureReferenceMessage));
  return *reference;
}

}  // namespace

nb::object unsupported_quantity_error(std::string_view name) {
  std::string message = "quantity '";
  message += name;
  message += "' is unavailable for this thermal model";
  return python_unsupported_error(message);
}

void raise(const UnsupportedQuantity& error) { raise(unsupported_quantity_error(error.name)); }

void raise(const ThermalEvaluationError& error) {
  std::visit([](const auto& e) { raise(e); }, error);
  std::abort();  // not reached: every alternative raises
}

void export_thermal_eos(nb::module_& m) {
  nb::class_<ThermalEos> cls(m, "ThermalEos", "Private native representation of a built-in thermal EOS.",
                          nb::type_slots(kValueTypeSlots));

  cls.def_static(
         "mie_gruneisen_debye",
         [](const RtEos& rt_eos, double tr, double theta0, double gamma0, double q, double n,
            std::string_view debye_temperature_law, std::string_view thermal_pressure_reference,
            std::optional<double> cvmax) {
           const DebyeTemperatureLaw law = parse_debye_temperature_law(debye_temperature_law);
           const ThermalPressureReference reference = parse_thermal_pressure_reference(thermal_pressure_reference);
           return ThermalEos{
               value_or_raise(MieGruneisenModel::make_debye(rt_eos.model, tr, theta0, gamma0, q, n, cvmax, law,
                                                            reference))};
         },
         "rt_eos"_a, "tr"_a, "theta0"_a, "gamma0"_a, "q"_a, "n"_a, "debye_temperature_law"_a = "integrated_gruneisen",
         "thermal_pressure_reference"_a = "reference_temperature", "cvmax"_a.none() = nb::none(),
         nb::sig("def mie_gruneisen_debye(rt_eos, tr, theta0, gamma0, q, n, "
                 "debye_temperature_law=\"integrated_gruneisen\", "
                 "thermal_pressure_reference=\"reference_temperature\", cvmax=None)"))
      .def_static(
          "mie_gruneisen_einstein",
          [](const RtEos& rt_eos, double tr, double theta0, double gamma0, double q, double n) {
            return ThermalEos{value_or_raise(MieGruneisenModel::make_einstein(rt_eos.model, tr, theta0, gamma0, q, n))};
          },
          "rt_eos"_a, "tr"_a, "theta0"_a, "gamma0"_a, "q"_a, "n"_a,
          nb::sig("def mie_gruneisen_einstein(rt_eos, tr, theta0, gamma0, q, n)"))
      .def_static(
          "asymptotic_power_law_mie_gruneisen_debye",
          [](const RtEos& rt_eos, double tr, double theta0, double gamma0, double a, double b, double n) {
            return ThermalEos{value_or_raise(AsymptoticModel::make(rt_eos.model, tr, theta0, gamma0, a, b, n))};
          },
          "rt_eos"_a, "tr"_a, "theta0"_a, "gamma0"_a, "a"_a, "b"_a, "n"_a,
          nb::sig("def asymptotic_power_law_mie_gruneisen_debye(rt_eos, tr, theta0, gamma0, a, b, n)"));

  cls.def_prop_ro("model_name", [](const ThermalEos& self) { return self.model.model_name(); })
      .def(
          "evaluate_scalar",
          [](const ThermalEos& self, std::string_view quantity, double first, double second) {
            return self.model.evaluate(quantity, first, second);
          },
          "quantity"_a, "first"_a, "second"_a, nb::sig("def evaluate_scalar(self, quantity, first, second)"))
      .def(
          "evaluate_array",
          [](const ThermalEos& self, std::string_view quantity, const ArrayIn& first, const ArrayIn& second) {
            // One private copy of the name for the whole call; the lookup is
            // repeated per element, so an unavailable name surfaces only when
            // an element is evaluated (an empty array always succeeds).
            const std::string name(quantity);
            return map_array2(first, second, kThermalThreshold,
                              [&model = self.model, view = std::string_view(name)](double a, double b) {
                                return model.evaluate_result(view, a, b);
                              });
          },
          "quantity"_a, "first"_a.noconvert(), "second"_a.noconvert(),
          nb::sig("def evaluate_array(self, quantity, first, second)"))
      .def(
          "volume_with_dac_confinement_scalar",
          [](const ThermalEos& self, double cold_pressure, double temperature, double f_dac) {
            return self.model.volume_with_dac_confinement(cold_pressure, temperature, f_dac);
          },
          "cold_pressure"_a, "temperature"_a, "f_dac"_a,
          nb::sig("def volume_with_dac_confinement_scalar(self, cold_pressure, temperature, f_dac)"))
      .def(
          "volume_with_dac_confinement_array",
          [](const ThermalEos& self, const ArrayIn& cold_pressures, const ArrayIn& temperatures, double f_dac) {
            return map_array2(cold_pressures, temperatures, kThermalThreshold,
                              [&model = self.model, f_dac](double p, double t) {
                                return model.volume_with_dac_confinement_result(p, t, f_dac);
                              });
          },
          "cold_pressures"_a.noconvert(), "temperatures"_a.noconvert(), "f_dac"_a,
          nb::sig("def volume_with_dac_confinement_array(self, cold_pressures, temperatures, f_dac)"))
      .def("__repr__", [](const ThermalEos& self) {
        std::string text = "ThermalEos(model_name='";
        text += self.model.model_name();
        text += "')";
        return text;
      });
}

}  // namespace quorvel::py
