#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "KestrovaProgram.h"
#include "TempFolder.h"

namespace {

class KestrovaTest : public testing::Test {
protected:
    TempFolder folder;
    std::string input = folder / "in.csv";
    std::string output = folder / "out.tab";
};

TEST_F(KestrovaTest, ConvertsToStandardOutputOrAppendsToAFile) {
    WriteBytes(input, "a,\"b\"\r\nc,d");
    const ProgramRun toStdout = RunKestrova({input});
    EXPECT_EQ(toStdout.exitCode, 0);
    EXPECT_EQ(toStdout.output, "a\tb\r\nc\td\r\n");
    EXPECT_EQ(toStdout.errors, "");

    WriteBytes(output, "kept\r\n");
    EXPECT_EQ(RunKestrova({input, output}).exitCode, 0);
    EXPECT_EQ(RunKestrova({"-", output}, "x,y\n").exitCode, 0);
    EXPECT_EQ(ReadBytes(output), "kept\r\na\tb\r\nc\td\r\nx\ty\r\n");
}

TEST_F(KestrovaTest, EmptyOutputNameMeansDbCsvInTheCurrentFolder) {
    WriteBytes(input, "1,2\n");
    EXPECT_EQ(RunKestrova({input, ""}, "", folder.Path().string()).exitCode, 0);
    EXPECT_EQ(ReadBytes(folder / "db.csv"), "1\t2\r\n");
}

TEST_F(KestrovaTest, CodePageDecidesWhatALeadByteHides) {
    WriteBytes(input, "\x81,x\n");
    EXPECT_EQ(RunKestrova({"--codepage", "932", input}).output, "\x81,x\r\n");
    EXPECT_EQ(RunKestrova({"--codepage=1252", input}).output, "\x81\tx\r\n");
#ifndef _WIN32
    // With no option the locale's character set decides.
    EXPECT_EQ(RunKestrova({input}, "", "", {"LC_ALL=ja_JP.SJIS"}).output, "\x81,x\r\n");
    EXPECT_EQ(RunKestrova({input}, "", "", {"LC_ALL=C.UTF-8"}).output, "\x81\tx\r\n");
#endif
}

TEST_F(KestrovaTest, FailuresExitWithOneLineNamingTheFile) {
    WriteBytes(input, "a,b\n");
    std::filesystem::create_directory(folder / "folder");
    const struct {
        std::vector<std::string> arguments;
        std::string named;
    } cases[] = {
        {{folder / "missing.csv"}, folder / "missing.csv"},
        {{folder / "folder"}, folder / "folder"},
        {{input, folder / "folder"}, folder / "folder"},
        {{input, input}, input},
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunKestrova(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.named;
        EXPECT_EQ(run.errors.rfind("kestrova: ", 0), 0u) << run.errors;
        EXPECT_NE(run.errors.find(c.named), std::string::npos) << run.errors;
        EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.csv"));
    EXPECT_EQ(ReadBytes(input), "a,b\n");
}

TEST_F(KestrovaTest, BadUsageExitsWithTwoAndTheUsage) {
    WriteBytes(input, "a\n");
    const std::vector<std::string> cases[] = {
        {},
        {"--frobnicate", input},
        {input, output, "third"},
        {"--codepage", "x", input},
        {"--codepage"},
    };
    for (const auto& arguments : cases) {
        const ProgramRun run = RunKestrova(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.errors.find("Usage: kestrova"), std::string::npos) << run.errors;
        EXPECT_EQ(run.output, "");
    }
    EXPECT_FALSE(std::filesystem::exists(output));
}

// Text for people: Windows ends its lines with CR LF, which these checks set aside.
std::string WithoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

TEST_F(KestrovaTest, HelpAndVersion) {
    const ProgramRun help = RunKestrova({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(WithoutCr(help.output)
                  .rfind("Usage: kestrova [--codepage N] [--quiet] INPUT [OUTPUT]\n", 0),
              0u);
    const ProgramRun version = RunKestrova({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(WithoutCr(version.output), "kestrova " KESTROVA_VERSION "\n");
}

}  // namespace
