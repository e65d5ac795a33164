#pragma once

#include <cstddef>

#include "CodePage.h"
#include "ConvertKernel.h"

// Converts a comma-separated text stream into tab-delimited text as it arrives,
// piece by piece, holding no more than a few flags between pieces:
// - CR LF and LF both end a record; a CR not followed by LF is an ordinary byte;
// - a 0x1A byte ends the input, as text-mode files have it;
// - each record goes through the record transform and ends with CR LF;
// - the last line ends with CR LF even when the file does not end it.
class TextConverter {
public:
    explicit TextConverter(const CodePage& codePage)
        : TextConverter(codePage, ChosenConvertKernel()) {}
    // The same with a given kernel, so that each kernel can be checked.
    TextConverter(const CodePage& codePage, ConvertKernel kernel)
        : m_codePage(codePage), m_kernel(kernel) {}

    // The most output that `inputSize` bytes (or Finish, with 0) can produce.
    static constexpr std::size_t MaxOutput(std::size_t inputSize) { return 2 * inputSize + 2; }

    // Converts the next `size` bytes of input into `out`; returns the bytes written.
    std::size_t Convert(const char* in, std::size_t size, char* out) {
        return m_kernel(in, size, out, m_state, m_codePage);
    }
    // Ends the input, closing an unfinished last line; returns the bytes written.
    std::size_t Finish(char* out);
    // True once a 0x1A byte was seen: no later byte will be converted.
    bool Ended() const { return m_state.ended; }

private:
    const CodePage& m_codePage;
    ConvertKernel m_kernel;
    ConverterState m_state;
};
