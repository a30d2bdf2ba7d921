#include "isothermal/block_evaluation.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "isothermal/bm2.hpp"
#include "isothermal/bm3.hpp"
#include "isothermal/bm4.hpp"
#include "isothermal/vinet.hpp"

namespace quorvel {
namespace {

// Volumes spread over many decades around V0, so that V0/V also reaches the
// subnormal and huge arguments of the cube root.
std::vector<double> volumes_around(double v0, std::size_t n, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> decades(-12.0, 12.0);
  std::uniform_real_distribution<double> near(0.5, 1.1);
  std::vector<double> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = v0 * (i % 2 ? near(rng) : std::pow(10.0, decades(rng)));
  v[0] = v0;
  return v;
}

// The block gives exactly the checked evaluation's values when it reports
// success, and reports failure exactly when some element has an error.
template <class M, class Checked, class Formula>
void expect_block_matches(const M& model, Checked checked, Formula formula, const std::vector<double>& volumes) {
  constexpr std::size_t block = 256;
  std::vector<double> out(volumes.size());
  for (std::size_t start = 0; start < volumes.size(); start += block) {
    const std::size_t n = std::min(block, volumes.size() - start);
    const bool ok = isothermal::evaluate_block(formula, volumes.data() + start, out.data() + start, n);
    bool all_valid = true;
    for (std::size_t i = start; i < start + n; ++i) {
      const EosResult r = checked(model, volumes[i]);
      all_valid = all_valid && r.has_value();
      if (ok) ASSERT_EQ(out[i], *r) << "volume " << volumes[i];
    }
    EXPECT_EQ(ok, all_valid) << "block at " << start;
  }
}

template <class M>
void check_model(const M& model, unsigned seed) {
  auto valid = volumes_around(model.v0(), 4096, seed);
  auto pressure = [](const M& m, double v) { return m.pressure(v); };
  auto bulk_modulus = [](const M& m, double v) { return m.bulk_modulus(v); };
  auto p_formula = [&model](double v) { return model.pressure_formula(v); };
  auto k_formula = [&model](double v) { return model.bulk_modulus_formula(v); };
  expect_block_matches(model, pressure, p_formula, valid);
  expect_block_matches(model, bulk_modulus, k_formula, valid);

  // Blocks holding invalid volumes or overflowing results are reported.
  constexpr double inf = std::numeric_limits<double>::infinity();
  for (double bad : {0.0, -0.0, -1.0, inf, std::numeric_limits<double>::quiet_NaN(), 1e-300 * model.v0(),
                     std::numeric_limits<double>::denorm_min()}) {
    auto volumes = volumes_around(model.v0(), 256, seed + 1);
    for (double& v : volumes) v = std::min(std::max(v, 0.5 * model.v0()), 1.1 * model.v0());
    volumes[137] = bad;
    expect_block_matches(model, pressure, p_formula, volumes);
  }
}

TEST(BlockEvaluation, BirchMurnaghanBlocksAgreeWithTheCheckedEvaluationToTheBit) {
  check_model(*BM2::make(11.248, 160.0), 1);
  check_model(*BM3::make(11.248, 160.0, 4.0), 2);
  check_model(*BM3::make(1e-300, 3.0, 7.5), 3);
  check_model(*BM3::make(1e280, 1e-3, -2.0), 4);
  check_model(*BM4::make(112.981, 37.1, 6.0, -0.4), 5);
}

TEST(BlockEvaluation, VinetBlocksAgreeWithTheCheckedEvaluationToTheBit) {
  check_model(*Vinet::make(11.248, 160.0, 4.0), 6);
  check_model(*Vinet::make(1e-300, 3.0, 12.0), 7);
  check_model(*Vinet::make(40.0, 0.5, -1.0), 8);
}

TEST(BlockEvaluation, EmptyBlockIsValid) {
  const BM3 model = *BM3::make(11.248, 160.0, 4.0);
  double out = 0.0;
  EXPECT_TRUE(isothermal::evaluate_block([&model](double v) { return model.pressure_formula(v); }, nullptr, &out, 0));
}

}  // namespace
}  // namespace quorvel
