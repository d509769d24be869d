// Channel arithmetic on colour values; 32-bit results without undefined behaviour.
#include "util/Visual.h"

namespace {

std::uint32_t channel(TColor color, int shift) {
  return (static_cast<std::uint32_t>(color) >> shift) & 0xFFu;
}

TColor pack(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return static_cast<TColor>((red & 0xFFu) | (green & 0xFFu) << 8 | (blue & 0xFFu) << 16);
}

// One channel of MixColor. The exact numerator fits in 64 bits; reducing it to
// 32 bits gives what wrapping 32-bit multiplies and adds give, as modular
// arithmetic does not care where the wrap happens.
std::uint32_t mixChannel(std::uint32_t a, std::uint32_t b, int step, int steps) {
  const std::int64_t exact =
      (static_cast<std::int64_t>(steps) - step) * a + static_cast<std::int64_t>(step) * b;
  const auto numerator = static_cast<std::int32_t>(static_cast<std::uint32_t>(exact));
  // steps >= 1 here, so the division can neither trap nor overflow.
  return static_cast<std::uint32_t>(numerator / steps);
}

}  // namespace

TColor AverageColor(TColor a, TColor b) {
  return pack((channel(a, 0) + channel(b, 0)) >> 1, (channel(a, 8) + channel(b, 8)) >> 1,
              (channel(a, 16) + channel(b, 16)) >> 1);
}

TColor MixColor(TColor a, TColor b, int step, int steps) {
  if (steps < 1) {
    return a;
  }
  return pack(mixChannel(channel(a, 0), channel(b, 0), step, steps),
              mixChannel(channel(a, 8), channel(b, 8), step, steps),
              mixChannel(channel(a, 16), channel(b, 16), step, steps));
}
