#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ConversionRun.h"
#include "FaultyFiles.h"
#include "Reference.h"
#include "TempFolder.h"

namespace {

struct RecordingProgress final : ConversionProgress {
    void BytesRead(std::uint64_t total) override { totals.push_back(total); }
    std::vector<std::uint64_t> totals;
};

class ConversionProgressTest : public testing::Test {
protected:
    // Short reads, so that the input takes many of them whatever the converter's read size.
    ConversionProgressTest() { files.CutReadsTo(64 * 1024); }

    ConversionOutcome Convert() { return ConvertFile(input, output, files, CodePage(), &progress); }

    TempFolder folder;
    FaultyFiles files;
    RecordingProgress progress;
    std::string input = folder / "in.csv";
    std::string output = folder / "out.tab";
};

// Many reads' worth of records, so that the count of reports means something.
std::string ManyRecords() {
    std::string text;
    for (int i = 0; text.size() < 1'000'000; ++i) {
        text += '"';
        text += std::to_string(i);
        text += "\",field,x\r\n";
    }
    return text;
}

TEST_F(ConversionProgressTest, ToldAfterEveryReadUpToTheInputsSize) {
    const std::string text = ManyRecords();
    WriteBytes(input, text);
    EXPECT_TRUE(Convert().completed);
    ASSERT_GT(progress.totals.size(), 1u);
    for (std::size_t i = 1; i < progress.totals.size(); ++i) {
        EXPECT_GT(progress.totals[i], progress.totals[i - 1]);
    }
    EXPECT_EQ(progress.totals.back(), text.size());
    // Watching changes nothing in what is written.
    EXPECT_EQ(ReadBytes(output), reference::ConvertFile(text, CodePage()));
}

TEST_F(ConversionProgressTest, ToldNothingPastAFailedRead) {
    WriteBytes(input, ManyRecords());
    files.FailAt(FaultyFiles::Call::Read, 2);
    EXPECT_FALSE(Convert().completed);
    ASSERT_EQ(progress.totals.size(), 1u);
    EXPECT_LT(progress.totals[0], ManyRecords().size());
}

TEST_F(ConversionProgressTest, EmptyInputReportsNothing) {
    WriteBytes(input, "");
    EXPECT_TRUE(Convert().completed);
    EXPECT_TRUE(progress.totals.empty());
}

}  // namespace
