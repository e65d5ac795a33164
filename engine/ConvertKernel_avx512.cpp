// Built with -mavx512bw -mavx512vbmi2 -mpopcnt -mbmi; runs only where the
// processor reports AVX-512 BW and VBMI2.
//
// The AVX2 kernel's way, 64 bytes at a time, with masks in place of vectors
// of bytes: commas become TABs with one masked move and quotes go out with one
// compress. Only an LF without its CR, 0x1A, a CR in the last place and a lead
// byte below 0x80 send the loop to the scalar kernel.
#include "ConvertKernel.h"

#ifdef KESTROVA_X86_KERNELS

#include <immintrin.h>

#include <cstdint>

namespace {

constexpr std::size_t kWidth = 64;
constexpr std::uint64_t kEvenBits = 0x5555555555555555ull;

std::uint64_t Equal(__m512i v, char value) {
    return _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(value));
}

// Which bytes of a block are lead bytes: the high nibble picks a row of 16
// bits, the low nibble one bit of that row.
class LeadBytes {
public:
    explicit LeadBytes(const CodePage& codePage) {
        // A shuffle looks up within each 16 bytes: the rows stand there four times.
        unsigned char low[64] = {};
        unsigned char high[64] = {};
        for (unsigned octet = 0; octet < 256; ++octet) {
            if (!codePage.IsLeadByte(static_cast<unsigned char>(octet))) continue;
            unsigned char* rows = (octet & 8u) != 0 ? high : low;
            for (unsigned lane = 0; lane < 64; lane += 16) {
                unsigned char& row = rows[lane + (octet >> 4)];
                row = static_cast<unsigned char>(row | (1u << (octet & 7u)));
            }
        }
        m_lowRows = _mm512_loadu_si512(low);
        m_highRows = _mm512_loadu_si512(high);
    }

    std::uint64_t In(__m512i v) const {
        const __m512i nibble = _mm512_set1_epi8(0x0F);
        const __m512i highNibble = _mm512_and_si512(_mm512_srli_epi16(v, 4), nibble);
        const __m512i lowNibble = _mm512_and_si512(v, nibble);
        const __m512i row = _mm512_mask_blend_epi8(_mm512_cmpgt_epi8_mask(lowNibble, _mm512_set1_epi8(7)),
                                                   _mm512_shuffle_epi8(m_lowRows, highNibble),
                                                   _mm512_shuffle_epi8(m_highRows, highNibble));
        const __m512i bit = _mm512_shuffle_epi8(
            _mm512_set1_epi64(static_cast<long long>(0x8040201008040201ull)), lowNibble);
        return _mm512_test_epi8_mask(row, bit);
    }

private:
    __m512i m_lowRows;
    __m512i m_highRows;
};

// The bytes that are second halves of characters, given the lead-valued bytes
// and whether the first byte is one (`carry`); see the AVX2 kernel.
struct Characters {
    std::uint64_t secondHalves;
    bool carry;  // the last byte opens a character
};

Characters SplitCharacters(std::uint64_t leadValued, bool carry) {
    const std::uint64_t leads = leadValued & ~static_cast<std::uint64_t>(carry);
    const std::uint64_t runStarts = leads & ~(leads << 1);
    const std::uint64_t evenRuns = leads & ~(leads + (runStarts & kEvenBits));
    const std::uint64_t opening = (evenRuns & kEvenBits) | (leads & ~evenRuns & ~kEvenBits);
    return {(opening << 1) | static_cast<std::uint64_t>(carry), (opening >> 63) != 0};
}

}  // namespace

std::size_t ConvertAvx512(const char* in, std::size_t size, char* out, ConverterState& state,
                          const CodePage& codePage) {
    char* const start = out;
    const bool doubleByte = codePage.IsDoubleByte();
    const LeadBytes leadBytes(codePage);
    const __m512i tabs = _mm512_set1_epi8('\t');
    std::size_t i = 0;
    auto stepUntilSettled = [&] {
        do {
            out += ConvertScalar(in + i, 1, out, state, codePage);
            ++i;
        } while (i < size && !state.ended && state.pendingCr);
    };
    if (i < size && state.pendingCr) stepUntilSettled();

    while (!state.ended && i + kWidth <= size) {
        const __m512i v = _mm512_loadu_si512(in + i);
        const std::uint64_t quotes = Equal(v, '"');
        const std::uint64_t crs = Equal(v, '\r');
        const std::uint64_t lfs = Equal(v, '\n');
        std::uint64_t stops = (lfs & ~(crs << 1)) | Equal(v, '\x1A') | (crs & (1ull << 63));
        std::uint64_t commas = Equal(v, ',');
        Characters characters{0, false};
        if (doubleByte) {
            const std::uint64_t leadValued = leadBytes.In(v);
            stops |= leadValued & ~static_cast<std::uint64_t>(_mm512_movepi8_mask(v));
            characters = SplitCharacters(leadValued, state.character.secondHalf);
            commas &= ~characters.secondHalves;
        }
        const unsigned taken = stops == 0 ? 64u : static_cast<unsigned>(__builtin_ctzll(stops));
        const std::uint64_t within = taken == 64 ? ~0ull : (1ull << taken) - 1;
        const std::uint64_t keep = within & ~(quotes & ~characters.secondHalves);
        const __m512i block = _mm512_mask_mov_epi8(v, commas, tabs);
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep, block));
        out += __builtin_popcountll(keep);
        i += taken;
        if (taken != 0) state.inRecord = ((lfs >> (taken - 1)) & 1u) == 0;
        if (taken == 64) {
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
