// Recording callables for solver tests.
//
// A CountingFunction wraps a test function (double -> double or EosResult)
// and appends every argument it is evaluated at to a log, so a test can
// assert the exact search geometry of a solver (trial points, bracket ends,
// midpoints, final check) and its evaluation budget. The log is shared by
// all copies of the callable, so a solver that copies its function object
// still records into the same log.
//
// The wrapped function may also take the zero-based call index as a second
// argument, to script a failure at one particular evaluation.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "error/eos_error.hpp"

namespace quorvel::testing {

class CountingFunction {
 public:
  using Indexed = std::function<EosResult(double, std::size_t)>;

  // f(x) or f(x, call_index), returning double or EosResult.
  template <class F>
  explicit CountingFunction(F f) : f_(adapt(std::move(f))), calls_(std::make_shared<std::vector<double>>()) {}

  EosResult operator()(double x) const {
    const std::size_t index = calls_->size();
    calls_->push_back(x);
    return f_(x, index);
  }

  const std::vector<double>& calls() const noexcept { return *calls_; }
  std::size_t count() const noexcept { return calls_->size(); }
  double last() const { return calls_->back(); }
  void reset() const { calls_->clear(); }

 private:
  template <class F>
  static Indexed adapt(F f) {
    if constexpr (std::is_invocable_v<F&, double, std::size_t>) {
      return [f = std::move(f)](double x, std::size_t i) mutable -> EosResult { return f(x, i); };
    } else {
      return [f = std::move(f)](double x, std::size_t) mutable -> EosResult { return f(x); };
    }
  }

  Indexed f_;
  std::shared_ptr<std::vector<double>> calls_;
};

}  // namespace quorvel::testing
