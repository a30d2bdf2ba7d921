// What every shock Hugoniot model offers: the states reached from one
// initial state by a single steady shock, as functions of the compressed
// volume V (V <= V0).
//
//   shock_velocity(V)                   Us
//   particle_velocity(V)                Up
//   pressure(V)                         P
//   density(V)                          rho
//   specific_internal_energy_change(V)  E - E0
//   tangent_modulus(V)                  K_H = -V dP/dV along the Hugoniot
#pragma once

#include <concepts>

#include "error/eos_error.hpp"

namespace quorvel {

template <class H>
concept Hugoniot = requires(const H& h, double volume) {
  { h.shock_velocity(volume) } -> std::same_as<EosResult>;
  { h.particle_velocity(volume) } -> std::same_as<EosResult>;
  { h.pressure(volume) } -> std::same_as<EosResult>;
  { h.density(volume) } -> std::same_as<EosResult>;
  { h.specific_internal_energy_change(volume) } -> std::same_as<EosResult>;
  { h.tangent_modulus(volume) } -> std::same_as<EosResult>;
};

}  // namespace quorvel
