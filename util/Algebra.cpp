// Direction angles and distances; the comet turns and sizes its body with them.
#include "util/Algebra.h"

#include <cmath>

double DirectionAngle(double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  // The axes are settled first, so the quotient below never divides by zero.
  if (dx == 0) {
    return dy > 0 ? kHalfPi : kThreeHalvesPi;
  }
  if (dy == 0) {
    return dx > 0 ? 0.0 : kPi;
  }
  const double t = std::atan(dy / dx);
  if (dx > 0) {
    return dy > 0 ? t : t + kTwoPi;
  }
  return t + kPi;
}

double DirectionAngle(double x, double y) {
  return DirectionAngle(0, 0, x, y);
}

double Distance3D(double x1, double y1, double z1, double x2, double y2, double z2) {
  const double d1 = x2 - x1;
  const double d2 = y2 - y1;
  const double d3 = z2 - z1;
  return std::sqrt(d1 * d1 + d2 * d2 + d3 * d3);
}

double Distance3D(double x, double y, double z) {
  return Distance3D(0, 0, 0, x, y, z);
}
