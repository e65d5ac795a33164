#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The engine's only way to the files. The platform layer implements it over the
// operating system; tests put their own in front to make any call fail.

// Which file an open handle is on, so that a run can tell that its input and
// output are one file whatever the paths say. Known only for files on disk.
struct FileIdentity {
    bool known = false;
    std::uint64_t volume = 0;
    std::uint64_t index = 0;

    bool SameFileAs(const FileIdentity& other) const {
        return known && other.known && volume == other.volume && index == other.index;
    }
};

// Every failing call fills `reason` with the system's own words for the cause,
// for example "No such file or directory", without a final period.
class InputFile {
public:
    virtual ~InputFile() = default;
    // Reads up to `capacity` bytes; 0 in `got` means end of input.
    virtual bool Read(char* buffer, std::size_t capacity, std::size_t& got,
                      std::string& reason) = 0;
    virtual FileIdentity Identity() const = 0;
};

class OutputFile {
public:
    virtual ~OutputFile() = default;
    // Writes all `size` bytes at the file's current end, in one request where the
    // system allows, so that writers sharing the file never split it.
    virtual bool Append(const char* data, std::size_t size, std::string& reason) = 0;
    // Flushes and closes; a failure here can lose data and must be reported.
    virtual bool Close(std::string& reason) = 0;
    virtual FileIdentity Identity() const = 0;
};

class FileSystem {
public:
    // Opens an existing file for reading, sharing it for reading and writing.
    virtual std::unique_ptr<InputFile> OpenForReading(const std::string& path,
                                                      std::string& reason) = 0;
    // Opens a file for appending, creating it when missing, never truncating it.
    virtual std::unique_ptr<OutputFile> OpenForAppending(const std::string& path,
                                                         std::string& reason) = 0;

protected:
    ~FileSystem() = default;
};
