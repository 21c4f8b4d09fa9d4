// Rounding of decimal amounts where the half has to go one fixed way.
#pragma once

namespace morvel {

// `value` rounded to `decimals` places (0 to 9); an exact half goes to the
// even neighbour (0.125 gives 0.12, 0.135 gives 0.14 at two places), so that
// halves do not all drift upwards as with std::round.
double RoundHalfEven(double value, int decimals);

}  // namespace morvel
