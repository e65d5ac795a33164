#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "ProgressLine.h"
#include "TerminalLine.h"

namespace {

using namespace std::chrono_literals;
using Clock = ProgressLine::Clock;

TEST(ProgressTextTest, ShowsShareSpeedAndTimeLeft) {
    const struct {
        std::uint64_t done, size;
        std::chrono::duration<double> elapsed;
        std::string expected;
    } cases[] = {
        {0, 100'000'000, 0s, "  0%   --.- MB/s   -:-- left"},
        {5'000'000, 100'000'000, 10ms,
         "  5%   --.- MB/s   -:-- left"},  // too soon to tell the speed
        {50'000'000, 100'000'000, 1s, " 50%    50.0 MB/s   0:01 left"},
        {25'000'000, 100'000'000, 5s, " 25%     5.0 MB/s   0:15 left"},
        {60'000'000, 1'260'000'000, 60s, "  4%     1.0 MB/s  20:00 left"},
        {1'000'000, 10'000'000'000, 10s, "  0%     0.1 MB/s 27:46:30 left"},
        {3'000'000'000, 3'000'000'000, 2s, "100%  1500.0 MB/s   0:00 left"},
        {200, 100, 1s, "100%     0.0 MB/s   0:00 left"},  // the file grew while it was read
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgressText(c.done, c.size, c.elapsed), c.expected)
            << c.done << " of " << c.size;
    }
}

class ProgressLineTest : public testing::Test {
protected:
    Clock::time_point now{};
    std::vector<std::string> writes;
    ProgressLine line{1'000'000'000, [this](std::string_view text) { writes.emplace_back(text); },
                      [this] { return now; }};

    std::string Screen() const {
        std::string all;
        for (const std::string& text : writes) all += text;
        return TerminalLine(all);
    }
};

TEST_F(ProgressLineTest, RedrawsAtMostTenTimesASecond) {
    const struct {
        std::chrono::milliseconds at;
        bool drawn;
    } reads[] = {{0ms, true},    {50ms, false}, {99ms, false},  {100ms, true},
                 {150ms, false}, {250ms, true}, {2000ms, true}, {2001ms, false}};
    std::uint64_t total = 0;
    for (const auto& read : reads) {
        now = Clock::time_point(read.at);
        total += 1'000'000;
        const std::size_t before = writes.size();
        line.BytesRead(total);
        EXPECT_EQ(writes.size() - before, read.drawn ? 1u : 0u)
            << "at " << read.at.count() << " ms";
    }
    for (const std::string& text : writes) {
        EXPECT_EQ(text.front(), '\r');
        EXPECT_EQ(text.find('\n'), std::string::npos);
    }
}

TEST_F(ProgressLineTest, ShorterLineCoversTheLongerOneAndClearLeavesNothing) {
    now = Clock::time_point(10s);
    line.BytesRead(1'000'000);  // slow start: hours left
    const std::string slow = Screen();
    EXPECT_EQ(slow, ProgressText(1'000'000, 1'000'000'000, 10s));
    now = Clock::time_point(20s);
    line.BytesRead(1'000'000);
    now = Clock::time_point(30s);
    line.BytesRead(900'000'000);
    EXPECT_EQ(Screen(), ProgressText(900'000'000, 1'000'000'000, 30s));
    EXPECT_LT(Screen().size(), TerminalLine(writes[1]).size());

    line.Clear();
    EXPECT_EQ(Screen(), "");
    EXPECT_EQ(writes.back().back(), '\r');  // the cursor is back in the first column
}

TEST_F(ProgressLineTest, ClearWithNothingDrawnWritesNothing) {
    line.Clear();
    EXPECT_TRUE(writes.empty());
}

}  // namespace
