#include "RunProgram.h"

#include <filesystem>

#include "TempFolder.h"

#ifdef _WIN32
#include <windows.h>

namespace {

// Quotes one argument the way the C run-time splits a command line again.
std::string Quote(const std::string& argument) {
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

HANDLE Inheritable(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES security{sizeof(security), nullptr, TRUE};
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input, const std::string& directory,
                      const std::vector<std::string>& environment) {
    TempFolder streams;
    WriteBytes(streams / "in", input);
    std::string commandLine = Quote(program);
    for (const std::string& argument : arguments) {
        commandLine += ' ';
        commandLine += Quote(argument);
    }

    for (const std::string& setting : environment) {
        const auto equals = setting.find('=');
        SetEnvironmentVariableA(setting.substr(0, equals).c_str(),
                                setting.substr(equals + 1).c_str());
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inheritable(streams / "in", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = Inheritable(streams / "out", GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = Inheritable(streams / "err", GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    ProgramRun run;
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        run.exitCode = static_cast<int>(exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        CloseHandle(handle);
    for (const std::string& setting : environment) {
        SetEnvironmentVariableA(setting.substr(0, setting.find('=')).c_str(), nullptr);
    }
    run.output = ReadBytes(streams / "out");
    run.errors = ReadBytes(streams / "err");
    return run;
}

#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input, const std::string& directory,
                      const std::vector<std::string>& environment) {
    TempFolder streams;
    WriteBytes(streams / "in", input);
    const std::string in = streams / "in", out = streams / "out", err = streams / "err";

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    ProgramRun run;
    const pid_t child = fork();
    if (child == 0) {
        dup2(open(in.c_str(), O_RDONLY), STDIN_FILENO);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
        if (!directory.empty() && chdir(directory.c_str()) != 0) _exit(127);
        for (const std::string& setting : environment) putenv(const_cast<char*>(setting.c_str()));
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        run.exitCode = WEXITSTATUS(status);
    }
    run.output = ReadBytes(out);
    run.errors = ReadBytes(err);
    return run;
}
#endif
