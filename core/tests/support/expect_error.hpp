// Assertions on value-or-error results.
#pragma once

#include <gtest/gtest.h>

#include "error/eos_error.hpp"

namespace quorvel::testing {

// The result is an error of the given kind (and, where given, name/message).
inline ::testing::AssertionResult is_error(const EosResult& r, EosErrorKind kind, std::string_view name = {},
                                           std::string_view message = {}) {
  if (r) return ::testing::AssertionFailure() << "expected an error, got value " << *r;
  const EosError& e = r.error();
  if (e.kind() != kind || (!name.empty() && e.name() != name) || (!message.empty() && e.message() != message))
    return ::testing::AssertionFailure() << "got error '" << e.display() << "'";
  return ::testing::AssertionSuccess();
}

template <class T>
::testing::AssertionResult is_error(const EosExpected<T>& r, EosErrorKind kind, std::string_view name = {},
                                    std::string_view message = {}) {
  if (r) return ::testing::AssertionFailure() << "expected an error, got a value";
  const EosError& e = r.error();
  if (e.kind() != kind || (!name.empty() && e.name() != name) || (!message.empty() && e.message() != message))
    return ::testing::AssertionFailure() << "got error '" << e.display() << "'";
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult is_parameter_error(auto const& r, std::string_view name, std::string_view message) {
  return is_error(r, EosErrorKind::InvalidParameter, name, message);
}

inline double value_of(const EosResult& r) {
  EXPECT_TRUE(r.has_value()) << (r ? std::string() : r.error().display());
  return r ? *r : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace quorvel::testing
