#include "CommandLine.h"

#include <charconv>

const char kUsage[] =
    "Usage: kestrova [--codepage N] [--quiet] INPUT [OUTPUT]\n"
    "Convert the comma-separated file INPUT into tab-delimited text: every comma\n"
    "becomes a TAB, every double quote is deleted, and every line ends with CR LF.\n"
    "\n"
    "  INPUT             the file to read; - reads standard input\n"
    "  OUTPUT            the file to append the records to, created if missing and\n"
    "                    never truncated; an empty name means db.csv; omitted or -\n"
    "                    writes to standard output\n"
    "  --codepage N      read the input in Windows code page N; under 932, 936, 949\n"
    "                    and 950 a comma or quote inside a double-byte character is\n"
    "                    kept; 0 (the default) takes the system's code page\n"
    "  --quiet           show no progress line; without it, an INPUT of 64 MiB or\n"
    "                    more shows one on standard error when that is a terminal\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "Exit status: 0 when the whole input was converted, 1 when a file could not be\n"
    "read or written, 2 when the command line is wrong.\n";

namespace {

bool ParseNumber(const std::string& text, unsigned& number) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    return !text.empty() && error == std::errc() && stop == end;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                            std::string& error) {
    CommandLine commandLine;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || argument.rfind("-", 0) != 0) {
            operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            commandLine.action = CommandLine::Action::ShowHelp;
            return commandLine;
        } else if (argument == "--version") {
            commandLine.action = CommandLine::Action::ShowVersion;
            return commandLine;
        } else if (argument == "--quiet") {
            commandLine.quiet = true;
        } else if (argument == "--codepage" || argument.rfind("--codepage=", 0) == 0) {
            std::string value;
            if (argument == "--codepage") {
                if (i + 1 == arguments.size()) {
                    error = "--codepage needs a number";
                    return std::nullopt;
                }
                value = arguments[++i];
            } else {
                value = argument.substr(sizeof("--codepage=") - 1);
            }
            if (!ParseNumber(value, commandLine.codePage)) {
                error = "--codepage needs a number, not '" + value + "'";
                return std::nullopt;
            }
        } else {
            error = "unknown option '" + argument + "'";
            return std::nullopt;
        }
    }
    if (operands.empty()) {
        error = "no input file given";
        return std::nullopt;
    }
    if (operands.size() > 2) {
        error = "too many files given: '" + operands[2] + "'";
        return std::nullopt;
    }
    commandLine.input = operands[0];
    if (operands.size() == 2) commandLine.output = operands[1];
    return commandLine;
}
