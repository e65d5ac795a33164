// Built with -msse2 (the 32-bit build does not assume it).
//
// 16 bytes at a time: each block goes out with its commas turned into TABs,
// and the loop stops at the first quote, CR, LF or 0x1A in it (or, under a
// double-byte code page, the first byte from 0x80 up), deals with that byte
// and goes on from the byte after it.
#include "ConvertKernel.h"

#ifdef KESTROVA_X86_KERNELS

#include <emmintrin.h>

#include <bit>
#include <cstdint>

namespace {

constexpr std::size_t kWidth = 16;
using Vector = __m128i;

Vector Load(const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
void Store(char* at, Vector v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v); }
Vector Bytes(char value) { return _mm_set1_epi8(value); }

Vector CommasToTabs(Vector v) {
    const Vector commas = _mm_cmpeq_epi8(v, Bytes(','));
    return _mm_xor_si128(v, _mm_and_si128(commas, Bytes(',' ^ '\t')));
}
// One bit per quote, CR, LF or 0x1A, and per byte from 0x80 up if `highToo`.
std::uint32_t Specials(Vector v, bool highToo) {
    const Vector found = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(v, Bytes('"')), _mm_cmpeq_epi8(v, Bytes('\r'))),
        _mm_or_si128(_mm_cmpeq_epi8(v, Bytes('\n')), _mm_cmpeq_epi8(v, Bytes('\x1A'))));
    auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(found));
    if (highToo) mask |= static_cast<std::uint32_t>(_mm_movemask_epi8(v));
    return mask;
}

}  // namespace

std::size_t ConvertSse2(const char* in, std::size_t size, char* out, ConverterState& state,
                        const CodePage& codePage) {
    char* const start = out;
    const bool doubleByte = codePage.IsDoubleByte();
    std::size_t i = 0;
    // Steps one byte at a time through what cannot be decided from a block:
    // a pending CR, the second half of a character, a lone CR, 0x1A, a lead byte.
    auto stepUntilSettled = [&] {
        do {
            out += ConvertScalar(in + i, 1, out, state, codePage);
            ++i;
        } while (i < size && !state.ended && (state.pendingCr || state.character.secondHalf));
    };
    if (i < size && (state.pendingCr || state.character.secondHalf)) stepUntilSettled();

    while (!state.ended && i + kWidth <= size) {
        const __m128i block = Load(in + i);
        // Every byte goes out with its commas turned into TABs; the bytes from the
        // first special one on are written again once it is dealt with.
        Store(out, CommasToTabs(block));
        const std::uint32_t specials = Specials(block, doubleByte);
        if (specials == 0) {
            i += kWidth;
            out += kWidth;
            state.inRecord = true;
            continue;
        }
        const unsigned at = static_cast<unsigned>(std::countr_zero(specials));
        i += at;
        out += at;
        if (at != 0) state.inRecord = true;
        const char special = in[i];
        if (special == '"') {
            ++i;
            state.inRecord = true;
        } else if (special == '\n' || (special == '\r' && i + 1 < size && in[i + 1] == '\n')) {
            i += special == '\r' ? 2 : 1;
            *out++ = '\r';
            *out++ = '\n';
            state.inRecord = false;
        } else {
            stepUntilSettled();
        }
    }
    if (!state.ended) out += ConvertScalar(in + i, size - i, out, state, codePage);
    return static_cast<std::size_t>(out - start);
}

#endif
