#include "lib/hugoniot_eos.hpp"

#include <nanobind/stl/string.h>
#include <nanobind/stl/string_view.h>

#include <string>

#include "lib/array_map.hpp"
#include "lib/errors.hpp"
#include "lib/gc_slots.hpp"

namespace quorvel::py {

namespace {

using namespace nb::literals;

static_assert(find_quantity(kHugoniotQuantities, "volume")->argument == HugoniotArgument::Pressure);
static_assert(find_quantity(kHugoniotQuantities, "Pressure") == nullptr);
static_assert(std::size(kHugoniotQuantities) == 10);

}  // namespace

void export_hugoniot_eos(nb::module_& m) {
  nb::class_<HugoniotEos> cls(m, "HugoniotEos", "Private native representation of a built-in shock Hugoniot.",
                          nb::type_slots(kValueTypeSlots));

  cls.def_static(
         "linear_us_up",
         [](double v0, double rho0, double c0, double s, double p0) {
           return HugoniotEos{value_or_raise(LinearUsUpHugoniot::make(v0, rho0, c0, s, p0))};
         },
         "v0"_a, "rho0"_a, "c0"_a, "s"_a, "p0"_a, nb::sig("def linear_us_up(v0, rho0, c0, s, p0)"))
      .def(
          "evaluate_scalar",
          [](const HugoniotEos& self, std::string_view quantity, double value) {
            return value_or_raise(
                evaluate_quantity(self.model, find_quantity(kHugoniotQuantities, quantity), value));
          },
          "quantity"_a, "value"_a, nb::sig("def evaluate_scalar(self, quantity, value)"))
      .def(
          "evaluate_array",
          [](const HugoniotEos& self, std::string_view quantity, const ArrayIn& values) {
            // Looked up once; an unknown name fails at the first evaluated
            // element, so an empty array succeeds whatever the name.
            const HugoniotQuantity* q = find_quantity(kHugoniotQuantities, quantity);
            return map_array(values, kClosedFormThreshold,
                             [&model = self.model, q](double v) { return evaluate_quantity(model, q, v); });
          },
          "quantity"_a, "values"_a.noconvert(), nb::sig("def evaluate_array(self, quantity, values)"))
      .def("__repr__", [](const HugoniotEos& self) {
        std::string text = "HugoniotEos(";
        text += self.model.debug_string();
        text += ")";
        return text;
      });
}

}  // namespace quorvel::py
