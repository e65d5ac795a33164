#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FaultyFiles.h"
#include "RecordWriter.h"
#include "RecordingReporter.h"
#include "TempFolder.h"

namespace {

using namespace std::string_literals;

class AppendRecordTest : public testing::Test {
protected:
    TempFolder folder;
    FaultyFiles files;
    RecordingReporter reporter;
    std::string path = folder / "out.tab";
};

TEST_F(AppendRecordTest, WritesLineFeedsAsCrLf) {
    struct Case {
        std::string before;
        std::string record;
        std::string after;
    };
    const Case cases[] = {
        {"", "a\tb\n", "a\tb\r\n"},                              // a missing file is created
        {"", "x\r\n", "x\r\r\n"},                                // a lone CR stays before the pair
        {"old\r\n", "new\n", "old\r\nnew\r\n"},                  // earlier content stays first
        {"old\x1A", "new\n", "old\x1Anew\r\n"},                  // and so does an end-of-text byte
        {"", "a\0b\0\n"s, "a\0b\0\r\n"s},                        // NUL bytes are written
    };
    for (const Case& c : cases) {
        std::filesystem::remove(path);
        if (!c.before.empty()) WriteBytes(path, c.before);
        AppendRecord(path, c.record, reporter, files);
        EXPECT_EQ(ReadBytes(path), c.after);
    }
    EXPECT_TRUE(reporter.boxes.empty());
}

TEST_F(AppendRecordTest, EmptyOutputPathBecomesDbCsv) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    std::string output;
    AppendRecord(output, "a\tb\n", reporter, files);
    std::filesystem::current_path(previous);
    EXPECT_EQ(output, "db.csv");
    EXPECT_EQ(ReadBytes(folder / "db.csv"), "a\tb\r\n");
}

TEST_F(AppendRecordTest, UnopenableFileShowsSaveToFile) {
    std::string output = folder / "no-such-folder/out.tab";
    AppendRecord(output, "a\n", reporter, files);
    ASSERT_EQ(reporter.boxes.size(), 1u);
    EXPECT_EQ(reporter.boxes[0].caption, "Error Writing File");
    EXPECT_EQ(reporter.boxes[0].text.substr(0, 14), "Save to File\n\n");
    EXPECT_NE(reporter.boxes[0].text.find(output), std::string::npos);
    EXPECT_EQ(output, folder / "no-such-folder/out.tab");
}

TEST(RecordWriterTest, WritesWholeRecordsAndHoldsBackTheRest) {
    TempFolder folder;
    FaultyFiles files;
    std::string path = folder / "out.tab";
    RecordWriter writer(path, files, FileIdentity{});
    const std::string pieces[] = {"one\r\ntw", "o\r\nthr"};
    for (const std::string& piece : pieces) {
        piece.copy(writer.Reserve(piece.size()), piece.size());
        ASSERT_TRUE(writer.Commit(piece.size()));
    }
    EXPECT_EQ(ReadBytes(path), "one\r\ntwo\r\n");
    ASSERT_TRUE(writer.FinishWholeRecords());
    EXPECT_EQ(ReadBytes(path), "one\r\ntwo\r\n");
    EXPECT_EQ(files.OutputOpens(), 1);
}

}  // namespace
