#pragma once

// The conversion written the plain way, as the rules read, to check the
// engine's streaming converter against: read the whole file in text mode, cut
// it into records, run the three replace-all passes on each, write each LF as
// CR LF.

#include <string>
#include <string_view>

#include "CodePage.h"

namespace reference {

// One replace-all pass. The record is searched as NUL-separated pieces; in each
// piece a lead byte and the byte after it form one character, and a match can
// only start at the first byte of a character.
inline std::string ReplaceAll(std::string_view text, std::string_view find,
                              std::string_view replacement, const CodePage& codePage) {
    std::string result;
    std::size_t pieceStart = 0;
    while (pieceStart <= text.size()) {
        std::size_t pieceEnd = text.find('\0', pieceStart);
        if (pieceEnd == std::string_view::npos) pieceEnd = text.size();
        std::size_t i = pieceStart;
        while (i < pieceEnd) {
            if (text.substr(i, pieceEnd - i).starts_with(find)) {
                result += replacement;
                i += find.size();
            } else if (codePage.IsLeadByte(static_cast<unsigned char>(text[i])) &&
                       i + 1 < pieceEnd) {
                result += text.substr(i, 2);
                i += 2;
            } else {
                result += text[i++];
            }
        }
        if (pieceEnd == text.size()) break;
        result += '\0';
        pieceStart = pieceEnd + 1;
    }
    return result;
}

inline std::string TransformRecord(std::string_view record, const CodePage& codePage) {
    std::string result = ReplaceAll(record, "\",\"", "\t", codePage);
    result = ReplaceAll(result, ",", "\t", codePage);
    return ReplaceAll(result, "\"", "", codePage);
}

// A whole file's conversion. The last line counts as a record even without its LF.
inline std::string ConvertFile(std::string_view file, const CodePage& codePage) {
    file = file.substr(0, file.find('\x1A'));
    std::string text;
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (!(file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n')) text += file[i];
    }
    if (!text.empty() && text.back() == '\r') text.back() = '\n';
    if (!text.empty() && text.back() != '\n') text += '\n';

    std::string output;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start) + 1;
        for (char byte : TransformRecord(text.substr(start, end - start), codePage)) {
            if (byte == '\n') output += '\r';
            output += byte;
        }
        start = end;
    }
    return output;
}

}  // namespace reference
