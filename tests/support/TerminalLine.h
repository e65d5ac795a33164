#pragma once

#include <string>
#include <string_view>

// What one line of a terminal shows after a program has written `written` to
// it: a CR returns to the first column and later characters overwrite the
// earlier ones. Trailing blanks are dropped, as a person would not see them.
inline std::string TerminalLine(std::string_view written) {
    std::string line;
    std::size_t column = 0;
    for (const char c : written) {
        if (c == '\r') {
            column = 0;
            continue;
        }
        if (column < line.size()) {
            line[column] = c;
        } else {
            line += c;
        }
        ++column;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}
