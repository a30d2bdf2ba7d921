// Mie–Grüneisen thermal models in Debye and Einstein form.
//
// Quasi-harmonic oscillators with one characteristic temperature θ(V):
//
//   P_th(V, T) = γ(V)·ΔE_th(V, T)/(10000·V)
//
// with x = V/V0, ℓ = ln x, u = θ/T and R = 8.31446261815324 J/(mol K):
//
//   γ(V)  = γ0·exp(qℓ)                                   (= γ0·x^q)
//   θ(V)  = θ0·exp(-γ0·expm1(qℓ)/q)   integrated_gruneisen, Einstein form
//           θ0·exp(-γ0·ℓ)             (q = 0)
//           θ0·exp(-γ(V)·ℓ)           variable_exponent (Debye form only)
//   E_th  = T·Cvmax·D3(u)                                 Debye
//           3nRθ/(e^u - 1)                                Einstein
//   S_th  = (Cvmax/3)·(4·D3(u) - 3·ln(1 - e^-u))          Debye
//           3nR·(u/(e^u - 1) - ln(1 - e^-u))              Einstein
//   F_th  = E_th - T·S_th
//   P_vib = γ·E_th/(10000·V);  H_th = E_th + 10000·V·P_vib;  G_th = F_th + 10000·V·P_vib
//   Cv    = (E_th(T + dT) - E_th(T - dT))/(2 dT),  dT = 1e-5·T
//
// ΔE_th by thermal_pressure_reference:
//   reference_temperature  E_th(V, T) - E_th(V, Tr)
//   reference_isentrope    E_th(V, T) - E_th(V, T_s),  T_s = Tr·θ(V)/θ0
//   absolute_zero          E_th(V, T)                  (P_th = P_vib)
//
// Energies carry no zero-point term. Every other thermal quantity (total
// pressure, volume, temperature, bulk moduli, expansivity, Cp...) is the
// generic definition of thermal/thermal_eos.hpp; "gruneisen_parameter" is
// answered by γ(V) (gruneisen_function).
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "error/eos_error.hpp"
#include "isothermal/isothermal_eos.hpp"
#include "quadrature/special_functions.hpp"
#include "thermal/thermal_eos.hpp"

namespace quorvel {

// Law of the Debye temperature (read by the Debye form only). Values are the
// option bytes of the Python layer.
enum class DebyeTemperatureLaw : std::uint8_t {
  IntegratedGruneisen = 0,  // "integrated_gruneisen"
  VariableExponent = 1,     // "variable_exponent"
};

// Origin of the thermal pressure.
enum class ThermalPressureReference : std::uint8_t {
  ReferenceTemperature = 0,  // "reference_temperature"
  ReferenceIsentrope = 1,    // "reference_isentrope"
  AbsoluteZero = 2,          // "absolute_zero"
};

// Oscillator spectrum of a MieGruneisen model, fixed at construction.
enum class MieGruneisenForm : std::uint8_t { Debye = 0, Einstein = 1 };

// Option texts (the one place where these enums meet strings).
constexpr std::string_view option_name(DebyeTemperatureLaw law) noexcept {
  return law == DebyeTemperatureLaw::VariableExponent ? "variable_exponent" : "integrated_gruneisen";
}
constexpr std::string_view option_name(ThermalPressureReference reference) noexcept {
  switch (reference) {
    case ThermalPressureReference::ReferenceIsentrope: return "reference_isentrope";
    case ThermalPressureReference::AbsoluteZero: return "absolute_zero";
    case ThermalPressureReference::ReferenceTemperature: break;
  }
  return "reference_temperature";
}
constexpr std::optional<DebyeTemperatureLaw> debye_temperature_law_from_name(std::string_view text) noexcept {
  if (text == "integrated_gruneisen") return DebyeTemperatureLaw::IntegratedGruneisen;
  if (text == "variable_exponent") return DebyeTemperatureLaw::VariableExponent;
  return std::nullopt;
}
constexpr std::optional<ThermalPressureReference> thermal_pressure_reference_from_name(std::string_view text) noexcept {
  if (text == "reference_temperature") return ThermalPressureReference::ReferenceTemperature;
  if (text == "reference_isentrope") return ThermalPressureReference::ReferenceIsentrope;
  if (text == "absolute_zero") return ThermalPressureReference::AbsoluteZero;
  return std::nullopt;
}
// Rejection messages of the Python factory (the law is parsed first).
inline constexpr std::string_view kDebyeTemperatureLawMessage =
    "debye_temperature_law must be 'integrated_gruneisen' or 'variable_exponent'";
inline constexpr std::string_view kThermalPressureReferenceMessage =
    "thermal_pressure_reference must be 'reference_temperature', 'reference_isentrope', or 'absolute_zero'";

// The closed-form pieces shared by the Mie–Grüneisen family (and by the
// models that embed a Debye part). ℓ = ln(V/V0); none of these checks
// its arguments, all guard their results.
namespace mie_gruneisen {

// γ0·exp(q·ℓ).
EosResult power_law_gruneisen(double gamma0, double q, double log_volume_ratio) noexcept;
// θ0·exp(-γ0·expm1(q·ℓ)/q), or θ0·exp(-γ0·ℓ) for q = 0.
EosResult integrated_gruneisen_temperature(double theta0, double gamma0, double q, double log_volume_ratio) noexcept;
// θ0·exp(-γ(V)·ℓ) with γ(V) = γ0·exp(q·ℓ) (itself guarded first).
EosResult variable_exponent_temperature(double theta0, double gamma0, double q, double log_volume_ratio) noexcept;
// T·c·D3(θ/T): the Debye thermal energy with heat-capacity limit c.
EosResult debye_energy(double heat_capacity_limit, double theta, double temperature) noexcept;
// c·(4·D3(u) - 3·ln(-expm1(-u))), u = θ/T: the Debye entropy with prefactor
// c = Cvmax/3 (or n·R).
EosResult debye_entropy(double prefactor, double theta, double temperature) noexcept;
// 3nR·(u·e^-u/(-expm1(-u)) - ln(-expm1(-u))), u = θ/T.
EosResult einstein_entropy(double n, double theta, double temperature) noexcept;

}  // namespace mie_gruneisen

template <IsothermalEos Iso>
class MieGruneisen {
 public:
  using IsothermalModel = Iso;
  static constexpr std::string_view debye_model_name = "MieGruneisenDebye";
  static constexpr std::string_view einstein_model_name = "MieGruneisenEinstein";

  // Checks, in order: "Tr", "theta0" positive; "gamma0", "q" finite; "n"
  // positive; then (Debye form with cvmax given) "Cvmax" positive. Without
  // cvmax, and always in the Einstein form, Cvmax = 3·n·R.
  static EosExpected<MieGruneisen> make(MieGruneisenForm form, Iso isothermal_model, double tr, double theta0,
                                        double gamma0, double q, double n, std::optional<double> cvmax,
                                        DebyeTemperatureLaw law, ThermalPressureReference reference) noexcept {
    if (auto e = ParameterChecks{}
                     .positive("Tr", tr)
                     .positive("theta0", theta0)
                     .finite("gamma0", gamma0)
                     .finite("q", q)
                     .positive("n", n)
                     .error())
      return std::unexpected(*e);
    double heat_capacity_limit = 3.0 * n * kGasConstant;
    if (form == MieGruneisenForm::Debye && cvmax) {
      if (auto e = ParameterChecks{}.positive("Cvmax", *cvmax).error()) return std::unexpected(*e);
      heat_capacity_limit = *cvmax;
    }
    return MieGruneisen(std::move(isothermal_model), tr, theta0, gamma0, q, n, heat_capacity_limit, law, reference,
                        form);
  }

  // The Python factory mie_gruneisen_debye.
  static EosExpected<MieGruneisen> make_debye(
      Iso isothermal_model, double tr, double theta0, double gamma0, double q, double n,
      std::optional<double> cvmax = std::nullopt, DebyeTemperatureLaw law = DebyeTemperatureLaw::IntegratedGruneisen,
      ThermalPressureReference reference = ThermalPressureReference::ReferenceTemperature) noexcept {
    return make(MieGruneisenForm::Debye, std::move(isothermal_model), tr, theta0, gamma0, q, n, cvmax, law,
                reference);
  }

  // The Python factory mie_gruneisen_einstein: integrated_gruneisen,
  // reference_temperature, Cvmax = 3·n·R.
  static EosExpected<MieGruneisen> make_einstein(Iso isothermal_model, double tr, double theta0, double gamma0,
                                                 double q, double n) noexcept {
    return make(MieGruneisenForm::Einstein, std::move(isothermal_model), tr, theta0, gamma0, q, n, std::nullopt,
                DebyeTemperatureLaw::IntegratedGruneisen, ThermalPressureReference::ReferenceTemperature);
  }

  // --- ThermalEos -----------------------------------------------------------
  const Iso& isothermal_model() const noexcept { return isothermal_model_; }
  double reference_temperature() const noexcept { return tr_; }

  // γ(V)·ΔE_th/(10000·V); V then T checked, then the energies, then γ.
  EosResult thermal_pressure(double volume, double temperature) const noexcept {
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    if (auto e = thermal::check_temperature(temperature)) return std::unexpected(*e);
    const EosResult theta = theta_at(volume);
    if (!theta) return theta;
    double delta_energy = 0.0;
    switch (reference_) {
      case ThermalPressureReference::ReferenceTemperature: {
        const EosResult e = energy_at(*theta, temperature);
        if (!e) return e;
        const EosResult e_ref = energy_at(*theta, tr_);
        if (!e_ref) return e_ref;
        delta_energy = *e - *e_ref;
        break;
      }
      case ThermalPressureReference::ReferenceIsentrope: {
        const double t_s = tr_ * *theta / theta0_;
        if (auto err = thermal::check_temperature(t_s)) return std::unexpected(*err);
        const EosResult e = energy_at(*theta, temperature);
        if (!e) return e;
        const EosResult e_ref = energy_at(*theta, t_s);
        if (!e_ref) return e_ref;
        delta_energy = *e - *e_ref;
        break;
      }
      case ThermalPressureReference::AbsoluteZero: {
        const EosResult e = energy_at(*theta, temperature);
        if (!e) return e;
        delta_energy = *e;
        break;
      }
    }
    const EosResult gamma = gruneisen_at(volume);
    if (!gamma) return gamma;
    return guard(*gamma * delta_energy / volume / thermal::kEnergyPerPressureVolume);
  }

  // Thermal pressure measured from Tr: P_th(V, T) - P_th(V, Tr), which is
  // P_th itself for reference_temperature.
  EosResult thermal_pressure_increment(double volume, double temperature) const noexcept {
    if (reference_ == ThermalPressureReference::ReferenceTemperature) return thermal_pressure(volume, temperature);
    const EosResult p = thermal_pressure(volume, temperature);
    if (!p) return p;
    const EosResult p_ref = thermal_pressure(volume, tr_);
    if (!p_ref) return p_ref;
    return guard(*p - *p_ref);
  }

  // --- CaloricEos -----------------------------------------------------------
  // Central difference of E_th in T with dT = 1e-5·T; T checked before V.
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
  // γ(V) = γ0·(V/V0)^q; answers "gruneisen_parameter".
  EosResult gruneisen_function(double volume) const noexcept {
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    return gruneisen_at(volume);
  }

  // θ(V), K.
  EosResult characteristic_temperature(double volume) const noexcept {
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    return theta_at(volume);
  }

  // E_th(V, T), J/mol, no zero-point energy.
  EosResult thermal_energy(double volume, double temperature) const noexcept {
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    if (auto e = thermal::check_temperature(temperature)) return std::unexpected(*e);
    const EosResult theta = theta_at(volume);
    if (!theta) return theta;
    return energy_at(*theta, temperature);
  }

  // S_th(V, T), J/(mol K).
  EosResult thermal_entropy(double volume, double temperature) const noexcept {
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    if (auto e = thermal::check_temperature(temperature)) return std::unexpected(*e);
    const EosResult theta = theta_at(volume);
    if (!theta) return theta;
    if (form_ == MieGruneisenForm::Einstein) return mie_gruneisen::einstein_entropy(n_, *theta, temperature);
    return mie_gruneisen::debye_entropy(cvmax_ / 3.0, *theta, temperature);
  }

  // F_th = E_th - T·S_th.
  EosResult thermal_helmholtz_free_energy(double volume, double temperature) const noexcept {
    const EosResult e = thermal_energy(volume, temperature);
    if (!e) return e;
    const EosResult s = thermal_entropy(volume, temperature);
    if (!s) return s;
    return guard(*e - temperature * *s);
  }

  // P_vib = γ(V)·E_th/(10000·V).
  EosResult vibrational_pressure(double volume, double temperature) const noexcept {
    if (auto e = thermal::check_volume(volume)) return std::unexpected(*e);
    const EosResult gamma = gruneisen_at(volume);
    if (!gamma) return gamma;
    const EosResult e = thermal_energy(volume, temperature);
    if (!e) return e;
    return guard(*gamma * *e / volume / thermal::kEnergyPerPressureVolume);
  }

  // H_th = E_th + 10000·V·P_vib.
  EosResult thermal_enthalpy(double volume, double temperature) const noexcept {
    const EosResult e = thermal_energy(volume, temperature);
    if (!e) return e;
    const EosResult p_vib = vibrational_pressure(volume, temperature);
    if (!p_vib) return p_vib;
    return guard(*e + volume * *p_vib * thermal::kEnergyPerPressureVolume);
  }

  // G_th = F_th + 10000·V·P_vib.
  EosResult thermal_gibbs_free_energy(double volume, double temperature) const noexcept {
    const EosResult f = thermal_helmholtz_free_energy(volume, temperature);
    if (!f) return f;
    const EosResult p_vib = vibrational_pressure(volume, temperature);
    if (!p_vib) return p_vib;
    return guard(*f + volume * *p_vib * thermal::kEnergyPerPressureVolume);
  }

  // --- Identity and parameters ----------------------------------------------
  std::string_view model_name() const noexcept {
    return form_ == MieGruneisenForm::Debye ? debye_model_name : einstein_model_name;
  }
  MieGruneisenForm form() const noexcept { return form_; }
  bool is_debye() const noexcept { return form_ == MieGruneisenForm::Debye; }
  double tr() const noexcept { return tr_; }
  double theta0() const noexcept { return theta0_; }
  double gamma0() const noexcept { return gamma0_; }
  double q() const noexcept { return q_; }
  double n() const noexcept { return n_; }
  // High-temperature limit of Cv used by the Debye form (3·n·R unless given).
  double cvmax() const noexcept { return cvmax_; }
  DebyeTemperatureLaw debye_temperature_law() const noexcept { return law_; }
  ThermalPressureReference thermal_pressure_reference() const noexcept { return reference_; }

 private:
  MieGruneisen(Iso isothermal_model, double tr, double theta0, double gamma0, double q, double n, double cvmax,
               DebyeTemperatureLaw law, ThermalPressureReference reference, MieGruneisenForm form) noexcept
      : isothermal_model_(std::move(isothermal_model)),
        tr_(tr),
        theta0_(theta0),
        gamma0_(gamma0),
        q_(q),
        n_(n),
        cvmax_(cvmax),
        law_(law),
        reference_(reference),
        form_(form) {}

  double log_volume_ratio(double volume) const noexcept {
    return std::log(volume / static_cast<double>(isothermal_model_.v0()));
  }
  // The formulas below take a volume that has already been checked.
  EosResult gruneisen_at(double volume) const noexcept {
    return mie_gruneisen::power_law_gruneisen(gamma0_, q_, log_volume_ratio(volume));
  }
  EosResult theta_at(double volume) const noexcept {
    const double ell = log_volume_ratio(volume);
    if (form_ == MieGruneisenForm::Debye && law_ == DebyeTemperatureLaw::VariableExponent)
      return mie_gruneisen::variable_exponent_temperature(theta0_, gamma0_, q_, ell);
    return mie_gruneisen::integrated_gruneisen_temperature(theta0_, gamma0_, q_, ell);
  }
  EosResult energy_at(double theta, double temperature) const noexcept {
    if (form_ == MieGruneisenForm::Einstein) return einstein_energy(theta, n_, temperature);
    return mie_gruneisen::debye_energy(cvmax_, theta, temperature);
  }

  Iso isothermal_model_;
  double tr_;
  double theta0_;
  double gamma0_;
  double q_;
  double n_;
  double cvmax_;
  DebyeTemperatureLaw law_;
  ThermalPressureReference reference_;
  MieGruneisenForm form_;
};

}  // namespace quorvel
