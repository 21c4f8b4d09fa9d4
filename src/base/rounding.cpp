#include "base/rounding.h"

#include <cmath>

namespace morvel {

double RoundHalfEven(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const double scaled = value * scale;
  const double below = std::floor(scaled);
  const double fraction = scaled - below;
  double rounded = below;
  if (fraction > 0.5) {
    rounded = below + 1;
  } else if (fraction == 0.5) {
    rounded = std::fmod(below, 2) == 0 ? below : below + 1;
  }
  return rounded / scale;
}

}  // namespace morvel
