#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "CommandLine.h"
#include "ConversionRun.h"

// One line on the terminal that tells how far a long conversion has got: the
// share of the input read, the speed and the time left. It is redrawn in place
// at most ten times a second, so that a fast conversion never waits on the
// terminal, and wiped at the end so that nothing of it stays on the screen.
class ProgressLine final : public ConversionProgress {
public:
    using Clock = std::chrono::steady_clock;

    ProgressLine(std::uint64_t inputSize, std::function<void(std::string_view)> write,
                 std::function<Clock::time_point()> now = Clock::now);

    void BytesRead(std::uint64_t total) override;
    // Wipes the line and leaves the cursor where it stood before the first draw.
    void Clear();

private:
    std::uint64_t m_inputSize;
    std::function<void(std::string_view)> m_write;
    std::function<Clock::time_point()> m_now;
    Clock::time_point m_start;
    Clock::time_point m_lastDraw;
    std::size_t m_width = 0;  // of the line on screen; 0 while nothing is drawn
};

// The text of the line, for example " 42%   310.4 MB/s   0:03 left".
std::string ProgressText(std::uint64_t done, std::uint64_t inputSize,
                         std::chrono::duration<double> elapsed);

// The inputs below this size finish too soon for a progress line to help.
inline constexpr std::uint64_t kProgressMinimumSize = std::uint64_t{64} << 20;

// A progress line on standard error for this command, or none: only when
// standard error is a terminal, the input a regular file of at least
// kProgressMinimumSize, the converted text not on that terminal, and no --quiet.
std::unique_ptr<ProgressLine> ProgressLineFor(const CommandLine& commandLine);
