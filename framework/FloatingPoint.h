// Masking of floating-point exceptions: faulty operations then yield infinities
// and NaNs instead of trapping. Portable: CPU specific, not platform specific.
#pragma once

#include <cstdint>

// Sets the six exception-mask bits of the x87 control word (0x3F under the mask 0x3F,
// precision and rounding unchanged) and, on x86-64, the six mask bits of MXCSR too.
void MaskFloatingPointExceptions();

// The x87 control word and the SSE MXCSR register, as they are now (0 where absent).
std::uint16_t X87ControlWord();
std::uint32_t SseControlStatus();
void SetX87ControlWord(std::uint16_t controlWord);
void SetSseControlStatus(std::uint32_t mxcsr);
