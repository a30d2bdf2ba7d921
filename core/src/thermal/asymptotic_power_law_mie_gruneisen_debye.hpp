// Mie–Grüneisen–Debye model whose Grüneisen parameter tends to a finite
// limit γ0·(1 - a) at infinite compression.
//
// With x = V/V0, ℓ = ln x, u = θ/T and R = 8.31446261815324 J/(mol K):
//
//   γ(V)  = γ0·(1 + a·(x^b - 1))
//   θ(V)  = θ0·exp(-γ0·(a·expm1(bℓ)/b + (1 - a)·ℓ))     (∫_1^x γ/x' dx')
//           θ0·exp(-γ0·ℓ)                               (b = 0)
//   E_th  = T·(3nR)·D3(u)
//   S_th  = nR·(4·D3(u) - 3·ln(1 - e^-u))
//   P_th  = γ(V)·(E_th(V, T) - E_th(V, Tr))/(10000·V)   (zero at Tr)
//   Cv    = (E_th(T + dT) - E_th(T - dT))/(2 dT),  dT = 1e-5·T
//
// F_th, P_vib, H_th and G_th as in the MieGruneisen family. The thermal
// pressure increment is the generic one (P_th itself); "gruneisen_parameter"
// is answered by γ(V). Unlike MieGruneisen, state checks test T before V.
#pragma once

#include <cmath>
#include <string_view>
#include <utility>

#include "error/eos_error.hpp"
#include "isothermal/isothermal_eos.hpp"
#include "quadrature/special_functions.hpp"
#include "thermal/mie_gruneisen.hpp"
#include "thermal/thermal_eos.hpp"

namespace quorvel {

namespace asymptotic_power_law {

// γ0·(1 + a·(x^b - 1)), x = V/V0.
inline EosResult gruneisen(double gamma0, double a, double b, double volume_ratio) noexcept {
  return guard(gamma0 * (1.0 + a * (std::pow(volume_ratio, b) - 1.0)));
}

// θ0·exp(-γ0·(a·expm1(bℓ)/b + (1 - a)·ℓ)), or θ0·exp(-γ0·ℓ) for b = 0.
inline EosResult debye_temperature(double theta0, double gamma0, double a, double b,
                                   double log_volume_ratio) noexcept {
  const double ell = log_volume_ratio;
  if (b != 0.0) return guard(theta0 * std::exp(-gamma0 * (a * std::expm1(b * ell) / b + (1.0 - a) * ell)));
  return guard(theta0 * std::exp(-gamma0 * ell));
}

}  // namespace asymptotic_power_law

template <IsothermalEos Iso>
class AsymptoticPowerLawMieGruneisenDebye {
 public:
  using IsothermalModel = Iso;
  static constexpr std::string_view model_name() noexcept { return "AsymptoticPowerLawMieGruneisenDebye"; }

  // Checks, in order: "a" finite, "a" in [0, 1] ("must lie between zero and
  // one"); "Tr", "theta0" positive; "gamma0", "b" finite; "n" positive.
  static EosExpected<AsymptoticPowerLawMieGruneisenDebye> make(Iso isothermal_model, double tr, double theta0,
                                                                double gamma0, double a, double b,
                                                                double n) noexcept {
    if (auto e = ParameterChecks{}
                     .finite("a", a)
                     .that(a >= 0.0 && a <= 1.0, "a", "must lie between zero and one")
                     .positive("Tr", tr)
                     .positive("theta0", theta0)
                     .finite("gamma0", gamma0)
                     .finite("b", b)
                     .positive("n", n)
                     .error())
      return std::unexpected(*e);
    return AsymptoticPowerLawMieGruneisenDebye(std::move(isothermal_model), tr, theta0, gamma0, a, b, n);
  }

  // --- ThermalEos -----------------------------------------------------------
  const Iso& isothermal_model() const noexcept { return isothermal_model_; }
  double reference_temperature() const noexcept { return tr_; }

  // γ(V)·(E_th(V, T) - E_th(V, Tr))/(10000·V); T then V checked.
  EosResult thermal_pressure(double volume, double temperature) const noexcept {
    if (auto e = thermal::check_temperature(temperature)) return std::unexpected(*e);
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    const EosResult theta = theta_at(volume);
    if (!theta) return theta;
    const EosResult e = energy_at(*theta, temperature);
    if (!e) return e;
    const EosResult e_ref = energy_at(*theta, tr_);
    if (!e_ref) return e_ref;
    const EosResult gamma = gruneisen_at(volume);
    if (!gamma) return gamma;
    return guard(*gamma * (*e - *e_ref) / volume / thermal::kEnergyPerPressureVolume);
  }

  // --- CaloricEos -----------------------------------------------------------
  EosResult molar_heat_capacity_v(double volume, double temperature) const noexcept {
    if (auto e = thermal::check_temperature(temperature)) return std::unexpected(*e);
    const double dt = 1e-5 * temperature;
    const EosResult e_plus = thermal_energy(volume, temperature + dt);
    if (!e_plus) return e_plus;
    const EosResult e_minus = thermal_energy(volume, temperature - dt);
    if (!e_minus) return e_minus;
    return guard((*e_plus - *e_minus) / (2.0 * dt));
  }

  // --- Model operations -----------------------------------------------------
  // γ(V); answers "gruneisen_parameter".
  EosResult gruneisen_function(double volume) const noexcept {
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    return gruneisen_at(volume);
  }

  EosResult characteristic_temperature(double volume) const noexcept {
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    return theta_at(volume);
  }

  EosResult thermal_energy(double volume, double temperature) const noexcept {
    if (auto e = thermal::check_temperature(temperature)) return std::unexpected(*e);
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    const EosResult theta = theta_at(volume);
    if (!theta) return theta;
    return energy_at(*theta, temperature);
  }

  EosResult thermal_entropy(double volume, double temperature) const noexcept {
    if (auto e = thermal::check_temperature(temperature)) return std::unexpected(*e);
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    const EosResult theta = theta_at(volume);
    if (!theta) return theta;
    return mie_gruneisen::debye_entropy(n_ * kGasConstant, *theta, temperature);
  }

  EosResult thermal_helmholtz_free_energy(double volume, double temperature) const noexcept {
    const EosResult e = thermal_energy(volume, temperature);
    if (!e) return e;
    const EosResult s = thermal_entropy(volume, temperature);
    if (!s) return s;
    return guard(*e - temperature * *s);
  }

  EosResult vibrational_pressure(double volume, double temperature) const noexcept {
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    const EosResult gamma = gruneisen_at(volume);
    if (!gamma) return gamma;
    const EosResult e = thermal_energy(volume, temperature);
    if (!e) return e;
    return guard(*gamma * *e / volume / thermal::kEnergyPerPressureVolume);
  }

  EosResult thermal_enthalpy(double volume, double temperature) const noexcept {
    const EosResult e = thermal_energy(volume, temperature);
    if (!e) return e;
    const EosResult p_vib = vibrational_pressure(volume, temperature);
    if (!p_vib) return p_vib;
    return guard(*e + volume * *p_vib * thermal::kEnergyPerPressureVolume);
  }

  EosResult thermal_gibbs_free_energy(double volume, double temperature) const noexcept {
    const EosResult f = thermal_helmholtz_free_energy(volume, temperature);
    if (!f) return f;
    const EosResult p_vib = vibrational_pressure(volume, temperature);
    if (!p_vib) return p_vib;
    return guard(*f + volume * *p_vib * thermal::kEnergyPerPressureVolume);
  }

  // --- Parameters -------------------------------------------------------------
  double tr() const noexcept { return tr_; }
  double theta0() const noexcept { return theta0_; }
  double gamma0() const noexcept { return gamma0_; }
  double a() const noexcept { return a_; }
  double b() const noexcept { return b_; }
  double n() const noexcept { return n_; }

 private:
  AsymptoticPowerLawMieGruneisenDebye(Iso isothermal_model, double tr, double theta0, double gamma0, double a,
                                      double b, double n) noexcept
      : isothermal_model_(std::move(isothermal_model)),
        tr_(tr),
        theta0_(theta0),
        gamma0_(gamma0),
        a_(a),
        b_(b),
        n_(n) {}

  double v0() const noexcept { return static_cast<double>(isothermal_model_.v0()); }
  EosResult gruneisen_at(double volume) const noexcept {
    return asymptotic_power_law::gruneisen(gamma0_, a_, b_, volume / v0());
  }
  EosResult theta_at(double volume) const noexcept {
    return asymptotic_power_law::debye_temperature(theta0_, gamma0_, a_, b_, std::log(volume / v0()));
  }
  EosResult energy_at(double theta, double temperature) const noexcept {
    return mie_gruneisen::debye_energy(n_ * 3.0 * kGasConstant, theta, temperature);
  }

  Iso isothermal_model_;
  double tr_;
  double theta0_;
  double gamma0_;
  double a_;
  double b_;
  double n_;
};

}  // namespace quorvel
