// Ratio scaling for forms designed at another screen resolution.
#include "framework/Scaling.h"

#include <cstdint>
#include <cstdlib>

int ScaleByRatio(int value, int numerator, int denominator) {
  if (denominator == 0) return value;
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t magnitude =
      (std::llabs(product) + std::llabs(denominator) / 2) / std::llabs(denominator);
  const bool negative = (product < 0) != (denominator < 0);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

ScaledSpan ScaleSpan(int start, int size, int numerator, int denominator) {
  const int scaledStart = ScaleByRatio(start, numerator, denominator);
  const int scaledEnd = ScaleByRatio(start + size, numerator, denominator);
  return {scaledStart, scaledEnd - scaledStart};
}
