#pragma once

// The loop of the kernels that deal with a whole block at once (AVX2 and
// AVX-512), written once over a `Block` type that loads, compares and writes
// in its own instruction set. A block goes to the scalar kernel only from the
// first byte that needs more than the block can tell: an LF without its CR,
// 0x1A, a CR in the last place (its LF is in the next block or the next call),
// and a lead byte below 0x80 under a code page that has one. Everything here
// has internal linkage: each kernel's file compiles its own copy under its own
// instruction set, so that no copy built for one is ever run for another.

#include <cstddef>

#include "ConvertKernel.h"

namespace {

// The lead-byte lookup's rows: bit (l & 7) of row h is set when byte 16h + l
// is a lead byte, in `low` for l < 8 and in `high` for l >= 8. A shuffle looks
// up within 16 bytes, so the rows stand once per 16 bytes of the arrays.
template <std::size_t N>
void LeadByteRows(const CodePage& codePage, unsigned char (&low)[N], unsigned char (&high)[N]) {
    for (unsigned octet = 0; octet < 256; ++octet) {
        if (!codePage.IsLeadByte(static_cast<unsigned char>(octet))) continue;
        unsigned char* rows = (octet & 8u) != 0 ? high : low;
        for (std::size_t lane = 0; lane < N; lane += 16) {
            unsigned char& row = rows[lane + (octet >> 4)];
            row = static_cast<unsigned char>(row | (1u << (octet & 7u)));
        }
    }
}

template <class Mask>
struct Characters {
    Mask secondHalves;  // one bit per byte that is the second half of a character
    bool carry;         // the last byte opens a character
};

// The second halves of characters, given the lead-valued bytes and whether the
// first byte is a second half (`carry`). In a run of lead-valued bytes the
// characters start at the run's first byte and every second one after it.
template <class Mask>
Characters<Mask> SplitCharacters(Mask leadValued, bool carry) {
    constexpr auto kEvenBits = static_cast<Mask>(0x5555555555555555ull);
    constexpr std::size_t kLast = 8 * sizeof(Mask) - 1;
    const Mask leads = leadValued & static_cast<Mask>(~static_cast<Mask>(carry));
    const Mask runStarts = leads & static_cast<Mask>(~(leads << 1));
    // Adding a run's start bit clears the run: what stays set started on an odd place.
    const Mask evenRuns = leads & static_cast<Mask>(~(leads + (runStarts & kEvenBits)));
    const Mask opening = (evenRuns & kEvenBits) | (leads & ~evenRuns & ~kEvenBits);
    return {static_cast<Mask>((opening << 1) | static_cast<Mask>(carry)), (opening >> kLast) != 0};
}

template <class Block>
std::size_t ConvertBlocks(const char* in, std::size_t size, char* out, ConverterState& state,
                          const CodePage& codePage) {
    using Mask = typename Block::Mask;
    constexpr std::size_t kWidth = 8 * sizeof(Mask);
    constexpr Mask kLastBit = Mask{1} << (kWidth - 1);
    char* const start = out;
    const bool doubleByte = codePage.IsDoubleByte();
    const Block block(codePage);
    std::size_t i = 0;
    auto stepUntilSettled = [&] {
        do {
            out += ConvertScalar(in + i, 1, out, state, codePage);
            ++i;
        } while (i < size && !state.ended && state.pendingCr);
    };
    if (i < size && state.pendingCr) stepUntilSettled();

    while (!state.ended && i + kWidth <= size) {
        const typename Block::Vector v = Block::Load(in + i);
        const Mask quotes = Block::Equal(v, '"');
        const Mask crs = Block::Equal(v, '\r');
        const Mask lfs = Block::Equal(v, '\n');
        Mask stops =
            (lfs & static_cast<Mask>(~(crs << 1))) | Block::Equal(v, '\x1A') | (crs & kLastBit);
        Characters<Mask> characters{0, false};
        if (doubleByte) {
            const Mask leadValued = block.LeadBytes(v);
            stops |= leadValued & ~Block::High(v);
            characters = SplitCharacters(leadValued, state.character.secondHalf);
        }
        const std::size_t taken = stops == 0 ? kWidth : Block::CountTrailingZeros(stops);
        const Mask within = taken == kWidth ? static_cast<Mask>(~Mask{0})
                                            : static_cast<Mask>((Mask{1} << taken) - 1);
        // Quotes go, except where they are the second half of a character.
        out = Block::Write(v, characters.secondHalves,
                           within & ~(quotes & ~characters.secondHalves), out);
        i += taken;
        if (taken != 0) state.inRecord = ((lfs >> (taken - 1)) & 1u) == 0;
        if (taken == kWidth) {
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

}  // namespace
