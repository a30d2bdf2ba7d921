#include "isothermal/all_models.hpp"

#include <gtest/gtest.h>

#include <string_view>
#include <type_traits>

#include "isothermal/isothermal_eos.hpp"

namespace quorvel {
namespace {

// Every model of the set is an IsothermalEos value type with its published name.
template <class M>
constexpr bool is_model_named(std::string_view name) {
  return IsothermalEos<M> && std::is_trivially_copyable_v<M> && M::model_name == name;
}

static_assert(is_model_named<Baonza>("Baonza"));
static_assert(is_model_named<DensityPolynomial3>("DensityPolynomial3"));
static_assert(is_model_named<BM2>("BM2"));
static_assert(is_model_named<BM3>("BM3"));
static_assert(is_model_named<BM4>("BM4"));
static_assert(is_model_named<Morse3>("Morse3"));
static_assert(is_model_named<Murnaghan>("Murnaghan"));
static_assert(is_model_named<SecondOrderMurnaghan>("SecondOrderMurnaghan"));
static_assert(is_model_named<ModifiedTait>("ModifiedTait"));
static_assert(is_model_named<NaturalStrain2>("NaturalStrain2"));
static_assert(is_model_named<NaturalStrain3>("NaturalStrain3"));
static_assert(is_model_named<NaturalStrain4>("NaturalStrain4"));
static_assert(is_model_named<RydbergStacey>("RydbergStacey"));
static_assert(is_model_named<SunMorse3>("SunMorse3"));
static_assert(is_model_named<SunMorse4>("SunMorse4"));
static_assert(is_model_named<Vinet>("Vinet"));
static_assert(is_model_named<Holzapfel>("Holzapfel"));

// Models are built only through make.
static_assert(!std::is_default_constructible_v<Vinet>);
static_assert(!std::is_default_constructible_v<DensityPolynomial3>);

TEST(AllIsothermalModels, HeaderDeclaresTheHolzapfelAnalyticalDerivative) {
  EosResult (*f)(double, double, double, double, double, double) noexcept =
      &holzapfel_bulk_modulus_derivative_analytical;
  EXPECT_NE(f, nullptr);
}

}  // namespace
}  // namespace quorvel
