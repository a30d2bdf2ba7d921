// What every isothermal (reference-temperature) model offers, and the
// operations written once for all of them.
//
//   pressure(V)        P on the reference isotherm
//   bulk_modulus(V)    K = -V dP/dV, closed form per model
//   volume(P)          inverse of pressure: a guarded root search from V0,
//                      unless the model has a closed-form inverse
//   v0()               reference volume
//
// Volumes share one unit and pressures another; the models depend only on
// V/V0. Every evaluation checks its volume first and passes its result
// through the finiteness guard.
#pragma once

#include <concepts>
#include <optional>
#include <string_view>
#include <type_traits>

#include "error/eos_error.hpp"
#include "error/parameter_checks.hpp"
#include "root/root_solvers.hpp"

namespace quorvel {

template <class M>
concept IsothermalEos = requires(const M& m, double x) {
  { m.pressure(x) } -> std::same_as<EosResult>;
  { m.bulk_modulus(x) } -> std::same_as<EosResult>;
  { m.volume(x) } -> std::same_as<EosResult>;
  { m.v0() } -> std::convertible_to<double>;
};

namespace isothermal {

inline constexpr std::optional<EosError> check_volume(double volume) noexcept {
  if (!is_positive_finite(volume)) return EosError::invalid_state("volume", msg::positive_finite);
  return std::nullopt;
}

// The frame of every pressure and bulk-modulus evaluation: volume check,
// formula, result guard. The formula may return a plain double or an
// EosResult of its own (domain checks).
template <class Formula>
EosResult evaluate(double volume, Formula&& formula) noexcept {
  if (auto e = check_volume(volume)) return std::unexpected(*e);
  if constexpr (std::is_same_v<std::invoke_result_t<Formula, double>, EosResult>) {
    const EosResult r = formula(volume);
    if (!r) return r;
    return guard(*r);
  } else {
    return guard(formula(volume));
  }
}

// V at which the model's pressure equals `pressure`, by the root search
// started at V0.
template <class M>
EosResult solve_volume(const M& model, double pressure) noexcept {
  return root::solve_volume_function([&model](double v) { return model.pressure(v); }, pressure, model.v0());
}

// K' = dK/dP as a central difference in volume: both K and P are differenced
// over the same pair of volumes, so no dP/dV is formed.
template <IsothermalEos M>
EosResult bulk_modulus_derivative(const M& model, double volume, double relative_step) noexcept {
  if (auto e = check_volume(volume)) return std::unexpected(*e);
  if (!is_positive_finite(relative_step))
    return std::unexpected(EosError::invalid_state("relative_step", msg::positive_finite));
  if (relative_step >= 1.0) return std::unexpected(EosError::invalid_state("relative_step", msg::smaller_than_one));
  const double h = relative_step * volume;
  const double v_plus = volume + h;
  const double v_minus = volume - h;
  const EosResult p_plus = model.pressure(v_plus);
  if (!p_plus) return p_plus;
  const EosResult p_minus = model.pressure(v_minus);
  if (!p_minus) return p_minus;
  const double dp = *p_plus - *p_minus;
  if (dp == 0.0) return std::unexpected(EosError::outside_invertible_range());
  const EosResult k_plus = model.bulk_modulus(v_plus);
  if (!k_plus) return k_plus;
  const EosResult k_minus = model.bulk_modulus(v_minus);
  if (!k_minus) return k_minus;
  return guard((*k_plus - *k_minus) / dp);
}

}  // namespace isothermal
}  // namespace quorvel
