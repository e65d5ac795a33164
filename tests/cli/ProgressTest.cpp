#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "KestrovaProgram.h"
#include "ProgressLine.h"
#include "TempFolder.h"
#include "TerminalLine.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

class ProgressTest : public testing::Test {
protected:
    TempFolder folder;
    std::string input = folder / "in.csv";
#ifdef _WIN32
    std::string output = folder / "out.tab";
#else
    std::string output = "/dev/null";  // the output's size does not matter here
#endif

    // A file of zero bytes (one long line), made without writing it.
    void MakeInput(std::uint64_t size) {
        WriteBytes(input, "");
        std::filesystem::resize_file(input, size);
    }
};

TEST_F(ProgressTest, NeverShownWhenStandardErrorIsNotATerminal) {
    MakeInput(kProgressMinimumSize);
    const ProgramRun run = RunProgram(KestrovaProgramPath(), {input, output});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errors, "");
}

#ifndef _WIN32

struct TerminalRun {
    int exitCode = -1;
    std::string written;  // everything the program wrote to the terminal
};

// Runs a program with its standard error on a new pseudo-terminal, its standard
// input and output on /dev/null, and keeps what it wrote to the terminal.
TerminalRun RunOnTerminal(const std::string& program, const std::vector<std::string>& arguments) {
    TerminalRun run;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return run;
    const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        close(master);
        const int nothing = open("/dev/null", O_RDWR);
        dup2(nothing, STDIN_FILENO);
        dup2(nothing, STDOUT_FILENO);
        dup2(terminal, STDERR_FILENO);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    // Once the child has ended, no one holds the terminal and reading it ends.
    close(terminal);
    char buffer[4096];
    for (ssize_t got; (got = read(master, buffer, sizeof(buffer))) > 0;) {
        run.written.append(buffer, static_cast<std::size_t>(got));
    }
    close(master);
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    }
    return run;
}

TEST_F(ProgressTest, OnATerminalShownForLargeFilesOnlyAndClearedAtTheEnd) {
    const struct {
        std::uint64_t size;
        std::vector<std::string> options;
        bool shown;
    } cases[] = {
        {kProgressMinimumSize, {}, true},
        {kProgressMinimumSize - 1, {}, false},
        {kProgressMinimumSize, {"--quiet"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + (c.options.empty() ? "" : " " + c.options[0]));
        MakeInput(c.size);
        std::vector<std::string> arguments = c.options;
        arguments.insert(arguments.end(), {input, output});
        const TerminalRun run = RunOnTerminal(KestrovaProgramPath(), arguments);
        EXPECT_EQ(run.exitCode, 0);
        if (!c.shown) {
            EXPECT_EQ(run.written, "");
            continue;
        }
        // At least the first read is drawn, whatever the speed.
        EXPECT_EQ(run.written.rfind("\r  ", 0), 0u) << run.written;
        EXPECT_NE(run.written.find("% "), std::string::npos) << run.written;
        EXPECT_NE(run.written.find(" MB/s "), std::string::npos) << run.written;
        EXPECT_NE(run.written.find(" left"), std::string::npos) << run.written;
        EXPECT_EQ(run.written.find('\n'), std::string::npos) << run.written;
        EXPECT_EQ(TerminalLine(run.written), "") << run.written;
        EXPECT_EQ(run.written.back(), '\r');
    }
}

#endif

}  // namespace
