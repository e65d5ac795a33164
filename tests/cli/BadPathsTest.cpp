#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "KestrovaProgram.h"
#include "TempFolder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';

// Test files beyond MAX_PATH are made and read through the \\?\ form.
std::wstring LongForm(const std::string& path) {
    return L"\\\\?\\" + std::filesystem::path(path).wstring();
}

void MakeFolder(const std::string& path) { CreateDirectoryW(LongForm(path).c_str(), nullptr); }

// The test folder's own removal stops at MAX_PATH; this one goes as deep as needed.
void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + L"\\" + name);
            } else {
                DeleteFileW((path + L"\\" + name).c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

void RemoveLongFolder(const std::string& path) { RemoveTree(LongForm(path)); }

void WriteFile(const std::string& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFile(const std::string& path) {
    const HANDLE file = CreateFileW(LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string bytes(4096, '\0');
    DWORD read = 0;
    if (file == INVALID_HANDLE_VALUE || !::ReadFile(file, bytes.data(), 4096, &read, nullptr))
        read = 0;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

void MakeReadOnly(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}
void MakeWritable(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Whether this process could append to `path` now.
bool CanAppendTo(const std::string& path) {
    const HANDLE file =
        CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}
#else
constexpr char kSeparator = '/';

void MakeFolder(const std::string& path) { std::filesystem::create_directory(path); }
void RemoveLongFolder(const std::string& path) { std::filesystem::remove_all(path); }
void WriteFile(const std::string& path, const std::string& bytes) { WriteBytes(path, bytes); }
std::string ReadFile(const std::string& path) { return ReadBytes(path); }
void MakeReadOnly(const std::string& path) { chmod(path.c_str(), 0444); }
void MakeWritable(const std::string& path) { chmod(path.c_str(), 0644); }
bool CanAppendTo(const std::string& path) { return access(path.c_str(), W_OK) == 0; }
#endif

// Exit status 1 and one line on standard error that names `path`.
void ExpectOneLineNaming(const ProgramRun& run, const std::string& path) {
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_EQ(run.errors.rfind("kestrova: ", 0), 0u) << run.errors;
    EXPECT_NE(run.errors.find(path), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors;
}

class BadPathsTest : public testing::Test {
protected:
    TempFolder folder;
    const std::string base = folder.Path().string();
    std::string input = folder / "in.csv";
    std::string output = folder / "out.tab";
    const std::string text = "a,\"b\"\r\nc,d\n";
    const std::string converted = "a\tb\r\nc\td\r\n";
};

TEST_F(BadPathsTest, PathsAroundAndPastTheClassicLimitWork) {
    // Windows' classic limit is 260 characters with the final NUL.
    for (const std::size_t length : {259u, 260u, 261u, 300u, 1000u}) {
        SCOPED_TRACE("path of " + std::to_string(length) + " characters");
        std::string folderPath = base + kSeparator + "long" + std::to_string(length);
        MakeFolder(folderPath);
        // Folders of 100 characters until what is left fits one file name.
        while (length - folderPath.size() > 201) {
            folderPath += kSeparator + std::string(100, 'd');
            MakeFolder(folderPath);
        }
        const std::size_t nameLength = length - folderPath.size() - 1;
        const std::string longInput = folderPath + kSeparator + std::string(nameLength, 'i');
        const std::string longOutput = folderPath + kSeparator + std::string(nameLength, 'o');
        ASSERT_EQ(longInput.size(), length);
        WriteFile(longInput, text);
        WriteFile(longOutput, "kept\r\n");

        const ProgramRun run = RunKestrova({longInput, longOutput});
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        EXPECT_EQ(ReadFile(longOutput), "kept\r\n" + converted);
        EXPECT_EQ(ReadFile(longInput), text);
        RemoveLongFolder(base + kSeparator + "long" + std::to_string(length));
    }
}

TEST_F(BadPathsTest, MissingFoldersAndRemovedInputsGetOneMessage) {
    WriteBytes(input, text);
    const std::string removed = folder / "removed.csv";
    WriteBytes(removed, text);
    std::filesystem::remove(removed);
    const std::string missingFolder = folder / "no-such-folder";
    struct Case {
        std::string input;
        std::string output;
        std::string named;
    };
    std::vector<Case> cases = {
        {removed, output, removed},
        {missingFolder + kSeparator + "in.csv", output, missingFolder},
        {input, missingFolder + kSeparator + "out.tab", missingFolder},
    };
#ifdef _WIN32
    // A drive letter that names no drive.
    const DWORD drives = GetLogicalDrives();
    char letter = 'Z';
    while (letter > 'D' && (drives & (1u << (letter - 'A')))) --letter;
    const std::string noDrive = std::string(1, letter) + ":\\kestrova\\file.csv";
    cases.push_back({noDrive, output, noDrive});
    cases.push_back({input, noDrive, noDrive});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input + " -> " + c.output);
        ExpectOneLineNaming(RunKestrova({c.input, c.output}), c.named);
        EXPECT_FALSE(std::filesystem::exists(output));
        EXPECT_FALSE(std::filesystem::exists(removed));
        EXPECT_FALSE(std::filesystem::exists(missingFolder));
        EXPECT_EQ(ReadBytes(input), text);
    }
}

TEST_F(BadPathsTest, ReadOnlyOutputIsAppendedToOnlyWhereTheSystemAllows) {
    WriteBytes(input, text);
    WriteBytes(output, "kept\r\n");
    MakeReadOnly(output);
    // The system decides: a program run by an administrator may write anyway.
    const bool writable = CanAppendTo(output);
    const ProgramRun run = RunKestrova({input, output});
    if (writable) {
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        EXPECT_EQ(ReadBytes(output), "kept\r\n" + converted);
    } else {
        ExpectOneLineNaming(run, output);
        EXPECT_EQ(ReadBytes(output), "kept\r\n");
    }
    MakeWritable(output);
}

#ifdef _WIN32
TEST_F(BadPathsTest, OutputHeldWithoutWriteSharingGetsOneMessage) {
    WriteBytes(input, text);
    WriteBytes(output, "kept\r\n");
    const HANDLE holder = CreateFileA(output.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ExpectOneLineNaming(RunKestrova({input, output}), output);
    CloseHandle(holder);
    EXPECT_EQ(ReadBytes(output), "kept\r\n");
    // Once let go, the same file takes the records.
    EXPECT_EQ(RunKestrova({input, output}).exitCode, 0);
    EXPECT_EQ(ReadBytes(output), "kept\r\n" + converted);
}

TEST_F(BadPathsTest, DeviceNamesWorkAsDevicesOrGetOneMessage) {
    WriteBytes(input, text);
    // The null device takes any output and gives an empty input.
    const ProgramRun intoNul = RunKestrova({input, "NUL"}, "", base);
    EXPECT_EQ(intoNul.exitCode, 0) << intoNul.errors;
    const ProgramRun fromNul = RunKestrova({"NUL", output}, "", base);
    EXPECT_EQ(fromNul.exitCode, 0) << fromNul.errors;
    EXPECT_FALSE(std::filesystem::exists(output));

    // The others exist on some machines only; reading one never waits for
    // input that does not come (the console is left out: it would).
    const std::vector<std::string> cases[] = {
        {input, "CON"},
        {"COM1", output},
        {"LPT1", output},
        {input, "LPT1.txt"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        const std::string& device = arguments[0] == input ? arguments[1] : arguments[0];
        SCOPED_TRACE(device);
        const ProgramRun run = RunKestrova(arguments, "", base);
        if (run.exitCode != 0) ExpectOneLineNaming(run, device);
        EXPECT_EQ(ReadBytes(input), text);
    }
    // None of them became a file in the folder.
    for (const char* name : {"NUL", "CON", "COM1", "LPT1", "LPT1.txt"}) {
        EXPECT_FALSE(std::filesystem::exists(folder.Path() / name)) << name;
    }
}
#endif

}  // namespace
