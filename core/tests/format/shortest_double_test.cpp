#include "format/shortest_double.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace quorvel {
namespace {

// Bitwise equality, so that -0.0 and 0.0 differ.
bool same_double(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

double read_back(const std::string& text) {
  char* end = nullptr;
  const double x = std::strtod(text.c_str(), &end);
  EXPECT_EQ(end, text.c_str() + text.size()) << "unparsed tail in '" << text << "'";
  return x;
}

// Significant digits of a finite, non-zero rendering (leading zeros of
// "0.000..." and the exponent excluded; trailing fixed-form zeros of an
// integer-valued number such as "1000.0" are placeholders, not digits).
int significant_digits(const std::string& text) {
  const std::string mantissa = text.substr(0, text.find('e'));
  std::string digits;
  for (char ch : mantissa)
    if (ch >= '0' && ch <= '9') digits += ch;
  digits.erase(0, digits.find_first_not_of('0'));
  digits.erase(digits.find_last_not_of('0') + 1);
  return static_cast<int>(digits.size());
}

struct Case {
  double x;
  const char* text;
};

TEST(FormatShortest, AwkwardDoubles) {
  const Case cases[] = {
      {1.0, "1.0"},
      {0.1, "0.1"},
      {-2.5, "-2.5"},
      {0.0, "0.0"},
      {-0.0, "-0.0"},
      {1e-4, "0.0001"},
      {1.5e-4, "0.00015"},
      {9.999999999999999e-5, "9.999999999999999e-5"},
      {1e-5, "1e-5"},
      {-1e-5, "-1e-5"},
      {1.25e-10, "1.25e-10"},
      {5e-324, "5e-324"},
      {2.2250738585072014e-308, "2.2250738585072014e-308"},
      {1e15, "1000000000000000.0"},
      {123456789012345.6, "123456789012345.6"},
      {9999999999999998.0, "9999999999999998.0"},
      {1e16, "1e16"},
      {-1e16, "-1e16"},
      {1.5e17, "1.5e17"},
      {1e100, "1e100"},
      {1.7976931348623157e308, "1.7976931348623157e308"},
      {11.2, "11.2"},
      {8.93, "8.93"},
      {0.30000000000000004, "0.30000000000000004"},
      {100.0, "100.0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string text = format_shortest(c.x);
    EXPECT_EQ(text, c.text);
    EXPECT_TRUE(same_double(read_back(text), c.x));
  }
}

TEST(FormatShortest, NonFiniteValues) {
  EXPECT_EQ(format_shortest(std::numeric_limits<double>::quiet_NaN()), "NaN");
  EXPECT_EQ(format_shortest(-std::numeric_limits<double>::quiet_NaN()), "NaN");
  EXPECT_EQ(format_shortest(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(format_shortest(-std::numeric_limits<double>::infinity()), "-inf");
}

// Random bit patterns over the whole finite range, plus random values near
// the two layout switches: every text reads back exactly, uses the layout of
// its magnitude, and has no digit to spare (one digit fewer, correctly
// rounded by printf, reads back to a different double).
TEST(FormatShortest, RandomDoublesRoundTripInShortestForm) {
  std::mt19937_64 rng(20240611);
  std::uniform_real_distribution<double> unit(0.5, 2.0);
  for (int i = 0; i < 6000; ++i) {
    double x;
    switch (i % 3) {
      case 0: x = std::bit_cast<double>(rng()); break;
      case 1: x = 1e-4 * unit(rng); break;
      default: x = 1e16 * unit(rng); break;
    }
    if (!std::isfinite(x) || x == 0.0) continue;
    const std::string text = format_shortest(x);
    SCOPED_TRACE(text);
    ASSERT_TRUE(same_double(read_back(text), x));

    const double magnitude = std::fabs(x);
    const bool plain = magnitude >= 1e-4 && magnitude < 1e16;
    const std::size_t e = text.find('e');
    if (plain) {
      ASSERT_EQ(e, std::string::npos);
      const std::size_t point = text.find('.');
      ASSERT_NE(point, std::string::npos);
      ASSERT_LT(point + 1, text.size());
    } else {
      ASSERT_NE(e, std::string::npos);
      const std::string exponent = text.substr(e + 1);
      ASSERT_EQ(exponent.find('+'), std::string::npos);
      const std::size_t first_digit = exponent.front() == '-' ? 1 : 0;
      ASSERT_NE(exponent[first_digit], '0');
    }

    const int digits = significant_digits(text);
    if (digits > 1) {
      char shorter[64];
      std::snprintf(shorter, sizeof shorter, "%.*e", digits - 2, x);
      ASSERT_FALSE(same_double(std::strtod(shorter, nullptr), x)) << shorter << " also reads back";
    }
  }
}

}  // namespace
}  // namespace quorvel
