#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "SystemFiles.h"

namespace {

std::string Reason(int error) { return std::strerror(error); }

FileIdentity IdentityOf(int descriptor) {
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return {};
    return {true, static_cast<std::uint64_t>(status.st_dev),
            static_cast<std::uint64_t>(status.st_ino)};
}

class PosixInputFile final : public InputFile {
public:
    PosixInputFile(int descriptor, bool owned) : m_descriptor(descriptor), m_owned(owned) {}
    ~PosixInputFile() override {
        if (m_owned) close(m_descriptor);
    }

    bool Read(char* buffer, std::size_t capacity, std::size_t& got, std::string& reason) override {
        ssize_t result;
        do {
            result = read(m_descriptor, buffer, capacity);
        } while (result < 0 && errno == EINTR);
        if (result < 0) {
            reason = Reason(errno);
            return false;
        }
        got = static_cast<std::size_t>(result);
        return true;
    }

    FileIdentity Identity() const override { return IdentityOf(m_descriptor); }

private:
    int m_descriptor;
    bool m_owned;
};

class PosixOutputFile final : public OutputFile {
public:
    PosixOutputFile(int descriptor, bool owned) : m_descriptor(descriptor), m_owned(owned) {}
    ~PosixOutputFile() override {
        std::string ignored;
        Close(ignored);
    }

    bool Append(const char* data, std::size_t size, std::string& reason) override {
        while (size > 0) {
            const ssize_t written = write(m_descriptor, data, size);
            if (written < 0) {
                if (errno == EINTR) continue;
                reason = Reason(errno);
                return false;
            }
            data += written;
            size -= static_cast<std::size_t>(written);
        }
        return true;
    }

    bool Close(std::string& reason) override {
        if (m_descriptor < 0) return true;
        const int descriptor = m_descriptor;
        m_descriptor = -1;
        if (!m_owned) return true;
        if (close(descriptor) != 0 && errno != EINTR) {
            reason = Reason(errno);
            return false;
        }
        return true;
    }

    FileIdentity Identity() const override { return IdentityOf(m_descriptor); }

private:
    int m_descriptor;
    bool m_owned;
};

}  // namespace

std::unique_ptr<InputFile> SystemFiles::OpenForReading(const std::string& path,
                                                       std::string& reason) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        reason = Reason(errno);
        return nullptr;
    }
    // open() happily opens a folder for reading; reading it would fail later.
    struct stat status {};
    if (fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        close(descriptor);
        reason = Reason(EISDIR);
        return nullptr;
    }
    return std::make_unique<PosixInputFile>(descriptor, true);
}

std::unique_ptr<OutputFile> SystemFiles::OpenForAppending(const std::string& path,
                                                          std::string& reason) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        reason = Reason(errno);
        return nullptr;
    }
    return std::make_unique<PosixOutputFile>(descriptor, true);
}

std::unique_ptr<InputFile> OpenStandardInput() {
    return std::make_unique<PosixInputFile>(STDIN_FILENO, false);
}

std::unique_ptr<OutputFile> OpenStandardOutput() {
    return std::make_unique<PosixOutputFile>(STDOUT_FILENO, false);
}
