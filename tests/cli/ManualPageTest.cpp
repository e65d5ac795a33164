#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "CommandLine.h"

namespace {

// The manual page's roff source, without its escapes for the minus sign.
std::vector<std::string> ManualPageLines() {
    std::ifstream file(KESTROVA_MANUAL_PAGE);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        for (std::size_t at; (at = line.find("\\-")) != std::string::npos;) line.erase(at, 1);
        lines.push_back(line);
    }
    return lines;
}

// The tagged paragraphs (.TP) of one section, each tag as a person reads it:
// ".BI --codepage \" N\"" gives "--codepage N".
std::set<std::string> Tags(const std::vector<std::string>& lines, const std::string& section) {
    std::set<std::string> tags;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(".SH ", 0) == 0) inSection = lines[i] == ".SH " + section;
        if (!inSection || lines[i] != ".TP" || i + 1 == lines.size()) continue;
        std::string tag = lines[i + 1].substr(lines[i + 1].find(' ') + 1);
        std::erase(tag, '"');
        while (tag.find("  ") != std::string::npos) tag.erase(tag.find("  "), 1);
        tags.insert(tag);
    }
    return tags;
}

// The options of the usage text, one a line after two spaces: "  --codepage N      read ...".
std::set<std::string> UsageOptions() {
    std::set<std::string> options;
    std::istringstream usage(kUsage);
    for (std::string line; std::getline(usage, line);) {
        if (line.rfind("  -", 0) != 0) continue;
        options.insert(line.substr(2, line.find("  ", 2) - 2));
    }
    return options;
}

// The exit statuses that the usage text explains: "0 when ..., 1 when ...".
std::set<std::string> UsageExitStatuses() {
    std::set<std::string> statuses;
    std::string usage = kUsage;
    usage = usage.substr(usage.find("Exit status:"));
    for (std::size_t at = 0; (at = usage.find(" when ", at)) != std::string::npos; ++at) {
        const std::size_t start = usage.find_last_of(" \n", at - 1) + 1;
        statuses.insert(usage.substr(start, at - start));
    }
    return statuses;
}

TEST(ManualPageTest, NamesTheSameOptionsAndExitStatusesAsTheHelp) {
    const std::vector<std::string> page = ManualPageLines();
    ASSERT_FALSE(page.empty()) << KESTROVA_MANUAL_PAGE;
    const std::set<std::string> options = Tags(page, "OPTIONS");
    EXPECT_EQ(options, UsageOptions());
    EXPECT_TRUE(options.contains("--quiet"));
    EXPECT_EQ(Tags(page, "EXIT STATUS"), UsageExitStatuses());
    EXPECT_EQ(UsageExitStatuses(), (std::set<std::string>{"0", "1", "2"}));

    // Each documented option is one the command line takes, with its value.
    for (const std::string& option : options) {
        std::vector<std::string> arguments;
        std::istringstream words(option);
        for (std::string word; words >> word;) arguments.push_back(word == "N" ? "0" : word);
        arguments.push_back("in.csv");
        std::string error;
        EXPECT_TRUE(ParseCommandLine(arguments, error)) << option << ": " << error;
    }
}

TEST(ManualPageTest, HasTheUsualSections) {
    std::set<std::string> sections;
    for (const std::string& line : ManualPageLines()) {
        if (line.rfind(".SH ", 0) == 0) sections.insert(line.substr(4));
    }
    for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS",
                                "EXAMPLES", "FILES", "SEE ALSO"}) {
        EXPECT_TRUE(sections.contains(section)) << section;
    }
}

}  // namespace
