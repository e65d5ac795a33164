#pragma once

#include <cstddef>

#include "CodePage.h"
#include "RecordTransform.h"

// What a streaming conversion remembers between two pieces of input.
struct ConverterState {
    CharacterState character;  // the next byte is the second half of a character
    bool pendingCr = false;    // a CR that ends the record if an LF follows it
    bool inRecord = false;     // bytes of an unfinished record were taken
    bool ended = false;        // a 0x1A byte was seen: nothing after it counts
};

// The converter's inner loop: converts `size` bytes of `in` into `out` (room for
// 2 * size bytes) and returns the bytes written. Every kernel gives the same
// bytes and leaves the same state as the scalar one; the others only find the
// bytes that matter (comma, quote, CR, LF, 0x1A and, under a double-byte code
// page, bytes from 0x80 up) many at a time.
using ConvertKernel = std::size_t (*)(const char* in, std::size_t size, char* out,
                                      ConverterState& state, const CodePage& codePage);

// One byte after another: the plain loop that the others must match.
std::size_t ConvertScalar(const char* in, std::size_t size, char* out, ConverterState& state,
                          const CodePage& codePage);

#if defined(__x86_64__) || defined(__i386__)
#define KESTROVA_X86_KERNELS 1
// 16, 32 and 64 bytes at a time; only call them where the processor has SSE2,
// AVX2, or AVX-512 BW and VBMI2.
std::size_t ConvertSse2(const char* in, std::size_t size, char* out, ConverterState& state,
                        const CodePage& codePage);
std::size_t ConvertAvx2(const char* in, std::size_t size, char* out, ConverterState& state,
                        const CodePage& codePage);
std::size_t ConvertAvx512(const char* in, std::size_t size, char* out, ConverterState& state,
                          const CodePage& codePage);
#endif

// The kernel this process uses: the fastest one the processor runs, chosen at
// first use. KESTROVA_KERNEL=scalar|sse2|avx2|avx512 forces one (for tests and
// measurements); a kernel the processor cannot run is never chosen.
ConvertKernel ChosenConvertKernel();
// The named kernel if the processor runs it, else null.
ConvertKernel ConvertKernelNamed(const char* name);
