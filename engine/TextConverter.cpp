#include "TextConverter.h"

namespace {

constexpr unsigned char kCr = '\r';
constexpr unsigned char kLf = '\n';
constexpr unsigned char kEndOfText = 0x1A;

char* EndRecord(CharacterState& character, char* out) {
    character = CharacterState{};
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

}  // namespace

std::size_t TextConverter::Convert(const char* in, std::size_t size, char* out) {
    char* const start = out;
    for (std::size_t i = 0; i < size && !m_ended; ++i) {
        const auto octet = static_cast<unsigned char>(in[i]);
        if (octet == kEndOfText) {
            m_ended = true;
            break;
        }
        if (m_pendingCr) {
            m_pendingCr = false;
            if (octet == kLf) {
                out = EndRecord(m_character, out);
                m_inRecord = false;
                continue;
            }
            out = TransformByte(kCr, m_character, m_codePage, out);
        }
        if (octet == kCr) {
            m_pendingCr = true;
            m_inRecord = true;
        } else if (octet == kLf) {
            out = EndRecord(m_character, out);
            m_inRecord = false;
        } else {
            out = TransformByte(octet, m_character, m_codePage, out);
            m_inRecord = true;
        }
    }
    return static_cast<std::size_t>(out - start);
}

std::size_t TextConverter::Finish(char* out) {
    // A CR at the very end folds into the line end that closes the last record.
    m_pendingCr = false;
    if (!m_inRecord) return 0;
    m_inRecord = false;
    EndRecord(m_character, out);
    return 2;
}
