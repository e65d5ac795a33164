#include "ProgressLine.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

constexpr std::chrono::milliseconds kRedrawInterval(100);
// Less time than this says nothing yet about the speed.
constexpr std::chrono::duration<double> kShortestMeasure(0.05);

std::string Duration(std::uint64_t seconds) {
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof(text), "%" PRIu64 ":%02u:%02u", seconds / 3600,
                      static_cast<unsigned>(seconds / 60 % 60),
                      static_cast<unsigned>(seconds % 60));
    } else {
        std::snprintf(text, sizeof(text), "%u:%02u", static_cast<unsigned>(seconds / 60),
                      static_cast<unsigned>(seconds % 60));
    }
    return text;
}

}  // namespace

std::string ProgressText(std::uint64_t done, std::uint64_t inputSize,
                         std::chrono::duration<double> elapsed) {
    // A file that grew while it was read still shows no more than 100%.
    if (done > inputSize) done = inputSize;
    const unsigned percent = inputSize == 0
                                 ? 100u
                                 : static_cast<unsigned>(static_cast<double>(done) * 100.0 /
                                                         static_cast<double>(inputSize));
    char text[96];
    if (elapsed < kShortestMeasure || done == 0) {
        std::snprintf(text, sizeof(text), "%3u%%   --.- MB/s   -:-- left", percent);
        return text;
    }
    const double bytesPerSecond = static_cast<double>(done) / elapsed.count();
    const auto secondsLeft =
        static_cast<std::uint64_t>(static_cast<double>(inputSize - done) / bytesPerSecond + 0.5);
    std::snprintf(text, sizeof(text), "%3u%% %7.1f MB/s %6s left", percent, bytesPerSecond / 1e6,
                  Duration(secondsLeft).c_str());
    return text;
}

ProgressLine::ProgressLine(std::uint64_t inputSize, std::function<void(std::string_view)> write,
                           std::function<Clock::time_point()> now)
    : m_inputSize(inputSize), m_write(std::move(write)), m_now(std::move(now)), m_start(m_now()) {}

void ProgressLine::BytesRead(std::uint64_t total) {
    const Clock::time_point now = m_now();
    if (m_width != 0 && now - m_lastDraw < kRedrawInterval) return;
    m_lastDraw = now;
    std::string line(1, '\r');
    line += ProgressText(total, m_inputSize, now - m_start);
    // A shorter line than the last one must still cover it.
    if (line.size() - 1 < m_width) line.append(m_width - (line.size() - 1), ' ');
    m_width = line.size() - 1;
    m_write(line);
}

void ProgressLine::Clear() {
    if (m_width == 0) return;
    std::string blank(m_width + 2, ' ');
    blank.front() = blank.back() = '\r';
    m_write(blank);
    m_width = 0;
}

std::unique_ptr<ProgressLine> ProgressLineFor(const CommandLine& commandLine) {
    if (commandLine.quiet || commandLine.input == "-" || !isatty(fileno(stderr))) return nullptr;
    // Converted text on the same terminal would be broken up by the line.
    if (commandLine.output == "-" && isatty(fileno(stdout))) return nullptr;
    std::error_code error;
    const std::filesystem::path input(commandLine.input);
    if (!std::filesystem::is_regular_file(input, error)) return nullptr;
    const std::uintmax_t size = std::filesystem::file_size(input, error);
    if (error || size < kProgressMinimumSize) return nullptr;
    return std::make_unique<ProgressLine>(size, [](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
    });
}
