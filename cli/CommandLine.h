#pragma once

#include <optional>
#include <string>
#include <vector>

// What the person asked of kestrova on its command line.
struct CommandLine {
    enum class Action { Convert, ShowHelp, ShowVersion };

    Action action = Action::Convert;
    unsigned codePage = 0;     // 0: the system's
    bool quiet = false;        // no progress line, even on a terminal
    std::string input;         // "-": standard input
    std::string output = "-";  // "-": standard output; "": db.csv
};

// Reads the arguments after the program name; on a mistake, says what is wrong in `error`.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                            std::string& error);

extern const char kUsage[];
