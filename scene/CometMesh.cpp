// The comet's placement on its path, its tail factor and its two colours.
#include "scene/CometMesh.h"

namespace {

constexpr double kTailReach = 60;
constexpr double kShortestTailFactor = 0.5;

}  // namespace

CometPlacement PlaceComet(double pathAngle) {
  const double y = kCometPathYSemiAxis * std::cos(pathAngle) + kCometPathCentreY;
  const double z = kCometPathZSemiAxis * std::sin(pathAngle);
  return {y, z, DirectionAngle(y, z) * 180 / kPi, Distance3D(0, y, z)};
}

double CometTailFactor(double distance) {
  const double factor = kTailReach / distance;
  // Compared this way round, a NaN factor (from a NaN distance) is passed on.
  if (kShortestTailFactor >= factor) {
    return kShortestTailFactor;
  }
  return factor;
}

TColor CometPathColor() {
  return MixColor(0xC0C0C0, 0x000000, 75, 100);
}

TColor CometBaseColor() {
  return AverageColor(0x800080, 0xFF0000);
}
