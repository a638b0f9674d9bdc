// Arithmetic defined by IEEE single and double precision. On 32-bit x86 the
// x87 unit forms products and quotients with more precision than a double or a
// float holds, and rounds once more when the result is stored, which can give
// another last bit; functions whose results are defined by float or double
// steps ask for SSE2, which rounds every step as 64-bit targets do. Portable.
#pragma once

#if defined(__i386__)
#define IEEE_ARITHMETIC __attribute__((target("sse2,fpmath=sse")))
#else
#define IEEE_ARITHMETIC
#endif
