#pragma once

#include <memory>
#include <string>

#include "FileSystem.h"

// The engine's files on the operating system: POSIX descriptors, or Windows
// file handles with 64-bit sizes and offsets. Opens share reading and writing
// with other programs, as the converter always has.
class SystemFiles final : public FileSystem {
public:
    std::unique_ptr<InputFile> OpenForReading(const std::string& path,
                                              std::string& reason) override;
    std::unique_ptr<OutputFile> OpenForAppending(const std::string& path,
                                                 std::string& reason) override;
};

// The process's standard input and output, for the command-line tool's "-".
std::unique_ptr<InputFile> OpenStandardInput();
std::unique_ptr<OutputFile> OpenStandardOutput();
