// Plane and space geometry for the comet: the direction of a planar vector and
// the distance between two points. Pure functions of doubles, no state, no errors.
#pragma once

// The angle constants the geometry works with, as these exact doubles.
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kThreeHalvesPi = 4.71238898038469;
inline constexpr double kTwoPi = 6.283185307179586;

// Direction of the vector from (x1, y1) to (x2, y2) in radians, in [0, 2pi):
// 0 along +x, pi/2 along +y. A zero vector (equal points) gives 3pi/2.
// Differences are compared with exactly zero; a negative zero counts as zero.
double DirectionAngle(double x1, double y1, double x2, double y2);

// Direction of the vector from the origin to (x, y); see the two-point form.
double DirectionAngle(double x, double y);

// Straight-line distance between (x1, y1, z1) and (x2, y2, z2).
double Distance3D(double x1, double y1, double z1, double x2, double y2, double z2);

// Distance of (x, y, z) from the origin.
double Distance3D(double x, double y, double z);
