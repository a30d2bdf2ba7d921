// Closed-form evaluation over a contiguous block of volumes.
//
// A model that exposes its formulas alone (pressure_formula,
// bulk_modulus_formula: the arithmetic of pressure and bulk_modulus without
// the volume check and the result guard) can be evaluated a block at a time
// in a loop the compiler vectorises, instead of element by element through
// EosResult. The block reports whether every volume passed the check and
// every result was finite; then each out[i] is exactly the value the checked
// evaluation returns (same operations, no contraction into fused
// multiply-adds). Otherwise the caller evaluates that block again element by
// element, which yields the errors.
#pragma once

#include <cfloat>
#include <cmath>
#include <concepts>
#include <cstddef>

namespace quorvel::isothermal {

template <class M>
concept HasPressureFormula = requires(const M& m, double v) {
  { m.pressure_formula(v) } -> std::same_as<double>;
};

template <class M>
concept HasBulkModulusFormula = requires(const M& m, double v) {
  { m.bulk_modulus_formula(v) } -> std::same_as<double>;
};

// Vector code for the instruction sets present, chosen when the program loads.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define QUORVEL_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define QUORVEL_VECTOR_CLONES
#endif

// out[i] = formula(in[i]) for i < n; true when all of them are valid values.
template <class Formula>
QUORVEL_VECTOR_CLONES bool evaluate_block(const Formula& formula, const double* __restrict in,
                                          double* __restrict out, std::size_t n) noexcept {
  unsigned invalid = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double v = in[i];
    const double r = formula(v);
    invalid |= static_cast<unsigned>(!((v > 0.0) & (v <= DBL_MAX) & (std::fabs(r) <= DBL_MAX)));
    out[i] = r;
  }
  return invalid == 0;
}

}  // namespace quorvel::isothermal
