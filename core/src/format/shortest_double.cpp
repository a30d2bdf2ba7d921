#include "format/shortest_double.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace quorvel {

std::string format_shortest(double x) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x > 0.0 ? "inf" : "-inf";
  if (x == 0.0) return std::signbit(x) ? "-0.0" : "0.0";

  // 17 significant digits, sign, point, exponent, or "0.000" before the
  // digits of a fixed-form value near 1e-4: 32 characters are ample.
  std::array<char, 32> buffer{};
  const double magnitude = std::fabs(x);
  if (magnitude >= 1e-4 && magnitude < 1e16) {
    // Without a precision, to_chars writes the shortest round-trip digits.
    char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x, std::chars_format::fixed).ptr;
    std::string text(buffer.data(), end);
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
  }

  // Scientific form from to_chars is "d.ddde+NN" / "de-NN"; keep the
  // mantissa and rewrite the exponent without '+' and leading zeros.
  char* end =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), x, std::chars_format::scientific).ptr;
  const std::string_view full(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
  const std::size_t e = full.find('e');
  std::string text(full.substr(0, e + 1));
  std::string_view exponent = full.substr(e + 1);
  if (exponent.front() == '-') {
    text += '-';
    exponent.remove_prefix(1);
  } else if (exponent.front() == '+') {
    exponent.remove_prefix(1);
  }
  while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
  text += exponent;
  return text;
}

}  // namespace quorvel
