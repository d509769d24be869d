// The frame counter and its segment font. Drawn unlit, without depth test, in an orthographic
// pixel projection; every matrix and enable it touches is pushed and popped.
#include "hack/FpsOverlay.h"

#include <GL/gl.h>

#include <cstdio>

namespace {

constexpr std::int64_t kSecondNs = 1'000'000'000;
constexpr double kGlyphHeightPx = 16;
constexpr double kGlyphWidthPx = 9;
constexpr double kAdvancePx = 13;
constexpr double kPointAdvancePx = 6;
constexpr double kMarginPx = 10;

// Seven segments: a top, b upper right, c lower right, d bottom, e lower left, f upper left,
// g middle; bit 0 is a. Each segment runs between two corners of a 1 x 2 cell.
constexpr double kSegments[7][4] = {{0, 2, 1, 2}, {1, 2, 1, 1}, {1, 1, 1, 0}, {0, 0, 1, 0},
                                    {0, 0, 0, 1}, {0, 1, 0, 2}, {0, 1, 1, 1}};

unsigned SegmentsOf(char c) {
  switch (c) {
    case '0':
      return 0x3F;
    case '1':
      return 0x06;
    case '2':
      return 0x5B;
    case '3':
      return 0x4F;
    case '4':
      return 0x66;
    case '5':
    case 'S':
      return 0x6D;
    case '6':
      return 0x7D;
    case '7':
      return 0x07;
    case '8':
      return 0x7F;
    case '9':
      return 0x6F;
    case 'F':
      return 0x71;
    case 'P':
      return 0x73;
    case '-':
      return 0x40;
    default:
      return 0;
  }
}

void DrawText(const std::string& text, double x, double y) {
  const double sx = kGlyphWidthPx;
  const double sy = kGlyphHeightPx / 2;
  glBegin(GL_LINES);
  for (char c : text) {
    // The decimal point: a short dash on the baseline, in a narrow cell of its own.
    if (c == '.') {
      glVertex2d(x, y + 1);
      glVertex2d(x + 2, y + 1);
      x += kPointAdvancePx;
      continue;
    }
    unsigned segments = SegmentsOf(c);
    for (int s = 0; s < 7; ++s) {
      if ((segments & (1u << s)) == 0) continue;
      glVertex2d(x + kSegments[s][0] * sx, y + kSegments[s][1] * sy);
      glVertex2d(x + kSegments[s][2] * sx, y + kSegments[s][3] * sy);
    }
    x += kAdvancePx;
  }
  glEnd();
}

}  // namespace

void FpsOverlay::Draw(std::int64_t nowNs, int width, int height) {
  if (periodStartNs_ < 0) periodStartNs_ = nowNs;
  ++framesInPeriod_;
  if (nowNs - periodStartNs_ >= kSecondNs) {
    char text[32];
    std::snprintf(text, sizeof text, "FPS %.1f",
                  framesInPeriod_ * 1e9 / static_cast<double>(nowNs - periodStartNs_));
    text_ = text;
    periodStartNs_ = nowNs;
    framesInPeriod_ = 0;
  }

  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_TRANSFORM_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, width, 0, height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glLineWidth(2);
  glColor3d(1, 1, 1);
  DrawText(text_, kMarginPx, kMarginPx);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}
