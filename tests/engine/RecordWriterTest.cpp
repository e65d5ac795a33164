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
        {"", "a\tb\n", "a\tb\r\n"},              // a missing file is created
        {"", "x\r\n", "x\r\r\n"},                // a lone CR stays before the pair
        {"old\r\n", "new\n", "old\r\nnew\r\n"},  // earlier content stays first
        {"old\x1A", "new\n", "old\x1Anew\r\n"},  // and so does an end-of-text byte
        {"", "a\0b\0\n"s, "a\0b\0\r\n"s},        // NUL bytes are written
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

// Records set aside by Take stay as they are while the next piece is put into
// Reserve's room, and go out when WriteTaken says so; the unfinished record
// after them goes on in the next piece.
TEST(RecordWriterTest, TakenRecordsWaitForWriteTaken) {
    TempFolder folder;
    FaultyFiles files;
    std::string path = folder / "out.tab";
    RecordWriter writer(path, files, FileIdentity{});
    const std::string pieces[] = {"one\r\ntw", "o\r\nthree\r\nfo", "ur", "\r\n"};
    const std::string writtenAfter[] = {"one\r\n", "one\r\ntwo\r\nthree\r\n",
                                        "one\r\ntwo\r\nthree\r\n",
                                        "one\r\ntwo\r\nthree\r\nfour\r\n"};
    pieces[0].copy(writer.Reserve(pieces[0].size()), pieces[0].size());
    writer.Take(pieces[0].size());
    for (std::size_t i = 1; i < std::size(pieces); ++i) {
        // The next piece goes in before the records set aside are written.
        pieces[i].copy(writer.Reserve(pieces[i].size()), pieces[i].size());
        ASSERT_TRUE(writer.WriteTaken());
        EXPECT_EQ(ReadBytes(path), writtenAfter[i - 1]) << "piece " << i;
        writer.Take(pieces[i].size());
    }
    ASSERT_TRUE(writer.Finish());
    EXPECT_EQ(ReadBytes(path), writtenAfter[std::size(pieces) - 1]);
    EXPECT_EQ(files.OutputOpens(), 1);
}

}  // namespace
