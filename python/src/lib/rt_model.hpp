// The closed set of isothermal models, selectable at run time.
//
// The order of the alternatives is fixed: it is also the order of the tag
// values. An RtModel is a plain value (tag plus parameters) and satisfies the
// same IsothermalEos interface as each model, so thermal models can be built
// over it.
#pragma once

#include <cstddef>
#include <string_view>
#include <variant>

#include "error/eos_error.hpp"
#include "isothermal/all_models.hpp"
#include "isothermal/isothermal_eos.hpp"

namespace quorvel {

using RtModelVariant = std::variant<Baonza,              // 0
                                    DensityPolynomial3,  // 1
                                    BM2,                 // 2
                                    BM3,                 // 3
                                    BM4,                 // 4
                                    Morse3,              // 5
                                    Murnaghan,           // 6
                                    SecondOrderMurnaghan,  // 7
                                    ModifiedTait,        // 8
                                    NaturalStrain2,      // 9
                                    NaturalStrain3,      // 10
                                    NaturalStrain4,      // 11
                                    RydbergStacey,       // 12
                                    SunMorse3,           // 13
                                    SunMorse4,           // 14
                                    Vinet,               // 15
                                    Holzapfel>;          // 16

class RtModel {
 public:
  template <class M>
    requires IsothermalEos<M>
  RtModel(const M& model) noexcept : model_(model) {}  // NOLINT: implicit by design

  std::size_t tag() const noexcept { return model_.index(); }
  std::string_view model_name() const noexcept {
    return std::visit([](const auto& m) { return std::decay_t<decltype(m)>::model_name; }, model_);
  }
  // V0 of the model (for DensityPolynomial3, the V0 it was built with).
  double reference_volume() const noexcept {
    return std::visit([](const auto& m) { return m.v0(); }, model_);
  }
  double v0() const noexcept { return reference_volume(); }

  EosResult pressure(double volume) const noexcept {
    return std::visit([volume](const auto& m) { return m.pressure(volume); }, model_);
  }
  EosResult bulk_modulus(double volume) const noexcept {
    return std::visit([volume](const auto& m) { return m.bulk_modulus(volume); }, model_);
  }
  EosResult volume(double pressure) const noexcept {
    return std::visit([pressure](const auto& m) { return m.volume(pressure); }, model_);
  }
  const RtModelVariant& variant() const noexcept { return model_; }
  template <class M>
  const M* get_if() const noexcept { return std::get_if<M>(&model_); }

 private:
  RtModelVariant model_;
};

static_assert(IsothermalEos<RtModel>);

}  // namespace quorvel
