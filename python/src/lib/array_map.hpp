// Element-wise evaluation of scalar operations over NumPy arrays.
//
// Inputs are float64 arrays of any shape and strides, read in logical C
// order; the output is a new C-ordered array of the same shape that owns the
// buffer the evaluation wrote into.
//
//   count <= threshold  evaluate on the calling thread, attached, and stop at
//                       the first failing element
//   count >  threshold  copy the input once (into what becomes the output
//                       buffer), detach, evaluate every element on the
//                       process-wide TBB pool in place, re-attach
//
// Either way the error raised is the one of the first failing element in
// logical order, so both paths are observably identical.
#pragma once

#include <nanobind/nanobind.h>
#include <nanobind/ndarray.h>
#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>

#include "lib/errors.hpp"

namespace quorvel::py {

namespace nb = nanobind;

// A read-only float64 array of any shape and strides. Bind arguments of this
// type with .noconvert() so that other dtypes and non-arrays are refused.
using ArrayIn = nb::ndarray<const double, nb::ro>;

// Parallel thresholds: arrays with more elements go to the worker pool.
inline constexpr std::size_t kClosedFormThreshold = 65535;
inline constexpr std::size_t kIsothermalVolumeThreshold = 511;
inline constexpr std::size_t kThermalThreshold = 2047;

namespace detail {

inline std::size_t element_count(const ArrayIn& a) noexcept {
  std::size_t n = 1;
  for (std::size_t d = 0; d < a.ndim(); ++d) n *= a.shape(d);
  return n;
}

// Walks the elements of a strided array in logical C order.
class Walker {
 public:
  explicit Walker(const ArrayIn& a) noexcept : data_(a.data()), ndim_(a.ndim()), array_(a) {
    index_.fill(0);
  }
  double operator*() const noexcept { return data_[offset_]; }
  void next() noexcept {
    for (std::size_t d = ndim_; d-- > 0;) {
      const std::int64_t stride = array_.stride(d);
      if (++index_[d] < array_.shape(d)) {
        offset_ += stride;
        return;
      }
      offset_ -= stride * static_cast<std::int64_t>(index_[d] - 1);
      index_[d] = 0;
    }
  }

 private:
  const double* data_;
  std::size_t ndim_;
  const ArrayIn& array_;
  std::array<std::size_t, 64> index_;
  std::int64_t offset_ = 0;
};

inline bool is_c_contiguous(const ArrayIn& a) noexcept {
  std::int64_t expected = 1;
  for (std::size_t d = a.ndim(); d-- > 0;) {
    if (a.shape(d) != 1 && a.stride(d) != expected) return false;
    expected *= static_cast<std::int64_t>(a.shape(d));
  }
  return true;
}

inline void copy_logical(const ArrayIn& a, std::size_t n, double* out) noexcept {
  if (is_c_contiguous(a)) {
    std::copy_n(a.data(), n, out);
    return;
  }
  Walker w(a);
  for (std::size_t i = 0; i < n; ++i, w.next()) out[i] = *w;
}

inline nb::object make_output(const ArrayIn& shape_of, std::unique_ptr<double[]> buffer) {
  std::array<std::size_t, 64> shape{};
  for (std::size_t d = 0; d < shape_of.ndim(); ++d) shape[d] = shape_of.shape(d);
  double* data = buffer.get();
  nb::capsule owner(data, [](void* p) noexcept { delete[] static_cast<double*>(p); });
  buffer.release();
  return nb::ndarray<nb::numpy, double>(data, shape_of.ndim(), shape.data(), owner).cast();
}

// The error of the lowest failing index among concurrently evaluated elements.
template <class E>
class FirstError {
 public:
  void offer(std::size_t index, const E& error) {
    std::lock_guard lock(mutex_);
    if (!error_ || index < index_) index_ = index, error_ = error;
  }
  std::optional<E>& error() noexcept { return error_; }

 private:
  std::mutex mutex_;
  std::size_t index_ = 0;
  std::optional<E> error_;
};

template <class Body>
void parallel_over(std::size_t n, Body&& body) {
  const std::size_t workers = static_cast<std::size_t>(std::max(1, tbb::this_task_arena::max_concurrency()));
  const std::size_t grain = std::max<std::size_t>(1, n / (16 * workers));
  nb::gil_scoped_release detached;
  tbb::parallel_for(tbb::blocked_range<std::size_t>(0, n, grain),
                    [&](const tbb::blocked_range<std::size_t>& r) { body(r.begin(), r.end()); });
}

template <class F, class... X>
using ErrorOf = typename std::invoke_result_t<F&, X...>::error_type;

inline bool same_shape(const ArrayIn& a, const ArrayIn& b) noexcept {
  if (a.ndim() != b.ndim()) return false;
  for (std::size_t d = 0; d < a.ndim(); ++d)
    if (a.shape(d) != b.shape(d)) return false;
  return true;
}

}  // namespace detail

// No block evaluator: every element goes through f.
struct NoBlock {};

// Elements handed to a block evaluator at a time (a few kB on the stack).
inline constexpr std::size_t kBlockSize = 256;

namespace detail {

// Evaluates in[0..n) into out: by blocks where a block evaluator is given
// (block(in, out, count) -> true when all of them are valid values), and
// element by element through f otherwise or for a block that reported a
// failure. on_error(index, error) returns true to stop.
template <class F, class Block, class OnError>
void evaluate_range(F& f, const Block& block, const double* in, double* out, std::size_t n, OnError&& on_error) {
  for (std::size_t start = 0; start < n; start += kBlockSize) {
    const std::size_t count = std::min(kBlockSize, n - start);
    if constexpr (!std::is_same_v<Block, NoBlock>) {
      if (block(in + start, out + start, count)) continue;
    }
    for (std::size_t i = start; i < start + count; ++i) {
      auto r = f(in[i]);
      if (r)
        out[i] = *r;
      else if (on_error(i, r.error()))
        return;
    }
  }
}

}  // namespace detail

// f: double -> std::expected<double, E>, with E an error raise() translates;
// block, if given, a faster evaluator of whole blocks (see evaluate_range).
template <class F, class Block = NoBlock>
nb::object map_array(const ArrayIn& input, std::size_t threshold, F&& f, const Block& block = {}) {
  using E = detail::ErrorOf<F, double>;
  const std::size_t n = detail::element_count(input);
  auto out = std::make_unique_for_overwrite<double[]>(std::max<std::size_t>(n, 1));
  if (n <= threshold) {
    // On the calling thread, stopping at the first failing element. Blocks
    // read the input directly when it is contiguous, else a copy of each block.
    std::optional<E> failure;
    auto stop = [&failure](std::size_t, const E& error) {
      failure = error;
      return true;
    };
    if (detail::is_c_contiguous(input)) {
      detail::evaluate_range(f, block, input.data(), out.get(), n, stop);
    } else {
      detail::Walker w(input);
      double chunk[kBlockSize];
      for (std::size_t start = 0; start < n && !failure; start += kBlockSize) {
        const std::size_t count = std::min(kBlockSize, n - start);
        for (std::size_t i = 0; i < count; ++i, w.next()) chunk[i] = *w;
        detail::evaluate_range(f, block, chunk, out.get() + start, count, stop);
      }
    }
    if (failure) raise(*failure);
  } else {
    // Copy once, detach, evaluate everything on the pool; the lowest failing
    // index wins. Each task reads its input from a copy of its block, so the
    // results can be written over the copied input in place.
    double* buffer = out.get();
    detail::copy_logical(input, n, buffer);
    detail::FirstError<E> first;
    detail::parallel_over(n, [&](std::size_t begin, std::size_t end) {
      double chunk[kBlockSize];
      for (std::size_t start = begin; start < end; start += kBlockSize) {
        const std::size_t count = std::min(kBlockSize, end - start);
        std::copy_n(buffer + start, count, chunk);
        detail::evaluate_range(f, block, chunk, buffer + start, count, [&](std::size_t i, const E& error) {
          first.offer(start + i, error);
          return false;
        });
      }
    });
    if (first.error()) raise(*first.error());
  }
  return detail::make_output(input, std::move(out));
}

// f: (double, double) -> std::expected<double, E>, over two arrays of
// identical shape (no broadcasting here; callers broadcast beforehand).
template <class F>
nb::object map_array2(const ArrayIn& first, const ArrayIn& second, std::size_t threshold, F&& f) {
  using E = detail::ErrorOf<F, double, double>;
  if (!detail::same_shape(first, second))
    raise(python_validation_error("native array inputs must have matching broadcasted shapes"));
  const std::size_t n = detail::element_count(first);
  auto out = std::make_unique_for_overwrite<double[]>(std::max<std::size_t>(n, 1));
  if (n <= threshold) {
    detail::Walker a(first), b(second);
    for (std::size_t i = 0; i < n; ++i, a.next(), b.next()) {
      auto r = f(*a, *b);
      if (!r) raise(r.error());
      out[i] = *r;
    }
  } else {
    double* buffer = out.get();
    auto other = std::make_unique_for_overwrite<double[]>(n);
    detail::copy_logical(first, n, buffer);
    detail::copy_logical(second, n, other.get());
    const double* seconds = other.get();
    detail::FirstError<E> failure;
    detail::parallel_over(n, [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) {
        auto r = f(buffer[i], seconds[i]);
        if (r)
          buffer[i] = *r;
        else
          failure.offer(i, r.error());
      }
    });
    if (failure.error()) raise(*failure.error());
  }
  return detail::make_output(first, std::move(out));
}

// A one-dimensional float64 array holding a copy of the values.
inline nb::object vector_array(std::span<const double> values) {
  auto out = std::make_unique_for_overwrite<double[]>(std::max<std::size_t>(values.size(), 1));
  std::copy(values.begin(), values.end(), out.get());
  const std::size_t shape[1] = {values.size()};
  double* data = out.get();
  nb::capsule owner(data, [](void* p) noexcept { delete[] static_cast<double*>(p); });
  out.release();
  return nb::ndarray<nb::numpy, double>(data, 1, shape, owner).cast();
}

}  // namespace quorvel::py
