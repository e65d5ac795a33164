#include "StandardStreams.h"

#include "SystemFiles.h"

std::unique_ptr<InputFile> StandardStreams::OpenForReading(const std::string& path,
                                                           std::string& reason) {
    return path == "-" ? OpenStandardInput() : m_files.OpenForReading(path, reason);
}

std::unique_ptr<OutputFile> StandardStreams::OpenForAppending(const std::string& path,
                                                              std::string& reason) {
    return path == "-" ? OpenStandardOutput() : m_files.OpenForAppending(path, reason);
}
