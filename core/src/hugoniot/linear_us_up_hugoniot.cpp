#include "hugoniot/linear_us_up_hugoniot.hpp"

#include <cmath>

#include "error/parameter_checks.hpp"
#include "format/shortest_double.hpp"
#include "hugoniot/hugoniot.hpp"

namespace quorvel {

static_assert(Hugoniot<LinearUsUpHugoniot>);

namespace {
constexpr std::string_view beyond_v0 = "must not exceed V0 on a compression Hugoniot";
constexpr std::string_view non_negative = "must be non-negative";
}  // namespace

EosExpected<LinearUsUpHugoniot> LinearUsUpHugoniot::make(double v0, double rho0, double c0, double s,
                                                         double p0) noexcept {
  if (auto e = ParameterChecks{}
                   .positive("V0", v0)
                   .positive("rho0", rho0)
                   .positive("c0", c0)
                   .positive("s", s)
                   .finite("P0", p0)
                   .error())
    return std::unexpected(*e);
  return LinearUsUpHugoniot(v0, rho0, c0, s, p0);
}

auto LinearUsUpHugoniot::compression(double volume) const noexcept -> EosExpected<Compression> {
  if (!is_positive_finite(volume)) return std::unexpected(EosError::invalid_state("volume", msg::positive_finite));
  if (volume > v0_) return std::unexpected(EosError::invalid_state("volume", beyond_v0));
  const double eta = 1.0 - volume / v0_;
  const double d = 1.0 - s_ * eta;
  if (d <= 0.0) return std::unexpected(EosError::outside_invertible_range());
  return Compression{eta, d};
}

double LinearUsUpHugoniot::pressure_at(const Compression& c) const noexcept {
  return c.eta * rho0_ * (c0_ * c0_) / (c.d * c.d) + p0_;
}

double LinearUsUpHugoniot::density_at(double volume) const noexcept { return v0_ * rho0_ / volume; }

EosResult LinearUsUpHugoniot::shock_velocity(double volume) const noexcept {
  const auto c = compression(volume);
  if (!c) return std::unexpected(c.error());
  return guard(c0_ / c->d);
}

EosResult LinearUsUpHugoniot::particle_velocity(double volume) const noexcept {
  const auto c = compression(volume);
  if (!c) return std::unexpected(c.error());
  return guard(c->eta * c0_ / c->d);
}

EosResult LinearUsUpHugoniot::pressure(double volume) const noexcept {
  const auto c = compression(volume);
  if (!c) return std::unexpected(c.error());
  return guard(pressure_at(*c));
}

EosResult LinearUsUpHugoniot::density(double volume) const noexcept {
  const auto c = compression(volume);
  if (!c) return std::unexpected(c.error());
  return guard(density_at(volume));
}

EosResult LinearUsUpHugoniot::tangent_modulus(double volume) const noexcept {
  const auto c = compression(volume);
  if (!c) return std::unexpected(c.error());
  return guard((volume / v0_) * rho0_ * (c0_ * c0_) * (1.0 + s_ * c->eta) / (c->d * c->d * c->d));
}

EosResult LinearUsUpHugoniot::specific_internal_energy_change(double volume) const noexcept {
  const auto c = compression(volume);
  if (!c) return std::unexpected(c.error());
  const double rho = density_at(volume);
  if (!is_finite(rho)) return std::unexpected(EosError::non_finite_result());
  const double p = pressure_at(*c);
  if (!is_finite(p)) return std::unexpected(EosError::non_finite_result());
  return guard((1.0 / rho0_ - 1.0 / rho) * ((p0_ + p) * 0.5));
}

EosResult LinearUsUpHugoniot::shock_velocity_at(double particle_velocity) const noexcept {
  if (!is_finite(particle_velocity))
    return std::unexpected(EosError::invalid_parameter("particle_velocity", msg::finite));
  if (particle_velocity < 0.0)
    return std::unexpected(EosError::invalid_state("particle_velocity", non_negative));
  return guard(s_ * particle_velocity + c0_);
}

EosResult LinearUsUpHugoniot::volume_from_particle_velocity(double particle_velocity) const noexcept {
  const EosResult us = shock_velocity_at(particle_velocity);
  if (!us) return us;
  const double v = (1.0 - particle_velocity / *us) * v0_;
  if (!is_positive_finite(v)) return std::unexpected(EosError::outside_invertible_range());
  return v;
}

EosResult LinearUsUpHugoniot::pressure_from_particle_velocity(double particle_velocity) const noexcept {
  const EosResult us = shock_velocity_at(particle_velocity);
  if (!us) return us;
  return guard(particle_velocity * (*us * rho0_) + p0_);
}

EosResult LinearUsUpHugoniot::shock_velocity_from_particle_velocity(double particle_velocity) const noexcept {
  return shock_velocity_at(particle_velocity);
}

EosResult LinearUsUpHugoniot::volume_from_pressure(double pressure) const noexcept {
  if (!is_finite(pressure)) return std::unexpected(EosError::invalid_parameter("pressure", msg::finite));
  // Below P0 the state would be a rarefaction, not on a compression Hugoniot.
  if (pressure < p0_) return std::unexpected(EosError::outside_invertible_range());
  const double y = (pressure - p0_) / (rho0_ * c0_ * c0_);
  const double eta = y == 0.0 ? 0.0 : 2.0 * y / (std::sqrt(4.0 * s_ * y + 1.0) + (2.0 * s_ * y + 1.0));
  const double v = (1.0 - eta) * v0_;
  // Written so that a NaN (overflowing y) also lands in the error branch.
  if (is_positive_finite(v) && s_ * eta < 1.0) return v;
  return std::unexpected(EosError::outside_invertible_range());
}

std::string LinearUsUpHugoniot::debug_string() const {
  std::string text = "LinearUsUpHugoniot { v0: ";
  text += format_shortest(v0_);
  text += ", rho0: ";
  text += format_shortest(rho0_);
  text += ", c0: ";
  text += format_shortest(c0_);
  text += ", s: ";
  text += format_shortest(s_);
  text += ", p0: ";
  text += format_shortest(p0_);
  text += " }";
  return text;
}

}  // namespace quorvel
