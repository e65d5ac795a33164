#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ConversionRun.h"
#include "FileSystem.h"
#include "Reference.h"
#include "SystemFiles.h"
#include "TempFolder.h"

#ifdef _WIN32
#include <windows.h>
#include <winioctl.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Past what 32-bit sizes and offsets can hold.
constexpr std::uint64_t kFourGiB = std::uint64_t{1} << 32;

#ifdef _WIN32
const char kNullDevice[] = "NUL";

// Extends `path` to `size` bytes without writing them, marked sparse first so
// that the gap takes no disk, and puts `bytes` at `offset`.
void ExtendAndWrite(const std::string& path, std::uint64_t size, std::uint64_t offset,
                    const std::string& bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER place;
    place.QuadPart = static_cast<LONGLONG>(size);
    EXPECT_TRUE(SetFilePointerEx(file, place, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    place.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    EXPECT_TRUE(SetFilePointerEx(file, place, nullptr, FILE_BEGIN) &&
                WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    CloseHandle(file);
}

std::string ReadAt(const std::string& path, std::uint64_t offset, std::size_t count) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string bytes(count, '\0');
    LARGE_INTEGER place;
    place.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    if (file == INVALID_HANDLE_VALUE || !SetFilePointerEx(file, place, nullptr, FILE_BEGIN) ||
        !ReadFile(file, bytes.data(), static_cast<DWORD>(count), &read, nullptr)) {
        read = 0;
    }
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// The disk the file takes (under Wine: the blocks of the Linux file beneath it).
std::uint64_t AllocatedSize(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    FILE_STANDARD_INFO information{};
    const bool known =
        file != INVALID_HANDLE_VALUE &&
        GetFileInformationByHandleEx(file, FileStandardInfo, &information, sizeof(information));
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return known ? static_cast<std::uint64_t>(information.AllocationSize.QuadPart)
                 : ~std::uint64_t{0};
}
#else
const char kNullDevice[] = "/dev/null";

void ExtendAndWrite(const std::string& path, std::uint64_t size, std::uint64_t offset,
                    const std::string& bytes) {
    const int file = open(path.c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    EXPECT_EQ(ftruncate(file, static_cast<off_t>(size)), 0);
    EXPECT_EQ(pwrite(file, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
              static_cast<ssize_t>(bytes.size()));
    close(file);
}

std::string ReadAt(const std::string& path, std::uint64_t offset, std::size_t count) {
    const int file = open(path.c_str(), O_RDONLY);
    std::string bytes(count, '\0');
    const ssize_t read =
        file < 0 ? 0 : pread(file, bytes.data(), count, static_cast<off_t>(offset));
    if (file >= 0) close(file);
    bytes.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    return bytes;
}

std::uint64_t FileSize(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
}

std::uint64_t AllocatedSize(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? static_cast<std::uint64_t>(status.st_blocks) * 512
                                            : 0;
}
#endif

// The system's files, with what goes to the output counted and its last bytes kept.
class CountingFiles final : public FileSystem {
public:
    std::unique_ptr<InputFile> OpenForReading(const std::string& path,
                                              std::string& reason) override {
        return m_system.OpenForReading(path, reason);
    }
    std::unique_ptr<OutputFile> OpenForAppending(const std::string& path,
                                                 std::string& reason) override {
        auto file = m_system.OpenForAppending(path, reason);
        return file ? std::make_unique<Output>(*this, std::move(file)) : nullptr;
    }

    std::uint64_t written = 0;
    std::string tail;

private:
    class Output final : public OutputFile {
    public:
        Output(CountingFiles& files, std::unique_ptr<OutputFile> file)
            : m_files(files), m_file(std::move(file)) {}
        bool Append(const char* data, std::size_t size, std::string& reason) override {
            m_files.written += size;
            m_files.tail.append(data, size);
            if (m_files.tail.size() > kTailSize)
                m_files.tail.erase(0, m_files.tail.size() - kTailSize);
            return m_file->Append(data, size, reason);
        }
        bool Close(std::string& reason) override { return m_file->Close(reason); }
        FileIdentity Identity() const override { return m_file->Identity(); }

    private:
        static constexpr std::size_t kTailSize = 64;
        CountingFiles& m_files;
        std::unique_ptr<OutputFile> m_file;
    };

    SystemFiles m_system;
};

// Sparse files stand in for the big ones: gigabytes of file, kilobytes of disk.
constexpr std::uint64_t kMostDisk = 64u << 20;

TEST(LargeFileTest, InputPastFourGiBIsReadToItsEnd) {
    TempFolder folder;
    const std::string input = folder / "big.csv";
    // A gap of NUL bytes (one long record), then records after the 4 GiB mark.
    const std::string tail = "\r\nx,\"y\"\r\nlast,line";
    const std::uint64_t gap = kFourGiB + 3;
    ExtendAndWrite(input, gap, gap, tail);
    ASSERT_EQ(FileSize(input), gap + tail.size());

    CountingFiles files;
    std::string output = kNullDevice;
    const ConversionOutcome outcome = ConvertFile(input, output, files, CodePage());
    EXPECT_TRUE(outcome.completed) << outcome.problem;
    const std::string convertedTail = reference::ConvertFile(tail, CodePage()).substr(2);
    EXPECT_EQ(files.written, gap + 2 + convertedTail.size());
    EXPECT_EQ(files.tail.substr(files.tail.size() - convertedTail.size()), convertedTail);
    EXPECT_LT(AllocatedSize(input), kMostDisk);
}

TEST(LargeFileTest, OutputPastFourGiBIsAppendedToAtItsEnd) {
    TempFolder folder;
    const std::string input = folder / "in.csv";
    const std::string output = folder / "big.tab";
    const std::string earlier = "kept\r\n";
    const std::uint64_t size = kFourGiB + 5;
    ExtendAndWrite(output, size, size - earlier.size(), earlier);
    WriteBytes(input, "a,\"b\"\nc,d");

    SystemFiles files;
    std::string outputPath = output;
    const ConversionOutcome outcome = ConvertFile(input, outputPath, files, CodePage());
    EXPECT_TRUE(outcome.completed) << outcome.problem;
    const std::string added = "a\tb\r\nc\td\r\n";
    EXPECT_EQ(FileSize(output), size + added.size());
    EXPECT_EQ(ReadAt(output, size - earlier.size(), 64), earlier + added);
    EXPECT_EQ(ReadAt(output, 0, 4), std::string(4, '\0'));
    EXPECT_LT(AllocatedSize(output), kMostDisk);
}

}  // namespace
