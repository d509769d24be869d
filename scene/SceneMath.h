// Pure geometry of the picture: camera course, planet table and positions,
// orbit-line vertices and projection bounds. No OpenGL; the drawing code feeds
// these values to it. Lengths are scene units, angles radians unless named Deg.
#pragma once

#include <array>
#include <cstdint>

#include "util/Visual.h"

struct Vec3 {
  double x, y, z;
};

// The camera's eye for a tick count: the count is read as degrees, and the eye
// runs a closed course of 720 ticks between 41 units away (20.5 above the
// plane of the paths) and 5 units away (2.5 below it), looking at the origin.
Vec3 CameraEye(std::int32_t counter);

// How one planet is drawn. Its angle in a frame is the tick count times
// anglePerTick; its sphere radius is its diameter times radiusFactor.
struct PlanetLook {
  TColor color;
  double anglePerTick;
  double distance;
  double radiusFactor;
  double inclination;
};

// The nine planets from the innermost out, in drawing order.
extern const std::array<PlanetLook, 9> kPlanetLooks;

// A planet's centre on its ellipse: half-axes distance along x and
// 0.7 * distance along y, tilted so that z = tan(inclination) * x.
Vec3 PlanetPosition(double distance, double angle, double inclination);

// The angle of a whole number of degrees, k * pi / 180.
double WholeDegreeAngle(int degrees);

// Vertex k (0..360, whole degrees) of an orbit line with the given half-axes,
// on the same tilted ellipse as PlanetPosition; vertices 0 and 360 meet.
Vec3 OrbitVertex(double xHalfAxis, double yHalfAxis, double inclination, int k);

// glFrustum arguments for a client area; the shorter side spans -1..1 at the
// near plane 1, the far plane is 100.
struct FrustumBounds {
  double left, right, bottom, top, zNear, zFar;
};

// A zero width or height is not special-cased: the bounds become infinite or
// NaN exactly as the formulas give them (the division is done in doubles).
FrustumBounds ProjectionFrustum(int clientWidth, int clientHeight);
