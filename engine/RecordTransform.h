#pragma once

#include <string>
#include <string_view>

#include "CodePage.h"

// Turns one comma-separated record into a tab-separated one: every comma a TAB,
// every double quote deleted, every other byte kept. Under a double-byte code
// page the second byte of a character is never taken for a comma or a quote.
std::string TransformRecord(std::string_view record, const CodePage& codePage);

// The same rule one byte at a time, for converters that stream. A record starts
// with `secondHalf` false; a lead byte sets it, so that the byte after it is
// copied as the other half of its character whatever that byte is.
struct CharacterState {
    bool secondHalf = false;
};

inline char* TransformByte(unsigned char octet, CharacterState& state, const CodePage& codePage,
                           char* out) {
    if (state.secondHalf) {
        state.secondHalf = false;
    } else if (codePage.IsLeadByte(octet)) {
        state.secondHalf = true;
    } else if (octet == ',') {
        *out++ = '\t';
        return out;
    } else if (octet == '"') {
        return out;
    }
    *out++ = static_cast<char>(octet);
    return out;
}
