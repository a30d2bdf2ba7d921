// Guarded one-dimensional root searches shared by every model.
//
// The inverse questions of an equation of state (volume at a pressure,
// temperature at a volume and pressure) are answered without assuming
// monotonicity or smoothness: walk geometrically outward from a reference
// point until the residual r(x) = f(x) - target changes sign, bisect the
// bracket, then accept the midpoint only if its residual passes a final test.
//
// Notation: S = max(|target|, 1) is the residual scale.
//
//   volume search      one direction, chosen by the sign of r(V0):
//                      compress  V0*0.8^k   down to 1e-14 V0  -> BracketingFailed
//                      expand    V0*1.05^k  below 1e4 V0      -> OutsideInvertibleRange
//                      at most 160 trials; the bracket always has V0 as one end
//   temperature search two walkers per sweep, lower (x0.8, clamped at 1e-14 T0)
//                      then upper (x1.25, clamped at 1e8 T0); 160 sweeps
//   bisection          256 midpoints; residual tolerance S*2^-49, step
//                      tolerance 1e-14|m| + x_tol
//   acceptance         |f(x) - target| <= 1e-8 S
//
// The function to solve is any callable double -> EosResult. A failed
// evaluation ends the solve with that error, unchanged. Nothing allocates.
#pragma once

#include <algorithm>
#include <cmath>

#include "error/eos_error.hpp"

namespace quorvel::root {

inline constexpr double kEpsilon = 0x1p-52;
inline constexpr int kMaxTrials = 160;
inline constexpr int kMaxBisections = 256;
inline constexpr double kCompressFactor = 0.8;
inline constexpr double kExpandFactor = 1.05;
inline constexpr double kMinVolumeRatio = 1e-14;
inline constexpr double kMaxVolumeRatio = 1e4;
inline constexpr double kLowerTemperatureFactor = 0.8;
inline constexpr double kUpperTemperatureFactor = 1.25;
inline constexpr double kMinTemperatureRatio = 1e-14;
inline constexpr double kMaxTemperatureRatio = 1e8;
inline constexpr double kAcceptance = 1e-8;

inline double residual_scale(double target) noexcept { return std::max(std::fabs(target), 1.0); }

// f(x) at the reference point is already the answer.
inline bool at_reference(double target, double f_ref, double r_ref) noexcept {
  return std::fabs(r_ref) <= 1e-10 * std::max({std::fabs(target), std::fabs(f_ref), 1.0});
}

// Whether two residuals enclose a root: opposite signs, or one exactly zero.
// Decided on the signs, not on the product, which underflows to zero for two
// tiny residuals of the same sign.
inline bool encloses_root(double r1, double r2) noexcept {
  return (r1 <= 0.0 && r2 >= 0.0) || (r1 >= 0.0 && r2 <= 0.0);
}

// Bisects [lower, upper] whose end residuals have opposite signs (or one is
// exactly zero). Returns the accepted midpoint; the caller applies
// check_residual.
template <class F>
EosResult bisect_bracket(F&& f, double target, double lower, double residual_at_lower, double upper,
                         double residual_at_upper, double x_tolerance, double residual_tolerance) noexcept {
  if (!encloses_root(residual_at_lower, residual_at_upper)) return std::unexpected(EosError::bracketing_failed());
  // An end that is already an exact root is the answer. Bisecting instead
  // would count its zero residual as "non-negative" and, when the other end
  // is positive, walk every midpoint away from it.
  if (residual_at_lower == 0.0) return lower;
  if (residual_at_upper == 0.0) return upper;
  const bool lower_nonnegative = residual_at_lower >= 0.0;
  double a = lower;
  double b = upper;
  for (int i = 0; i < kMaxBisections; ++i) {
    const double h = (b - a) / 2.0;
    const double m = a + h;
    const EosResult fm = f(m);
    if (!fm) return fm;
    const double rm = *fm - target;
    if (std::fabs(rm) <= residual_tolerance || h <= 1e-14 * std::fabs(m) + x_tolerance) return m;
    if ((rm >= 0.0) == lower_nonnegative)
      a = m;
    else
      b = m;
  }
  return std::unexpected(EosError::convergence_failed());
}

// Final acceptance: rejects brackets that closed on a pole or a jump.
template <class F>
EosResult check_residual(F&& f, double target, double x) noexcept {
  const EosResult fx = f(x);
  if (!fx) return fx;
  if (std::fabs(*fx - target) > kAcceptance * residual_scale(target))
    return std::unexpected(EosError::convergence_failed());
  return x;
}

// Volume V with f(V) = target, f a pressure as a function of volume.
template <class F>
EosResult solve_volume_function(F&& f, double target, double reference_volume) noexcept {
  if (!is_finite(target)) return std::unexpected(EosError::invalid_state("pressure", msg::finite));
  if (!is_positive_finite(reference_volume))
    return std::unexpected(EosError::invalid_state("reference volume", msg::positive_finite));
  const double v0 = reference_volume;
  const EosResult f0 = f(v0);
  if (!f0) return f0;
  const double r0 = *f0 - target;
  if (at_reference(target, *f0, r0)) return v0;

  double lower = v0, r_lower = r0, upper = v0, r_upper = r0;
  bool bracketed = false;
  double v = v0;
  if (r0 < 0.0) {
    for (int i = 0; i < kMaxTrials; ++i) {
      const double next = v * kCompressFactor;
      if (!(next > kMinVolumeRatio * v0)) break;
      v = next;
      const EosResult fv = f(v);
      if (!fv) return fv;
      const double r = *fv - target;
      if (r >= 0.0) {
        lower = v, r_lower = r;
        bracketed = true;
        break;
      }
    }
    if (!bracketed) return std::unexpected(EosError::bracketing_failed());
  } else {
    for (int i = 0; i < kMaxTrials; ++i) {
      const double next = v * kExpandFactor;
      if (next >= kMaxVolumeRatio * v0) break;
      v = next;
      const EosResult fv = f(v);
      if (!fv) return fv;
      const double r = *fv - target;
      if (r <= 0.0) {
        upper = v, r_upper = r;
        bracketed = true;
        break;
      }
    }
    if (!bracketed) return std::unexpected(EosError::outside_invertible_range());
  }

  const double scale = residual_scale(target);
  const EosResult root = bisect_bracket(f, target, lower, r_lower, upper, r_upper,
                                        std::max(v0 * kEpsilon, 1e-14), scale * 0x1p-49);
  if (!root) return root;
  return check_residual(f, target, *root);
}

// Temperature T with f(T) = target, f a (thermal) pressure as a function of
// temperature at fixed volume. Of the roots bracketed in the first sweep that
// finds any, the one nearest the reference temperature in ln(T) wins.
template <class F>
EosResult solve_temperature_function(F&& f, double target, double reference_temperature) {
  if (!is_finite(target)) return std::unexpected(EosError::invalid_state("pressure", msg::finite));
  if (!is_positive_finite(reference_temperature))
    return std::unexpected(EosError::invalid_state("temperature", msg::positive_finite));
  const double t0 = reference_temperature;
  const EosResult f0 = f(t0);
  if (!f0) return f0;
  const double r0 = *f0 - target;
  if (at_reference(target, *f0, r0)) return t0;

  struct Bracket { double a, ra, b, rb; };
  Bracket brackets[2];
  int found = 0;

  const double t_min = kMinTemperatureRatio * t0;
  const double t_max = kMaxTemperatureRatio * t0;
  double t_lo = t0, r_lo = r0, t_hi = t0, r_hi = r0;
  bool lo_active = true, hi_active = true;
  for (int sweep = 1;; ++sweep) {
    if (lo_active) {
      const double t = std::max(kLowerTemperatureFactor * t_lo, t_min);
      const EosResult ft = f(t);
      if (!ft) return ft;
      const double r = *ft - target;
      if (encloses_root(r_lo, r)) brackets[found++] = {t, r, t_lo, r_lo};
      lo_active = t > t_min;
      t_lo = t, r_lo = r;
    }
    if (hi_active) {
      const double t = std::min(kUpperTemperatureFactor * t_hi, t_max);
      const EosResult ft = f(t);
      if (!ft) return ft;
      const double r = *ft - target;
      if (encloses_root(r_hi, r)) brackets[found++] = {t_hi, r_hi, t, r};
      hi_active = t < t_max;
      t_hi = t, r_hi = r;
    }
    if (found > 0) break;
    if ((!lo_active && !hi_active) || sweep == kMaxTrials)
      return std::unexpected(EosError::outside_invertible_range());
  }

  const double scale = residual_scale(target);
  const double t_tolerance = std::max(t0, 1.0) * kEpsilon;
  double best = 0.0;
  double best_distance = 0.0;
  for (int i = 0; i < found; ++i) {
    const Bracket& br = brackets[i];
    const EosResult root = bisect_bracket(f, target, br.a, br.ra, br.b, br.rb, t_tolerance, scale * 0x1p-49);
    if (!root) return root;
    const double distance = std::fabs(std::log(*root / t0));
    if (i == 0 || distance < best_distance) best = *root, best_distance = distance;
  }
  return check_residual(f, target, best);
}

}  // namespace quorvel::root
