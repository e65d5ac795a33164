#include "ConvertKernel.h"

namespace {

constexpr unsigned char kCr = '\r';
constexpr unsigned char kLf = '\n';
constexpr unsigned char kEndOfText = 0x1A;

char* EndRecord(ConverterState& state, char* out) {
    state.character = CharacterState{};
    state.inRecord = false;
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

}  // namespace

std::size_t ConvertScalar(const char* in, std::size_t size, char* out, ConverterState& state,
                          const CodePage& codePage) {
    char* const start = out;
    for (std::size_t i = 0; i < size && !state.ended; ++i) {
        const auto octet = static_cast<unsigned char>(in[i]);
        if (octet == kEndOfText) {
            state.ended = true;
            break;
        }
        if (state.pendingCr) {
            state.pendingCr = false;
            if (octet == kLf) {
                out = EndRecord(state, out);
                continue;
            }
            out = TransformByte(kCr, state.character, codePage, out);
        }
        if (octet == kCr) {
            state.pendingCr = true;
            state.inRecord = true;
        } else if (octet == kLf) {
            out = EndRecord(state, out);
        } else {
            out = TransformByte(octet, state.character, codePage, out);
            state.inRecord = true;
        }
    }
    return static_cast<std::size_t>(out - start);
}
