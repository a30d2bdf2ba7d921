// Python class HugoniotEos: one immutable linear Us-Up shock Hugoniot whose
// quantities are selected by name.
//
// The names form a closed table. Each entry says how the evaluated value is
// read (a compressed volume V, a particle velocity Up or a pressure P) and
// which operation of the model answers it. An unknown name is an ordinary
// evaluation error (InvalidState "quantity"), so it surfaces only when some
// value is actually evaluated: an empty array with any name is a valid call.
#pragma once

#include <nanobind/nanobind.h>

#include <span>
#include <string_view>

#include "error/eos_error.hpp"
#include "hugoniot/linear_us_up_hugoniot.hpp"

namespace quorvel::py {

struct HugoniotEos {
  LinearUsUpHugoniot model;
};

// How the argument of a quantity is read.
enum class HugoniotArgument { Volume, ParticleVelocity, Pressure };

struct HugoniotQuantity {
  std::string_view name;
  HugoniotArgument argument;
  EosResult (LinearUsUpHugoniot::*operation)(double) const noexcept;
};

inline constexpr HugoniotQuantity kHugoniotQuantities[] = {
    {"volume", HugoniotArgument::Pressure, &LinearUsUpHugoniot::volume_from_pressure},
    {"density", HugoniotArgument::Volume, &LinearUsUpHugoniot::density},
    {"pressure", HugoniotArgument::Volume, &LinearUsUpHugoniot::pressure},
    {"shock_velocity", HugoniotArgument::Volume, &LinearUsUpHugoniot::shock_velocity},
    {"tangent_modulus", HugoniotArgument::Volume, &LinearUsUpHugoniot::tangent_modulus},
    {"particle_velocity", HugoniotArgument::Volume, &LinearUsUpHugoniot::particle_velocity},
    {"specific_internal_energy_change", HugoniotArgument::Volume,
     &LinearUsUpHugoniot::specific_internal_energy_change},
    {"volume_from_particle_velocity", HugoniotArgument::ParticleVelocity,
     &LinearUsUpHugoniot::volume_from_particle_velocity},
    {"pressure_from_particle_velocity", HugoniotArgument::ParticleVelocity,
     &LinearUsUpHugoniot::pressure_from_particle_velocity},
    {"shock_velocity_from_particle_velocity", HugoniotArgument::ParticleVelocity,
     &LinearUsUpHugoniot::shock_velocity_from_particle_velocity},
};

inline constexpr std::string_view kUnknownHugoniotQuantity = "unknown shock Hugoniot quantity";

// The entry of a name (exact, case-sensitive, whole text), or nullptr.
constexpr const HugoniotQuantity* find_quantity(std::span<const HugoniotQuantity> table,
                                                std::string_view name) noexcept {
  for (const HugoniotQuantity& q : table)
    if (q.name == name) return &q;
  return nullptr;
}

// One evaluation of a looked-up quantity; a missing entry is the
// unknown-quantity error.
inline EosResult evaluate_quantity(const LinearUsUpHugoniot& model, const HugoniotQuantity* quantity,
                                   double value) noexcept {
  if (!quantity) return std::unexpected(EosError::invalid_state("quantity", kUnknownHugoniotQuantity));
  return (model.*(quantity->operation))(value);
}

void export_hugoniot_eos(nanobind::module_& m);

}  // namespace quorvel::py
