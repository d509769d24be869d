// x87 and SSE control registers through the compiler's intrinsics or inline assembly.
#include "framework/FloatingPoint.h"

#if defined(__x86_64__) || defined(_M_X64) || defined(__i386__) || defined(_M_IX86)
#define VELORIUM_X86 1
#include <xmmintrin.h>
#endif
#if defined(_MSC_VER)
#include <float.h>
#endif

namespace {
constexpr std::uint16_t kX87ExceptionMasks = 0x3F;
constexpr std::uint32_t kSseExceptionMasks = 0x1F80;
}  // namespace

std::uint16_t X87ControlWord() {
#if defined(VELORIUM_X86) && defined(__GNUC__)
  std::uint16_t word = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(word));
  return word;
#elif defined(_MSC_VER) && defined(_M_IX86)
  unsigned int x87 = 0;
  unsigned int sse = 0;
  __control87_2(0, 0, &x87, &sse);
  return static_cast<std::uint16_t>(x87);
#else
  return 0;
#endif
}

void SetX87ControlWord(std::uint16_t controlWord) {
#if defined(VELORIUM_X86) && defined(__GNUC__)
  __asm__ __volatile__("fldcw %0" : : "m"(controlWord));
#else
  (void)controlWord;
#endif
}

std::uint32_t SseControlStatus() {
#if defined(VELORIUM_X86)
  return _mm_getcsr();
#else
  return 0;
#endif
}

void SetSseControlStatus(std::uint32_t mxcsr) {
#if defined(VELORIUM_X86)
  _mm_setcsr(mxcsr);
#else
  (void)mxcsr;
#endif
}

void MaskFloatingPointExceptions() {
#if defined(_MSC_VER)
  // _control87 reaches the unit the compiler uses: x87 on x86, SSE on x64.
  _control87(_MCW_EM, _MCW_EM);
#else
  SetX87ControlWord(static_cast<std::uint16_t>(X87ControlWord() | kX87ExceptionMasks));
#endif
  SetSseControlStatus(SseControlStatus() | kSseExceptionMasks);
}
