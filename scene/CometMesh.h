// Pure geometry of the comet: where it stands on its path, how long its tail
// is, and the exact vertex and colour sequence of its body and path line, handed
// to a sink so the OpenGL code only forwards the calls. No OpenGL here.
#pragma once

#include <cmath>

#include "scene/SceneMath.h"
#include "util/Algebra.h"
#include "util/Visual.h"

// The comet at one path angle (radians): its offset (0, y, z) from the sun, the
// rotation about +x in degrees that turns its tail (+y) away from the sun, and
// its distance from the sun.
struct CometPlacement {
  double y, z, rotationDeg, distance;
};

// The path is the ellipse y = 40 cos a + 10, z = 10 sin a in the plane x = 0.
CometPlacement PlaceComet(double pathAngle);

// Stretch of the tail for a distance from the sun: 60 / distance, at least 0.5.
double CometTailFactor(double distance);

// Colour of the path line: 75 % of the way from silver to black (0x303030).
TColor CometPathColor();

// Colour of the sun-facing tip: purple averaged with blue (0xBF0040).
TColor CometBaseColor();

inline constexpr int kCometRings = 80;
inline constexpr int kCometSegments = 40;
// The path: semi-axes along y and z, and its centre's offset along y from the sun.
inline constexpr double kCometPathYSemiAxis = 40;
inline constexpr double kCometPathZSemiAxis = 10;
inline constexpr double kCometPathCentreY = 10;

namespace comet_detail {

// Ring boundary k (0..kCometRings) of the body: its axial coordinate and radius.
struct RingBoundary {
  double y, radius;
};

inline RingBoundary ringBoundary(int k, double tailFactor) {
  const double h = k / static_cast<double>(kCometRings) - 0.5;
  // The sun side is a hemisphere of radius 0.25; the far side is the tail.
  const double y = h >= 0 ? h * tailFactor : h * 0.5;
  return {y, std::sqrt(0.0625 - h * h * 0.25)};
}

inline double segmentAngle(int j) {
  return j * kTwoPi / kCometSegments;
}

}  // namespace comet_detail

// Walks the body as kCometRings x kCometSegments quads in drawing order. Each
// quad is: color(cA), vertex 1; color(cB), vertex 2; vertex 3; color(cA),
// vertex 4, where cA and cB are the colours of the ring's two boundaries.
// The axis is local y, head towards -y; no normals (the body is drawn unlit).
// Sink needs color(TColor) and vertex(double x, double y, double z).
template <class Sink>
void EmitCometBody(double distance, Sink& sink) {
  const TColor base = CometBaseColor();
  const double tailFactor = CometTailFactor(distance);
  for (int i = 0; i < kCometRings; ++i) {
    const TColor cA = MixColor(base, 0xFFFFFF, i, kCometRings);
    const TColor cB = MixColor(base, 0xFFFFFF, i + 1, kCometRings);
    // Not "near" and "far": <windows.h> defines those as macros.
    const auto inner = comet_detail::ringBoundary(i, tailFactor);
    const auto outer = comet_detail::ringBoundary(i + 1, tailFactor);
    for (int j = 0; j < kCometSegments; ++j) {
      const double a1 = comet_detail::segmentAngle(j);
      const double a2 = comet_detail::segmentAngle(j + 1);
      sink.color(cA);
      sink.vertex(inner.radius * std::cos(a1), inner.y, inner.radius * std::sin(a1));
      sink.color(cB);
      sink.vertex(outer.radius * std::cos(a1), outer.y, outer.radius * std::sin(a1));
      sink.vertex(outer.radius * std::cos(a2), outer.y, outer.radius * std::sin(a2));
      sink.color(cA);
      sink.vertex(inner.radius * std::cos(a2), inner.y, inner.radius * std::sin(a2));
    }
  }
}

// Walks the path line: 361 vertices (0, ry cos t + 10, rz sin t) for t = 0..360
// whole degrees, the last on the first. Sets no colour: see CometPathColor.
template <class Sink>
void EmitCometPath(double ySemiAxis, double zSemiAxis, Sink& sink) {
  for (int k = 0; k <= 360; ++k) {
    const double t = WholeDegreeAngle(k);
    sink.vertex(0.0, ySemiAxis * std::cos(t) + kCometPathCentreY, zSemiAxis * std::sin(t));
  }
}
