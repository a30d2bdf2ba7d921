// Closed-form and quadrature-based special functions of the thermal models.
//
//   debye_function_3(x)        D3(x) = (3/x³) ∫_0^x t³/(e^t - 1) dt
//                                x < 0.001:   1 - 3x/8 + x²/20 - x⁴/1680
//                                x > 150:     π⁴/(5x³)
//                                otherwise:   integrate(t³/expm1(t), 0, x)
//   einstein_energy(θ, n, T)   3nRθ/(e^(θ/T) - 1)                  J/mol
//   bose_mode_energy(θ, T, m)  θ(m-1)/(2m) + Tθm/((Tm + θ)((1 + θ/(mT))^m - 1))   K
//                              (tends to θ/2 + θ/(e^(θ/T) - 1) as m → ∞)
//   sokolova_einstein_energy   θ/2 + θ/(e^(θ/T) - 1)                K
//   sokolova_gruneisen_integrand(x, P, K, K', δ, t, β) = γ(x)/x with
//     t_x = t - β x^(1/3),
//     γ   = (9KK' - 3K + 2 t_x P - 6 t_x K)/(6(3K - 2 t_x P)) + δ
//
// The oscillator energies only ever form e^(-θ/T), so they tend to 0 rather
// than overflow at large θ/T. Every result passes the finiteness guard.
#pragma once

#include "error/eos_error.hpp"

namespace quorvel {

inline constexpr double kGasConstant = 8.31446261815324;  // J/(mol K)
inline constexpr double kPiToTheFourth = 97.40909103400242;
inline constexpr double kMachineEpsilon = 0x1p-52;

// Integrand of D3: t³/expm1(t), and 0 for |t| < 2^-52 (removable singularity).
EosResult debye_integrand(double t) noexcept;

// D3(x); x must be positive and finite ("Debye-function argument").
EosResult debye_function_3(double x) noexcept;

// 3·n·R·θ/(e^(θ/T) - 1), J/mol, without zero-point term. Only T is checked.
EosResult einstein_energy(double theta, double n, double temperature) noexcept;

// One generalised Bose–Einstein mode with exponent parameter m, in kelvin.
EosResult bose_mode_energy(double theta, double temperature, double m) noexcept;

// θ/2 + θ/(e^(θ/T) - 1), in kelvin, zero-point term included.
EosResult sokolova_einstein_energy(double theta, double temperature) noexcept;

// γ(x)/x of the free-volume Grüneisen parameter; no argument checks.
EosResult sokolova_gruneisen_integrand(double x, double pressure, double bulk_modulus, double bulk_modulus_derivative,
                                       double delta, double t, double beta) noexcept;

}  // namespace quorvel
