// Built with -mavx2; runs only where the processor reports AVX2.
//
// 32 bytes at a time, without a branch per special byte: commas become TABs
// in place, quotes are squeezed out with byte shuffles, and CR LF needs no
// change at all, since it goes out as it came. A block goes to the scalar
// kernel only from the first byte that needs more: an LF without its CR, 0x1A,
// a CR in the last place (its LF is in the next block or the next call), and a
// lead byte below 0x80 under a code page that has one. Under a double-byte code
// page the second halves of characters are found with a few bit operations and
// left as they are.
#include "ConvertKernel.h"

#ifdef KESTROVA_X86_KERNELS

#include <immintrin.h>

#include <bit>
#include <cstdint>

namespace {

constexpr std::size_t kWidth = 32;
constexpr std::uint32_t kEvenBits = 0x55555555u;

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
            if (((drop >> place) & 1u) == 0) table.places[drop][kept++] = static_cast<unsigned char>(place);
        }
        table.kept[drop] = static_cast<unsigned char>(kept);
        for (unsigned place = kept; place < 8; ++place) table.places[drop][place] = 0x80;
    }
    return table;
}

constexpr SqueezeTable kSqueeze = MakeSqueezeTable();

std::uint32_t Mask(__m256i bytes) { return static_cast<std::uint32_t>(_mm256_movemask_epi8(bytes)); }
__m256i Equal(__m256i v, char value) { return _mm256_cmpeq_epi8(v, _mm256_set1_epi8(value)); }

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

// Which bytes of a block are lead bytes, looked up 32 at a time: the high
// nibble picks a row of 16 bits, the low nibble one bit of that row.
class LeadBytes {
public:
    explicit LeadBytes(const CodePage& codePage) {
        alignas(16) unsigned char low[16] = {};
        alignas(16) unsigned char high[16] = {};
        for (unsigned octet = 0; octet < 256; ++octet) {
            if (!codePage.IsLeadByte(static_cast<unsigned char>(octet))) continue;
            unsigned char* row = (octet & 8u) != 0 ? high : low;
            row[octet >> 4] = static_cast<unsigned char>(row[octet >> 4] | (1u << (octet & 7u)));
        }
        m_lowRows = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(low)));
        m_highRows = _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(high)));
    }

    std::uint32_t In(__m256i v) const {
        const __m256i nibble = _mm256_set1_epi8(0x0F);
        const __m256i highNibble = _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble);
        const __m256i lowNibble = _mm256_and_si256(v, nibble);
        const __m256i row = _mm256_blendv_epi8(_mm256_shuffle_epi8(m_lowRows, highNibble),
                                               _mm256_shuffle_epi8(m_highRows, highNibble),
                                               _mm256_cmpgt_epi8(lowNibble, _mm256_set1_epi8(7)));
        const __m256i bit = _mm256_shuffle_epi8(
            _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ull)), lowNibble);
        return Mask(_mm256_cmpeq_epi8(_mm256_and_si256(row, bit), bit));
    }

private:
    __m256i m_lowRows;
    __m256i m_highRows;
};

// The bytes that are second halves of characters, given the lead-valued bytes
// and whether the first byte is one (`carry`). In a run of lead-valued bytes
// the characters start at the run's first byte and every second one after it.
struct Characters {
    std::uint32_t secondHalves;
    bool carry;  // the last byte opens a character
};

Characters SplitCharacters(std::uint32_t leadValued, bool carry) {
    const std::uint32_t leads = leadValued & ~static_cast<std::uint32_t>(carry);
    const std::uint32_t runStarts = leads & ~(leads << 1);
    // Adding a run's start bit clears the whole run: what is left of it started on an odd place.
    const auto sum = static_cast<std::uint32_t>(std::uint64_t{leads} + (runStarts & kEvenBits));
    const std::uint32_t evenRuns = leads & ~sum;
    const std::uint32_t opening = (evenRuns & kEvenBits) | (leads & ~evenRuns & ~kEvenBits);
    return {(opening << 1) | static_cast<std::uint32_t>(carry), (opening >> 31) != 0};
}

}  // namespace

std::size_t ConvertAvx2(const char* in, std::size_t size, char* out, ConverterState& state,
                        const CodePage& codePage) {
    char* const start = out;
    const bool doubleByte = codePage.IsDoubleByte();
    const LeadBytes leadBytes(codePage);
    std::size_t i = 0;
    auto stepUntilSettled = [&] {
        do {
            out += ConvertScalar(in + i, 1, out, state, codePage);
            ++i;
        } while (i < size && !state.ended && state.pendingCr);
    };
    if (i < size && state.pendingCr) stepUntilSettled();

    while (!state.ended && i + kWidth <= size) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const std::uint32_t quotes = Mask(Equal(v, '"'));
        const std::uint32_t crs = Mask(Equal(v, '\r'));
        const std::uint32_t lfs = Mask(Equal(v, '\n'));
        std::uint32_t stops = (lfs & ~(crs << 1)) | Mask(Equal(v, '\x1A')) | (crs & 0x80000000u);
        __m256i commas = Equal(v, ',');
        Characters characters{0, false};
        if (doubleByte) {
            const std::uint32_t leadValued = leadBytes.In(v);
            stops |= leadValued & ~Mask(v);
            characters = SplitCharacters(leadValued, state.character.secondHalf);
            commas = _mm256_andnot_si256(BitsToBytes(characters.secondHalves), commas);
        }
        const __m256i block = _mm256_xor_si256(v, _mm256_and_si256(commas, _mm256_set1_epi8(',' ^ '\t')));
        const unsigned taken = stops == 0 ? 32u : static_cast<unsigned>(std::countr_zero(stops));
        const std::uint32_t beyond = taken == 32 ? 0u : ~0u << taken;
        const std::uint32_t drop = (quotes & ~characters.secondHalves) | beyond;
        if (drop == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), block);
            out += kWidth;
        } else {
            out = Squeeze(_mm256_castsi256_si128(block), drop & 0xFFFFu, out);
            out = Squeeze(_mm256_extracti128_si256(block, 1), drop >> 16, out);
        }
        i += taken;
        if (taken != 0) state.inRecord = ((lfs >> (taken - 1)) & 1u) == 0;
        if (taken == 32) {
            state.character.secondHalf = characters.carry;
            continue;
        }
        state.character.secondHalf = ((characters.secondHalves >> taken) & 1u) != 0;
        // A CR just before 0x1A is the end of the last line, not a byte of it.
        if (in[i] == '\x1A' && taken != 0 && in[i - 1] == '\r') --out;
        stepUntilSettled();
    }
    if (!state.ended) out += ConvertScalar(in + i, size - i, out, state, codePage);
    return static_cast<std::size_t>(out - start);
}

#endif
