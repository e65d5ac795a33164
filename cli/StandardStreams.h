#pragma once

#include "FileSystem.h"

// The system's files, with "-" standing for standard input or standard output.
class StandardStreams final : public FileSystem {
public:
    explicit StandardStreams(FileSystem& files) : m_files(files) {}

    std::unique_ptr<InputFile> OpenForReading(const std::string& path,
                                              std::string& reason) override;
    std::unique_ptr<OutputFile> OpenForAppending(const std::string& path,
                                                 std::string& reason) override;

private:
    FileSystem& m_files;
};
