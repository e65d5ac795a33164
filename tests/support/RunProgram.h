#pragma once

#include <string>
#include <vector>

// Runs a program to its end, as a shell would with redirections, and keeps
// what it printed. `directory` empty: the current one. `environment` holds
// extra NAME=value settings on top of this process's own.
struct ProgramRun {
    int exitCode = -1;
    std::string output;  // standard output
    std::string errors;  // standard error
};

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input = "", const std::string& directory = "",
                      const std::vector<std::string>& environment = {});
