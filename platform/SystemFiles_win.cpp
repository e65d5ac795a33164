#include <windows.h>

#include "SystemError_win.h"
#include "SystemFiles.h"

namespace {

FileIdentity IdentityOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &information)) {
        return {};
    }
    return {true, information.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

// Large requests are cut so that each fits a DWORD comfortably.
constexpr std::size_t kMaxRequest = 1u << 30;

class WindowsInputFile final : public InputFile {
public:
    WindowsInputFile(HANDLE handle, bool owned) : m_handle(handle), m_owned(owned) {}
    ~WindowsInputFile() override {
        if (m_owned) CloseHandle(m_handle);
    }

    bool Read(char* buffer, std::size_t capacity, std::size_t& got, std::string& reason) override {
        DWORD read = 0;
        const DWORD request = static_cast<DWORD>(capacity < kMaxRequest ? capacity : kMaxRequest);
        if (!ReadFile(m_handle, buffer, request, &read, nullptr)) {
            const DWORD error = GetLastError();
            // The writer of a pipe has gone: that is the end of the input.
            if (error == ERROR_BROKEN_PIPE) {
                got = 0;
                return true;
            }
            reason = SystemErrorText(error);
            return false;
        }
        got = read;
        return true;
    }

    FileIdentity Identity() const override { return IdentityOf(m_handle); }

private:
    HANDLE m_handle;
    bool m_owned;
};

class WindowsOutputFile final : public OutputFile {
public:
    WindowsOutputFile(HANDLE handle, bool owned) : m_handle(handle), m_owned(owned) {}
    ~WindowsOutputFile() override {
        std::string ignored;
        Close(ignored);
    }

    bool Append(const char* data, std::size_t size, std::string& reason) override {
        while (size > 0) {
            DWORD written = 0;
            const DWORD request = static_cast<DWORD>(size < kMaxRequest ? size : kMaxRequest);
            if (!WriteFile(m_handle, data, request, &written, nullptr)) {
                reason = SystemErrorText(GetLastError());
                return false;
            }
            data += written;
            size -= written;
        }
        return true;
    }

    bool Close(std::string& reason) override {
        if (m_handle == INVALID_HANDLE_VALUE) return true;
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        if (!m_owned) return true;
        if (!CloseHandle(handle)) {
            reason = SystemErrorText(GetLastError());
            return false;
        }
        return true;
    }

    FileIdentity Identity() const override { return IdentityOf(m_handle); }

private:
    HANDLE m_handle;
    bool m_owned;
};

}  // namespace

std::unique_ptr<InputFile> SystemFiles::OpenForReading(const std::string& path, std::string& reason) {
    const HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = SystemErrorText(GetLastError());
        return nullptr;
    }
    return std::make_unique<WindowsInputFile>(handle, true);
}

std::unique_ptr<OutputFile> SystemFiles::OpenForAppending(const std::string& path,
                                                          std::string& reason) {
    // Append-only access: every write goes to the file's current end, whatever
    // other programs have added meanwhile.
    const HANDLE handle =
        CreateFileA(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                    nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = SystemErrorText(GetLastError());
        return nullptr;
    }
    return std::make_unique<WindowsOutputFile>(handle, true);
}

std::unique_ptr<InputFile> OpenStandardInput() {
    return std::make_unique<WindowsInputFile>(GetStdHandle(STD_INPUT_HANDLE), false);
}

std::unique_ptr<OutputFile> OpenStandardOutput() {
    return std::make_unique<WindowsOutputFile>(GetStdHandle(STD_OUTPUT_HANDLE), false);
}
