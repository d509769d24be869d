// Scaling a form designed at one screen resolution for another: integer ratios rounded the
// way the system's MulDiv rounds. Portable: no Win32.
#pragma once

// value * numerator / denominator, rounded half away from zero; value itself when the
// denominator is 0.
int ScaleByRatio(int value, int numerator, int denominator);

// A control's extent along one axis, as its near edge and its size.
struct ScaledSpan {
  int start = 0;
  int size = 0;
};

// Scales both edges of the span, so that controls that touched still touch afterwards.
ScaledSpan ScaleSpan(int start, int size, int numerator, int denominator);
