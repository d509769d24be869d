// The comet's placement along its path, its tail, its colours and the exact
// sequence of colours and vertices its body and path line are drawn with.
#include "scene/CometMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Values the comet's description gives to three or four places.
constexpr double kRounded = 5e-4;
// Values that are exact in theory but pass through rounded sines and cosines.
constexpr double kRoundOff = 1e-12;

struct Call {
  bool isColor;
  TColor color;
  double x, y, z;
};

// Records what the drawing code would forward to OpenGL.
struct RecordingSink {
  std::vector<Call> calls;
  void color(TColor c) { calls.push_back({true, c, 0, 0, 0}); }
  void vertex(double x, double y, double z) { calls.push_back({false, 0, x, y, z}); }
};

// One quad as drawn: the colour calls before vertices 1, 2 and 4, and the four vertices.
struct Quad {
  TColor colourBefore1, colourBefore2, colourBefore4;
  Call v[4];
};

// Splits the calls into quads, checking the pattern colour, vertex, colour,
// vertex, vertex, colour, vertex on the way.
std::vector<Quad> quadsOf(const std::vector<Call>& calls) {
  std::vector<Quad> quads;
  for (std::size_t i = 0; i + 7 <= calls.size(); i += 7) {
    const bool pattern[7] = {true, false, true, false, false, true, false};
    for (int k = 0; k < 7; ++k) {
      EXPECT_EQ(calls[i + k].isColor, pattern[k]) << "call " << i + k;
    }
    quads.push_back({calls[i].color,
                     calls[i + 2].color,
                     calls[i + 5].color,
                     {calls[i + 1], calls[i + 3], calls[i + 4], calls[i + 6]}});
  }
  return quads;
}

std::vector<Quad> bodyAt(double distance) {
  RecordingSink sink;
  EmitCometBody(distance, sink);
  EXPECT_EQ(sink.calls.size() % 7, 0u);
  return quadsOf(sink.calls);
}

const Quad& quadAt(const std::vector<Quad>& quads, int ring, int segment) {
  return quads[static_cast<std::size_t>(ring * 40 + segment)];
}

double distanceFromCentre(const Call& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

}  // namespace

TEST(PlaceComet, FarEndOfThePath) {
  const CometPlacement p = PlaceComet(0);
  EXPECT_EQ(p.y, 50.0);
  EXPECT_EQ(p.z, 0.0);
  EXPECT_EQ(p.rotationDeg, 0.0);
  EXPECT_EQ(p.distance, 50.0);
  EXPECT_EQ(CometTailFactor(p.distance), 1.2);
}

TEST(PlaceComet, HighestPointAboveThePlane) {
  const CometPlacement p = PlaceComet(1.5707963267948966);
  EXPECT_NEAR(p.y, 10, kRoundOff);
  EXPECT_NEAR(p.z, 10, kRoundOff);
  EXPECT_NEAR(p.rotationDeg, 45, kRoundOff);
  EXPECT_NEAR(p.distance, 14.142, kRounded);
  EXPECT_NEAR(CometTailFactor(p.distance), 4.243, kRounded);
}

TEST(PlaceComet, CrossesThePlaneThirtyUnitsBehindTheSun) {
  const CometPlacement p = PlaceComet(3.141592653589793);
  EXPECT_EQ(p.y, -30.0);
  EXPECT_NEAR(p.z, 0, kRoundOff);
  EXPECT_NEAR(p.rotationDeg, 180, kRoundOff);
  EXPECT_EQ(p.distance, 30.0);
  EXPECT_EQ(CometTailFactor(p.distance), 2.0);
}

TEST(PlaceComet, LowestPointBelowThePlane) {
  const CometPlacement p = PlaceComet(4.71238898038469);
  EXPECT_NEAR(p.y, 10, kRoundOff);
  EXPECT_NEAR(p.z, -10, kRoundOff);
  EXPECT_NEAR(p.rotationDeg, 315, kRoundOff);
  EXPECT_NEAR(p.distance, 14.142, kRounded);
}

TEST(PlaceComet, ClosestApproachHasTheLongestTail) {
  const CometPlacement p = PlaceComet(std::acos(-4.0 / 15.0));
  EXPECT_NEAR(p.distance, 9.661, kRounded);
  EXPECT_NEAR(CometTailFactor(p.distance), 6.211, kRounded);
}

TEST(CometTailFactor, NeverShorterThanHalf) {
  EXPECT_EQ(CometTailFactor(119), 60.0 / 119);
  EXPECT_EQ(CometTailFactor(120), 0.5);
  EXPECT_EQ(CometTailFactor(1000), 0.5);
}

TEST(CometColours, DarkGreyPathAndBlueVioletBase) {
  EXPECT_EQ(CometPathColor(), 0x303030);
  EXPECT_EQ(CometBaseColor(), 0xBF0040);
}

// 12800 vertices and 9600 colours: bodyAt takes all the calls as quads of that pattern.
TEST(CometBody, HasEightyRingsOfFortyQuads) {
  EXPECT_EQ(bodyAt(50).size(), 3200u);
}

TEST(CometBody, EachQuadTakesItsRingBoundaryColours) {
  // Ring boundary k has the colour k/80 of the way from 0xBF0040 to white, each channel
  // rounded down: (80 - k) * base / 80 + k * 255 / 80.
  const struct {
    int ring;
    TColor inner, outer;
  } expected[] = {{0, 0xBF0040, 0xBF0342},  {1, 0xBF0342, 0xC00644},  {19, 0xCE3C6D, 0xCF3F6F},
                  {40, 0xDF7F9F, 0xDF82A1}, {59, 0xEEBCCC, 0xEFBFCF}, {79, 0xFEFBFC, 0xFFFFFF}};
  const auto quads = bodyAt(50);
  for (const auto& ring : expected) {
    for (int segment : {0, 7, 39}) {
      SCOPED_TRACE("ring " + std::to_string(ring.ring) + " segment " + std::to_string(segment));
      const Quad& q = quadAt(quads, ring.ring, segment);
      EXPECT_EQ(q.colourBefore1, ring.inner);
      EXPECT_EQ(q.colourBefore2, ring.outer);
      EXPECT_EQ(q.colourBefore4, ring.inner);
    }
  }
  // Neighbouring rings meet in one colour.
  for (int ring = 0; ring + 1 < 80; ++ring) {
    EXPECT_EQ(quadAt(quads, ring, 3).colourBefore2, quadAt(quads, ring + 1, 3).colourBefore1)
        << "ring " << ring;
  }
}

TEST(CometBody, BothTipsAreSinglePoints) {
  const auto quads = bodyAt(50);
  for (int segment = 0; segment < 40; ++segment) {
    const Quad& head = quadAt(quads, 0, segment);
    const Quad& tail = quadAt(quads, 79, segment);
    for (const Call& v : {head.v[0], head.v[3], tail.v[1], tail.v[2]}) {
      EXPECT_EQ(v.x, 0.0);
      EXPECT_EQ(v.z, 0.0);
    }
    EXPECT_EQ(head.v[0].y, -0.25);
    EXPECT_EQ(tail.v[1].y, 0.6);
  }
}

TEST(CometBody, HeadIsAHemisphereOfAQuarterUnit) {
  const auto quads = bodyAt(30);
  for (int ring = 0; ring < 40; ++ring) {
    for (const Call& v : quadAt(quads, ring, 13).v) {
      EXPECT_LE(v.y, 0.0);
      EXPECT_NEAR(distanceFromCentre(v), 0.25, kRoundOff);
    }
  }
}

TEST(CometBody, TailIsHalfTheTailFactorLong) {
  // Distance from the sun, the tail factor 60 / distance, and half of it: the tail's length.
  const struct {
    double distance, tailFactor, tailEnd;
  } cases[] = {{50, 1.2, 0.6}, {30, 2, 1}, {9.66091783079296, 6.2105900, 3.1052950}};
  for (const auto& c : cases) {
    const auto quads = bodyAt(c.distance);
    EXPECT_NEAR(quadAt(quads, 79, 0).v[1].y, c.tailEnd, 1e-7) << c.distance;
    // The tail is half an ellipsoid: radius 0.25 across, tailEnd along.
    for (int ring = 40; ring < 80; ++ring) {
      for (const Call& v : quadAt(quads, ring, 21).v) {
        const double along = v.y / c.tailEnd;
        EXPECT_NEAR(v.x * v.x + v.z * v.z + 0.0625 * along * along, 0.0625, 1e-7) << c.distance;
      }
    }
  }
}

TEST(CometBody, LastSegmentClosesOnTheFirstVertex) {
  const auto quads = bodyAt(50);
  for (int ring = 0; ring < 80; ++ring) {
    const Quad& first = quadAt(quads, ring, 0);
    const Quad& last = quadAt(quads, ring, 39);
    EXPECT_NEAR(last.v[3].x, first.v[0].x, 1e-15);
    EXPECT_EQ(last.v[3].y, first.v[0].y);
    EXPECT_NEAR(last.v[3].z, first.v[0].z, 1e-15);
    EXPECT_NEAR(last.v[2].x, first.v[1].x, 1e-15);
    EXPECT_NEAR(last.v[2].z, first.v[1].z, 1e-15);
  }
}

TEST(CometPath, ThreeHundredSixtyOneVerticesRoundTheEllipse) {
  RecordingSink sink;
  EmitCometPath(40, 10, sink);
  ASSERT_EQ(sink.calls.size(), 361u);
  for (const Call& call : sink.calls) {
    EXPECT_FALSE(call.isColor);
    EXPECT_EQ(call.x, 0.0);
  }
  EXPECT_EQ(sink.calls[0].y, 50.0);
  EXPECT_EQ(sink.calls[0].z, 0.0);
  EXPECT_NEAR(sink.calls[90].y, 10, kRoundOff);
  EXPECT_NEAR(sink.calls[90].z, 10, kRoundOff);
  EXPECT_NEAR(sink.calls[180].y, -30, kRoundOff);
  EXPECT_NEAR(sink.calls[270].z, -10, kRoundOff);
  EXPECT_NEAR(sink.calls[360].y, 50, kRoundOff);
  EXPECT_NEAR(sink.calls[360].z, 0, kRoundOff);
}
