// Linear shock-velocity / particle-velocity Hugoniot.
//
//   Us = c0 + s Up
//
// from an initial state (V0, rho0, P0). V0 and rho0 are independent: V0 only
// fixes the compression eta = 1 - V/V0, rho0 scales pressures, densities and
// energies. Mass conservation gives Up/Us = eta, so with D = 1 - s eta
//
//   Us  = c0 / D
//   Up  = eta c0 / D
//   P   = eta rho0 c0^2 / D^2 + P0                (momentum: P - P0 = rho0 Us Up)
//   rho = V0 rho0 / V
//   K_H = (V/V0) rho0 c0^2 (1 + s eta) / D^3      (= -V dP/dV along the curve)
//   dE  = (1/rho0 - 1/rho) (P + P0)/2             (Rankine-Hugoniot energy jump)
//       = Up^2/2 + P0 (1/rho0 - 1/rho)            (since (P - P0) eta / rho0 = Up^2)
//
// States exist only for 0 <= eta < 1/s (D > 0); beyond that the shock
// velocity diverges and the evaluations report OutsideInvertibleRange.
//
// Inverses:
//   V(Up)  = (1 - Up/Us) V0,  P(Up) = Up Us rho0 + P0,  Us(Up) = s Up + c0
//   V(P):  with y = (P - P0)/(rho0 c0^2), eta is the root below 1/s of
//          y (1 - s eta)^2 = eta, written as
//          eta = 2y / (sqrt(4 s y + 1) + 2 s y + 1)
//          to stay accurate for small s y.
//
// No unit factor appears anywhere: c0 in km/s and rho0 in g/cm^3 give
// pressures in GPa, velocities in km/s and energies in kJ/g.
//
// Validation: a volume must be positive, finite and at most V0 (InvalidState
// "volume"). A non-finite particle velocity or pressure argument is reported
// as InvalidParameter, a negative particle velocity as InvalidState.
#pragma once

#include <string>
#include <string_view>

#include "error/eos_error.hpp"

namespace quorvel {

class LinearUsUpHugoniot {
 public:
  static constexpr std::string_view model_name = "LinearUsUpHugoniot";
  static EosExpected<LinearUsUpHugoniot> make(double v0, double rho0, double c0, double s, double p0) noexcept;

  // Functions of the compressed volume V (0 < V <= V0).
  EosResult shock_velocity(double volume) const noexcept;
  EosResult particle_velocity(double volume) const noexcept;
  EosResult pressure(double volume) const noexcept;
  EosResult density(double volume) const noexcept;
  EosResult specific_internal_energy_change(double volume) const noexcept;
  EosResult tangent_modulus(double volume) const noexcept;

  // Functions of the particle velocity Up >= 0.
  EosResult volume_from_particle_velocity(double particle_velocity) const noexcept;
  EosResult pressure_from_particle_velocity(double particle_velocity) const noexcept;
  EosResult shock_velocity_from_particle_velocity(double particle_velocity) const noexcept;

  // Inverse of pressure(V): the compressed volume at pressure P >= P0.
  EosResult volume_from_pressure(double pressure) const noexcept;

  double v0() const noexcept { return v0_; }
  double rho0() const noexcept { return rho0_; }
  double c0() const noexcept { return c0_; }
  double s() const noexcept { return s_; }
  double p0() const noexcept { return p0_; }

  // "LinearUsUpHugoniot { v0: 11.2, rho0: 8.93, c0: 3.94, s: 1.49, p0: 0.0 }",
  // each value in its shortest round-trip form.
  std::string debug_string() const;

 private:
  LinearUsUpHugoniot(double v0, double rho0, double c0, double s, double p0) noexcept
      : v0_(v0), rho0_(rho0), c0_(c0), s_(s), p0_(p0) {}

  // Compression eta = 1 - V/V0 and D = 1 - s eta of a volume on the
  // Hugoniot, after the volume checks and the test D > 0.
  struct Compression {
    double eta;
    double d;
  };
  EosExpected<Compression> compression(double volume) const noexcept;
  // Unguarded P and rho, shared by the evaluations that need them.
  double pressure_at(const Compression& c) const noexcept;
  double density_at(double volume) const noexcept;
  // Checks of a particle-velocity argument, then Us = s Up + c0.
  EosResult shock_velocity_at(double particle_velocity) const noexcept;

  double v0_, rho0_, c0_, s_, p0_;
};

}  // namespace quorvel
