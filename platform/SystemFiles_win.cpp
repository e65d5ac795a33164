#include <windows.h>

#include <string>

#include "SystemError_win.h"
#include "SystemFiles.h"

namespace {

FileIdentity IdentityOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(handle) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle, &information)) {
        return {};
    }
    return {
        true, information.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

// Large requests are cut so that each fits a DWORD comfortably.
constexpr std::size_t kMaxRequest = 1u << 30;

// CreateFileA takes at most MAX_PATH characters, counting from the drive or
// share and through the current folder for a relative path. A longer path
// goes through the wide function as a full path with the \\?\ prefix, which
// has no such limit but takes the path as it stands: no "/" for "\\", no "..".
HANDLE OpenPath(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                DWORD flags) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    if (wide.rfind(L"\\\\?\\", 0) == 0) {
        return CreateFileW(wide.c_str(), access, share, nullptr, disposition, flags, nullptr);
    }
    std::wstring full(MAX_PATH, L'\0');
    DWORD fullLength = 0;
    if (!wide.empty()) {
        fullLength =
            GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (fullLength >= full.size()) {
            full.resize(fullLength);
            fullLength = GetFullPathNameW(wide.c_str(), fullLength, full.data(), nullptr);
        }
    }
    // Short paths, devices (NUL, COM1) and paths the system cannot make full go
    // to the system as given, to be opened or refused in its own words.
    if (fullLength < MAX_PATH) {
        return CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
    }
    full.resize(fullLength);
    // A share (\\server\share\...) takes the prefix's UNC form.
    const std::wstring prefixed =
        full.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
    return CreateFileW(prefixed.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

// Appending programs hold this lock, one byte far past any data, around each
// write. Windows appends atomically by itself, but not every system that runs
// this program does (Wine moves to the end and then writes): the lock keeps two
// converters appending to one file from overwriting each other's records.
constexpr DWORD kAppendLockOffsetHigh = 0x40000000;

bool LockForAppending(HANDLE handle) {
    OVERLAPPED place{};
    place.OffsetHigh = kAppendLockOffsetHigh;
    return LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &place) != FALSE;
}

void UnlockForAppending(HANDLE handle) {
    OVERLAPPED place{};
    place.OffsetHigh = kAppendLockOffsetHigh;
    UnlockFileEx(handle, 0, 1, 0, &place);
}

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
        // Devices, pipes and handles without read access take no lock; they need none.
        const bool locked = LockForAppending(m_handle);
        bool written = true;
        while (size > 0) {
            DWORD done = 0;
            const DWORD request = static_cast<DWORD>(size < kMaxRequest ? size : kMaxRequest);
            if (!WriteFile(m_handle, data, request, &done, nullptr)) {
                reason = SystemErrorText(GetLastError());
                written = false;
                break;
            }
            data += done;
            size -= done;
        }
        if (locked) UnlockForAppending(m_handle);
        return written;
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

std::unique_ptr<InputFile> SystemFiles::OpenForReading(const std::string& path,
                                                       std::string& reason) {
    const HANDLE handle =
        OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = SystemErrorText(GetLastError());
        return nullptr;
    }
    // A serial port (COM1) would wait for its next byte for ever: read what it
    // has received and take the first empty read as the end.
    COMMTIMEOUTS timeouts{};
    if (GetFileType(handle) == FILE_TYPE_CHAR && GetCommTimeouts(handle, &timeouts)) {
        timeouts = COMMTIMEOUTS{MAXDWORD, 0, 0, 0, 0};
        SetCommTimeouts(handle, &timeouts);
    }
    return std::make_unique<WindowsInputFile>(handle, true);
}

std::unique_ptr<OutputFile> SystemFiles::OpenForAppending(const std::string& path,
                                                          std::string& reason) {
    // Append-only access: every write goes to the file's current end, whatever
    // other programs have added meanwhile. Read access is asked for only because
    // the append lock needs it; a file that refuses it is appended to unlocked.
    const DWORD access = FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE handle =
        OpenPath(path, access | FILE_READ_DATA, share, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE &&
        (GetLastError() == ERROR_ACCESS_DENIED || GetLastError() == ERROR_SHARING_VIOLATION)) {
        handle = OpenPath(path, access, share, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    }
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
