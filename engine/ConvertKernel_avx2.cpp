// Built with -mavx2; runs only where the processor reports AVX2.
//
// 32 bytes at a time, without a branch per special byte: commas become TABs
// in place, quotes are squeezed out with byte shuffles, and CR LF needs no
// change at all, since it goes out as it came. Under a double-byte code page
// the second halves of characters are found with a few bit operations and
// left as they are.
#include "ConvertKernel.h"

#ifdef KESTROVA_X86_KERNELS

#include <immintrin.h>

#include <bit>
#include <cstdint>

#include "WideKernelLoop.h"

namespace {

// For each set of bytes to drop out of 8 (one bit each), the places of the
// bytes kept, in order, then 0x80 (a shuffle's zero); and how many are kept.
struct SqueezeTable {
    unsigned char places[256][8];
    unsigned char kept[256];
};

constexpr SqueezeTable MakeSqueezeTable() {
    SqueezeTable table{};
    for (unsigned drop = 0; drop < 256; ++drop) {
        unsigned kept = 0;
        for (unsigned place = 0; place < 8; ++place) {
            if (((drop >> place) & 1u) == 0)
                table.places[drop][kept++] = static_cast<unsigned char>(place);
        }
        table.kept[drop] = static_cast<unsigned char>(kept);
        for (unsigned place = kept; place < 8; ++place) table.places[drop][place] = 0x80;
    }
    return table;
}

constexpr SqueezeTable kSqueeze = MakeSqueezeTable();

// Bit n of `bits` as a whole byte n (0xFF or 0).
__m256i BitsToBytes(std::uint32_t bits) {
    const __m256i spread = _mm256_shuffle_epi8(
        _mm256_set1_epi32(static_cast<int>(bits)),
        _mm256_setr_epi64x(0, 0x0101010101010101, 0x0202020202020202, 0x0303030303030303));
    const __m256i select = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ull));
    return _mm256_cmpeq_epi8(_mm256_and_si256(spread, select), select);
}

// Writes the bytes of `lane` whose bits in `drop` (16 of them) are clear, in
// order, as two runs of 8; returns the new end.
char* Squeeze(__m128i lane, unsigned drop, char* out) {
    const unsigned low = drop & 0xFFu;
    const unsigned high = (drop >> 8) & 0xFFu;
    const __m128i places = _mm_unpacklo_epi64(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kSqueeze.places[low])),
        _mm_add_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(kSqueeze.places[high])),
                     _mm_set1_epi8(8)));
    const __m128i squeezed = _mm_shuffle_epi8(lane, places);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), squeezed);
    out += kSqueeze.kept[low];
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_srli_si128(squeezed, 8));
    return out + kSqueeze.kept[high];
}

struct Avx2Block {
    using Mask = std::uint32_t;
    using Vector = __m256i;

    explicit Avx2Block(const CodePage& codePage) {
        unsigned char low[16] = {};
        unsigned char high[16] = {};
        LeadByteRows(codePage, low, high);
        m_lowRows =
            _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low)));
        m_highRows =
            _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(high)));
    }

    static Vector Load(const char* at) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    }
    static Mask Equal(Vector v, char value) {
        return BitsOf(_mm256_cmpeq_epi8(v, _mm256_set1_epi8(value)));
    }
    static Mask High(Vector v) { return BitsOf(v); }
    static std::size_t CountTrailingZeros(Mask bits) {
        return static_cast<std::size_t>(std::countr_zero(bits));
    }

    // The lead-valued bytes: the high nibble picks a row, the low nibble a bit of it.
    Mask LeadBytes(Vector v) const {
        const __m256i nibble = _mm256_set1_epi8(0x0F);
        const __m256i highNibble = _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble);
        const __m256i lowNibble = _mm256_and_si256(v, nibble);
        const __m256i row = _mm256_blendv_epi8(_mm256_shuffle_epi8(m_lowRows, highNibble),
                                               _mm256_shuffle_epi8(m_highRows, highNibble),
                                               _mm256_cmpgt_epi8(lowNibble, _mm256_set1_epi8(7)));
        const __m256i bit = _mm256_shuffle_epi8(
            _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ull)), lowNibble);
        return BitsOf(_mm256_cmpeq_epi8(_mm256_and_si256(row, bit), bit));
    }

    // Writes the bytes of `v` whose bits are in `keep`, commas as TABs except
    // where they are second halves.
    static char* Write(Vector v, Mask secondHalves, Mask keep, char* out) {
        __m256i commas = _mm256_cmpeq_epi8(v, _mm256_set1_epi8(','));
        if (secondHalves != 0) commas = _mm256_andnot_si256(BitsToBytes(secondHalves), commas);
        const __m256i block =
            _mm256_xor_si256(v, _mm256_and_si256(commas, _mm256_set1_epi8(',' ^ '\t')));
        const Mask drop = ~keep;
        if (drop == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), block);
            return out + 32;
        }
        out = Squeeze(_mm256_castsi256_si128(block), drop & 0xFFFFu, out);
        return Squeeze(_mm256_extracti128_si256(block, 1), drop >> 16, out);
    }

private:
    static Mask BitsOf(__m256i bytes) { return static_cast<Mask>(_mm256_movemask_epi8(bytes)); }

    __m256i m_lowRows;
    __m256i m_highRows;
};

}  // namespace

std::size_t ConvertAvx2(const char* in, std::size_t size, char* out, ConverterState& state,
                        const CodePage& codePage) {
    return ConvertBlocks<Avx2Block>(in, size, out, state, codePage);
}

#endif
