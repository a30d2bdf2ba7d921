// Shortest round-trip decimal text of a double, for debug renderings of
// model values.
//
// The digits are the fewest that read back (strtod) to the same double; the
// layout is chosen by magnitude:
//
//   0 and 1e-4 <= |x| < 1e16   plain decimal, at least one digit after the
//                              point:   1.0   0.1   0.0001   9999999999999998.0
//   otherwise                  d[.ddd]e[-]N, no plus sign, no leading zeros
//                              in N:    1e-5   1e16   5e-324   1.7976931348623157e308
//
// Zero keeps its sign ("-0.0"). The non-finite values, which no validated
// model holds, render as "NaN", "inf" and "-inf".
#pragma once

#include <string>

namespace quorvel {

std::string format_shortest(double x);

}  // namespace quorvel
