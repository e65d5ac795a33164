// Built with -mavx512bw -mavx512vbmi2 -mpopcnt -mbmi; runs only where the
// processor reports AVX-512 BW and VBMI2.
//
// The AVX2 kernel's way, 64 bytes at a time, with masks in place of vectors
// of bytes: commas become TABs with one masked move and quotes go out with one
// compress.
#include "ConvertKernel.h"

#ifdef KESTROVA_X86_KERNELS

#include <immintrin.h>

#include <cstdint>

#include "WideKernelLoop.h"

namespace {

struct Avx512Block {
    using Mask = std::uint64_t;
    using Vector = __m512i;

    explicit Avx512Block(const CodePage& codePage) {
        unsigned char low[64] = {};
        unsigned char high[64] = {};
        LeadByteRows(codePage, low, high);
        m_lowRows = _mm512_loadu_si512(low);
        m_highRows = _mm512_loadu_si512(high);
    }

    static Vector Load(const char* at) { return _mm512_loadu_si512(at); }
    static Mask Equal(Vector v, char value) {
        return _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(value));
    }
    static Mask High(Vector v) { return _mm512_movepi8_mask(v); }
    // The builtin, not std::countr_zero: no template instance built for this
    // instruction set may be shared with the rest of the program.
    static std::size_t CountTrailingZeros(Mask bits) {
        return static_cast<std::size_t>(__builtin_ctzll(bits));
    }

    // The lead-valued bytes: the high nibble picks a row, the low nibble a bit of it.
    Mask LeadBytes(Vector v) const {
        const __m512i nibble = _mm512_set1_epi8(0x0F);
        const __m512i highNibble = _mm512_and_si512(_mm512_srli_epi16(v, 4), nibble);
        const __m512i lowNibble = _mm512_and_si512(v, nibble);
        const __m512i row =
            _mm512_mask_blend_epi8(_mm512_cmpgt_epi8_mask(lowNibble, _mm512_set1_epi8(7)),
                                   _mm512_shuffle_epi8(m_lowRows, highNibble),
                                   _mm512_shuffle_epi8(m_highRows, highNibble));
        const __m512i bit = _mm512_shuffle_epi8(
            _mm512_set1_epi64(static_cast<long long>(0x8040201008040201ull)), lowNibble);
        return _mm512_test_epi8_mask(row, bit);
    }

    // Writes the bytes of `v` whose bits are in `keep`, commas as TABs except
    // where they are second halves.
    static char* Write(Vector v, Mask secondHalves, Mask keep, char* out) {
        const Mask commas = Equal(v, ',') & ~secondHalves;
        const __m512i block = _mm512_mask_mov_epi8(v, commas, _mm512_set1_epi8('\t'));
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep, block));
        return out + __builtin_popcountll(keep);
    }

private:
    __m512i m_lowRows;
    __m512i m_highRows;
};

}  // namespace

std::size_t ConvertAvx512(const char* in, std::size_t size, char* out, ConverterState& state,
                          const CodePage& codePage) {
    return ConvertBlocks<Avx512Block>(in, size, out, state, codePage);
}

#endif
