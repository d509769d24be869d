// Colour values (0x00BBGGRR: red in the low byte) and the per-channel averaging
// and mixing that give the comet its colours. Pure functions, no state.
#pragma once

#include <cstdint>

// A colour value: red in bits 0-7, green in 8-15, blue in 16-23; bits 24-31 are ignored.
using TColor = std::int32_t;

// Per-channel mean of a and b, truncated; the result's top byte is 0.
TColor AverageColor(TColor a, TColor b);

// Per-channel ((steps - step) * a + step * b) / steps, truncated towards zero,
// each channel cut to its low 8 bits; the result's top byte is 0.
// steps < 1 returns a unchanged, top byte included. Any step is accepted:
// outside 0..steps the channel reaches beyond a or b and keeps its low 8 bits.
// The numerator is the value 32-bit two's-complement arithmetic gives, so when
// it overflows it wraps modulo 2^32 (as the original machine arithmetic did)
// before the division; nothing is undefined for any step or steps.
TColor MixColor(TColor a, TColor b, int step, int steps);
