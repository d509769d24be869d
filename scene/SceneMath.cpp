// Camera course, planet table and positions, orbit vertices and frustum bounds.
#include "scene/SceneMath.h"

#include <cmath>

#include "util/Algebra.h"

namespace {

constexpr double kNear = 1;
constexpr double kFar = 100;
constexpr double kPathFlattening = 0.7;

}  // namespace

const std::array<PlanetLook, 9> kPlanetLooks = {{
    {0x808080, 0.1, 4, 0.00005, 0},
    {0xFF00FF, 0.09, 6, 0.00005, 0},
    {0xFFFF00, 0.07, 8, 0.00005, 0},
    {0x0000FF, 0.065, 10, 0.00005, 0},
    {0xFF0000, 0.05, 13, 0.00001, 0},
    {0x808000, 0.04, 17, 0.00001, 0},
    {0xC0C0C0, 0.03, 21, 0.00001, 0},
    {0x008000, 0.02, 25, 0.00001, 0},
    {0x008080, 0.01, 29, 0.0001, 0.2},
}};

Vec3 CameraEye(std::int32_t counter) {
  const double a = counter * kPi / 180;
  const double b = a * 0.5;
  const double r = 18 * std::cos(b) + 23;
  return {r * std::cos(a), r * std::sin(a), 0.5 * r * std::cos(b)};
}

Vec3 PlanetPosition(double distance, double angle, double inclination) {
  const double h = kPathFlattening * distance;
  const double x = distance * std::cos(angle);
  return {x, h * std::sin(angle), std::tan(inclination) * x};
}

double WholeDegreeAngle(int degrees) {
  return degrees * kPi / 180;
}

Vec3 OrbitVertex(double xHalfAxis, double yHalfAxis, double inclination, int k) {
  const double t = WholeDegreeAngle(k);
  const double x = xHalfAxis * std::cos(t);
  return {x, yHalfAxis * std::sin(t), std::tan(inclination) * x};
}

FrustumBounds ProjectionFrustum(int clientWidth, int clientHeight) {
  const double aspect = static_cast<double>(clientHeight) / static_cast<double>(clientWidth);
  if (aspect >= 1) {
    return {-1, 1, -aspect, aspect, kNear, kFar};
  }
  return {-1 / aspect, 1 / aspect, -1, 1, kNear, kFar};
}
