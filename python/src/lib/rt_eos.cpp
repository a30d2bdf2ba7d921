#include "lib/rt_eos.hpp"

#include <string>

#include "isothermal/block_evaluation.hpp"
#include "lib/array_map.hpp"
#include "lib/errors.hpp"
#include "lib/gc_slots.hpp"

namespace quorvel::py {

namespace {

using namespace nb::literals;

constexpr std::string_view kDerivativeUnsupported = "bulk-modulus derivative is only defined for Holzapfel";

// A static factory forwarding its doubles to M::make.
template <class M, class... D>
auto factory(EosExpected<M> (*make)(D...)) {
  return [make](D... args) { return RtEos{value_or_raise(make(args...))}; };
}

// Maps an operation of the concrete model over an array: the variant is
// dispatched once per call, not once per element. Models that expose the
// formula alone get the vectorised block evaluation too.
template <class Op, class Block>
nb::object map_model(const RtModel& model, const ArrayIn& values, std::size_t threshold, Op op, Block block) {
  return std::visit(
      [&](const auto& concrete) {
        auto element = [&concrete, &op](double x) { return op(concrete, x); };
        if constexpr (std::is_invocable_r_v<bool, Block&, decltype(concrete), const double*, double*, std::size_t>) {
          return map_array(values, threshold, element,
                           [&concrete, &block](const double* in, double* out, std::size_t n) {
                             return block(concrete, in, out, n);
                           });
        } else {
          return map_array(values, threshold, element);
        }
      },
      model.variant());
}

template <class Op>
nb::object map_model(const RtModel& model, const ArrayIn& values, std::size_t threshold, Op op) {
  return map_model(model, values, threshold, op, NoBlock{});
}

// Block evaluators of the closed-form pressure and bulk modulus, for the
// models whose formula is exposed; a generic lambda constrained so that other
// models fall back to element-wise evaluation.
constexpr auto pressure_block = []<isothermal::HasPressureFormula M>(const M& model, const double* in, double* out,
                                                                     std::size_t n) {
  return isothermal::evaluate_block([&model](double v) { return model.pressure_formula(v); }, in, out, n);
};
constexpr auto bulk_modulus_block = []<isothermal::HasBulkModulusFormula M>(const M& model, const double* in,
                                                                            double* out, std::size_t n) {
  return isothermal::evaluate_block([&model](double v) { return model.bulk_modulus_formula(v); }, in, out, n);
};

const Holzapfel& holzapfel_or_raise(const RtEos& self) {
  const Holzapfel* model = self.model.get_if<Holzapfel>();
  if (!model) raise(python_unsupported_error(kDerivativeUnsupported));
  return *model;
}

}  // namespace

void export_rt_eos(nb::module_& m) {
  nb::class_<RtEos> cls(m, "RtEos", "Private native representation of a built-in isothermal EOS.",
                          nb::type_slots(kValueTypeSlots));

  cls.def_static("density_polynomial_3", factory(&DensityPolynomial3::make), "v0"_a, "rho0"_a, "c0"_a, "c1"_a,
                 "c2"_a, "c3"_a, nb::sig("def density_polynomial_3(v0, rho0, c0, c1, c2, c3)"))
      .def_static("baonza", factory(&Baonza::make), "v0"_a, "k0"_a, "k0_prime"_a,
                  nb::sig("def baonza(v0, k0, k0_prime)"))
      .def_static("bm2", factory(&BM2::make), "v0"_a, "k0"_a, nb::sig("def bm2(v0, k0)"))
      .def_static("bm3", factory(&BM3::make), "v0"_a, "k0"_a, "k0_prime"_a, nb::sig("def bm3(v0, k0, k0_prime)"))
      .def_static("bm4", factory(&BM4::make), "v0"_a, "k0"_a, "k0_prime"_a, "k0_double_prime"_a,
                  nb::sig("def bm4(v0, k0, k0_prime, k0_double_prime)"))
      .def_static("murnaghan", factory(&Murnaghan::make), "v0"_a, "k0"_a, "k0_prime"_a,
                  nb::sig("def murnaghan(v0, k0, k0_prime)"))
      .def_static("morse3", factory(&Morse3::make), "v0"_a, "k0"_a, "k0_prime"_a,
                  nb::sig("def morse3(v0, k0, k0_prime)"))
      .def_static("modified_tait", factory(&ModifiedTait::make), "v0"_a, "k0"_a, "k0_prime"_a, "k0_double_prime"_a,
                  nb::sig("def modified_tait(v0, k0, k0_prime, k0_double_prime)"))
      .def_static("natural_strain2", factory(&NaturalStrain2::make), "v0"_a, "k0"_a,
                  nb::sig("def natural_strain2(v0, k0)"))
      .def_static("natural_strain3", factory(&NaturalStrain3::make), "v0"_a, "k0"_a, "k0_prime"_a,
                  nb::sig("def natural_strain3(v0, k0, k0_prime)"))
      .def_static("natural_strain4", factory(&NaturalStrain4::make), "v0"_a, "k0"_a, "k0_prime"_a,
                  "k0_double_prime"_a, nb::sig("def natural_strain4(v0, k0, k0_prime, k0_double_prime)"))
      .def_static("rydberg_stacey", factory(&RydbergStacey::make), "v0"_a, "k0"_a, "k0_prime"_a,
                  "k_infinity_prime"_a, nb::sig("def rydberg_stacey(v0, k0, k0_prime, k_infinity_prime)"))
      .def_static("sun_morse3", factory(&SunMorse3::make), "v0"_a, "k0"_a, "k0_prime"_a,
                  nb::sig("def sun_morse3(v0, k0, k0_prime)"))
      .def_static("sun_morse4", factory(&SunMorse4::make), "v0"_a, "k0"_a, "k0_prime"_a,
                  nb::sig("def sun_morse4(v0, k0, k0_prime)"))
      .def_static("second_order_murnaghan", factory(&SecondOrderMurnaghan::make), "v0"_a, "k0"_a, "k0_prime"_a,
                  "k0_double_prime"_a, "p0"_a,
                  nb::sig("def second_order_murnaghan(v0, k0, k0_prime, k0_double_prime, p0)"))
      .def_static("vinet", factory(&Vinet::make), "v0"_a, "k0"_a, "k0_prime"_a,
                  nb::sig("def vinet(v0, k0, k0_prime)"))
      .def_static("holzapfel", factory(&Holzapfel::make), "v0"_a, "k0"_a, "k0_prime"_a, "n"_a, "z"_a,
                  nb::sig("def holzapfel(v0, k0, k0_prime, n, z)"));

  cls.def_prop_ro("model_name", [](const RtEos& self) { return self.model.model_name(); })
      .def_prop_ro("reference_volume", [](const RtEos& self) { return self.model.reference_volume(); })
      .def(
          "pressure_scalar", [](const RtEos& self, double volume) { return value_or_raise(self.model.pressure(volume)); },
          "volume"_a, nb::sig("def pressure_scalar(self, volume)"))
      .def(
          "bulk_modulus_scalar",
          [](const RtEos& self, double volume) { return value_or_raise(self.model.bulk_modulus(volume)); }, "volume"_a,
          nb::sig("def bulk_modulus_scalar(self, volume)"))
      .def(
          "bulk_modulus_derivative_scalar",
          [](const RtEos& self, double volume, double epsilon) {
            return value_or_raise(holzapfel_or_raise(self).bulk_modulus_derivative(volume, epsilon));
          },
          "volume"_a, "epsilon"_a, nb::sig("def bulk_modulus_derivative_scalar(self, volume, epsilon)"))
      .def(
          "volume_scalar", [](const RtEos& self, double pressure) { return value_or_raise(self.model.volume(pressure)); },
          "pressure"_a, nb::sig("def volume_scalar(self, pressure)"))
      .def(
          "pressure_array",
          [](const RtEos& self, const ArrayIn& volumes) {
            return map_model(self.model, volumes, kClosedFormThreshold,
                             [](const auto& model, double v) { return model.pressure(v); }, pressure_block);
          },
          "volumes"_a.noconvert(), nb::sig("def pressure_array(self, volumes)"))
      .def(
          "bulk_modulus_array",
          [](const RtEos& self, const ArrayIn& volumes) {
            return map_model(self.model, volumes, kClosedFormThreshold,
                             [](const auto& model, double v) { return model.bulk_modulus(v); }, bulk_modulus_block);
          },
          "volumes"_a.noconvert(), nb::sig("def bulk_modulus_array(self, volumes)"))
      .def(
          "bulk_modulus_derivative_array",
          [](const RtEos& self, const ArrayIn& volumes, double epsilon) {
            const Holzapfel& model = holzapfel_or_raise(self);
            return map_array(volumes, kClosedFormThreshold,
                             [&model, epsilon](double v) { return model.bulk_modulus_derivative(v, epsilon); });
          },
          "volumes"_a.noconvert(), "epsilon"_a, nb::sig("def bulk_modulus_derivative_array(self, volumes, epsilon)"))
      .def(
          "volume_array",
          [](const RtEos& self, const ArrayIn& pressures) {
            return map_model(self.model, pressures, kIsothermalVolumeThreshold,
                             [](const auto& model, double p) { return model.volume(p); });
          },
          "pressures"_a.noconvert(), nb::sig("def volume_array(self, pressures)"))
      .def("__repr__", [](const RtEos& self) {
        std::string text = "RtEos(model_name='";
        text += self.model.model_name();
        text += "')";
        return text;
      });
}

void export_holzapfel_functions(nb::module_& m) {
  m.def(
      "holzapfel_derivative_analytical",
      [](double v0, double volume, double bulk_modulus, double k0, double c0, double c2) {
        return value_or_raise(holzapfel_bulk_modulus_derivative_analytical(v0, volume, bulk_modulus, k0, c0, c2));
      },
      "v0"_a, "volume"_a, "bulk_modulus"_a, "k0"_a, "c0"_a, "c2"_a,
      nb::sig("def holzapfel_derivative_analytical(v0, volume, bulk_modulus, k0, c0, c2)"));
}

}  // namespace quorvel::py
