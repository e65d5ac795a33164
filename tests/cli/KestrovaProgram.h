#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "RunProgram.h"

// The kestrova built beside the tests (the build puts its folder in KESTROVA_BIN).
inline std::string KestrovaProgramPath() {
    const char* folder = std::getenv("KESTROVA_BIN");
#ifdef _WIN32
    return std::string(folder ? folder : ".") + "/kestrova.exe";
#else
    return std::string(folder ? folder : ".") + "/kestrova";
#endif
}

inline ProgramRun RunKestrova(const std::vector<std::string>& arguments,
                              const std::string& input = "", const std::string& directory = "",
                              const std::vector<std::string>& environment = {}) {
    return RunProgram(KestrovaProgramPath(), arguments, input, directory, environment);
}
