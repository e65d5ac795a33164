#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ConversionRun.h"
#include "FaultyFiles.h"
#include "RecordingReporter.h"
#include "Reference.h"
#include "TempFolder.h"

namespace {

using Calls = std::vector<std::string>;

class ConversionRunTest : public testing::Test {
protected:
    ConversionOutcome Run() { return RunConversion(input, output, reporter, files, codePage); }

    void ExpectOneBox(const std::string& caption, const std::string& mentioned) {
        EXPECT_EQ(reporter.calls, (Calls{"ReadBoxes", "ShowMessage", "RefreshBoxes"}));
        ASSERT_EQ(reporter.boxes.size(), 1u);
        EXPECT_EQ(reporter.boxes[0].caption, caption);
        EXPECT_NE(reporter.boxes[0].text.find(mentioned), std::string::npos)
            << reporter.boxes[0].text;
    }

    TempFolder folder;
    FaultyFiles files;
    RecordingReporter reporter;
    CodePage codePage;
    std::string input = folder / "in.csv";
    std::string output = folder / "out.tab";
};

TEST_F(ConversionRunTest, ConvertsTheFileAndSaysDone) {
    WriteBytes(input, "a,b\r\n\"c\",d\n");
    EXPECT_TRUE(Run().completed);
    EXPECT_EQ(ReadBytes(output), "a\tb\r\nc\td\r\n");
    EXPECT_EQ(reporter.calls, (Calls{"ReadBoxes", "ShowMessage", "RefreshBoxes"}));
    EXPECT_EQ(reporter.boxes[0].text, "Done");
    EXPECT_EQ(reporter.boxes[0].caption, "Done");
}

TEST_F(ConversionRunTest, AppendsToWhatTheOutputHolds) {
    WriteBytes(input, "a,b\nc,d");
    WriteBytes(output, "kept\r\n");
    Run();
    Run();
    EXPECT_EQ(ReadBytes(output), "kept\r\na\tb\r\nc\td\r\na\tb\r\nc\td\r\n");
}

TEST_F(ConversionRunTest, EmptyInputCreatesNoOutput) {
    WriteBytes(input, "");
    EXPECT_TRUE(Run().completed);
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(reporter.boxes[0].text, "Done");
}

TEST_F(ConversionRunTest, EmptyOutputPathWritesDbCsvAndKeepsTheName) {
    WriteBytes(input, "x,y\n");
    output.clear();
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    Run();
    std::filesystem::current_path(previous);
    EXPECT_EQ(output, "db.csv");
    EXPECT_EQ(ReadBytes(folder / "db.csv"), "x\ty\r\n");
}

TEST_F(ConversionRunTest, OutputMatchesTheReferenceForLongRecords) {
    // Lines longer than the write buffer leave in pieces; nothing is lost.
    std::string text;
    for (int line = 0; line < 3; ++line) {
        text += std::string(300000u + static_cast<std::size_t>(line), 'x') + ",\"q\"\r\n";
        for (int i = 0; i < 5000; ++i) text += "\"a\",b,\r\n";
    }
    WriteBytes(input, text);
    EXPECT_TRUE(Run().completed);
    EXPECT_EQ(ReadBytes(output), reference::ConvertFile(text, codePage));
}

// For outputs of megabytes: says where they part instead of printing them.
testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return testing::AssertionSuccess();
    const auto parted =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    return testing::AssertionFailure()
           << actual.size() << " bytes, " << expected.size()
           << " expected; they differ from offset " << parted.first - actual.begin();
}

// Several pieces, converted on a second thread while this one reads and
// writes: they come out whole and in order, in every code page, whatever the
// read sizes; after 0x1A neither the bytes read meanwhile nor a failure to read
// them count; a failing write stops the run with the records before it kept.
TEST_F(ConversionRunTest, PiecesConvertedAsideComeOutInOrder) {
    std::string text;
    for (int row = 0; text.size() < (3u << 20); ++row) {
        text += std::to_string(row) + ",\"Name, \xE9\x81\x81\",\"say \"\"hi\"\"\",," +
                (row % 7 == 0 ? "\n" : "\r\n");
    }
    const std::size_t endOfText = text.size() * 3 / 4;
    std::string ended = text;
    ended[endOfText] = '\x1A';
    for (unsigned number : {1252u, 932u}) {
        codePage = CodePage::FromNumber(number);
        for (std::size_t readSize :
             {std::size_t{65536}, std::size_t{100003}, std::size_t{262144}}) {
            SCOPED_TRACE("code page " + std::to_string(number) + ", reads of " +
                         std::to_string(readSize));
            files = FaultyFiles();
            files.CutReadsTo(readSize);
            WriteBytes(input, text);
            std::filesystem::remove(output);
            EXPECT_TRUE(Run().completed);
            EXPECT_TRUE(SameBytes(ReadBytes(output), reference::ConvertFile(text, codePage)));

            files.FailAt(FaultyFiles::Call::Read, static_cast<int>(endOfText / readSize) + 2);
            WriteBytes(input, ended);
            std::filesystem::remove(output);
            EXPECT_TRUE(Run().completed);
            EXPECT_TRUE(SameBytes(ReadBytes(output), reference::ConvertFile(ended, codePage)));
            EXPECT_EQ(files.Failed(), FaultyFiles::Call::Read);  // the read ahead was made

            reporter = RecordingReporter();
            files.FailAt(FaultyFiles::Call::Append, 2, "No space left on device");
            std::filesystem::remove(output);
            EXPECT_FALSE(Run().completed);
            ExpectOneBox("Error Writing File", "No space left on device");
            const std::string written = ReadBytes(output);
            const std::string expected = reference::ConvertFile(ended, codePage);
            EXPECT_LT(written.size(), expected.size());
            EXPECT_TRUE(SameBytes(written, expected.substr(0, written.size())));
            reporter = RecordingReporter();
        }
    }
}

TEST_F(ConversionRunTest, InputProblemsAreReportedAndCreateNothing) {
    std::filesystem::create_directory(folder / "folder.csv");
    struct Case {
        std::string input;
        std::string mentioned;
    };
    const Case cases[] = {
        {"", "No input file was given."},
        {folder / "missing.csv", folder / "missing.csv"},
        {folder / "folder.csv", folder / "folder.csv"},
        {folder / "no-such-folder/in.csv", folder / "no-such-folder/in.csv"},
    };
    for (const Case& c : cases) {
        reporter = RecordingReporter();
        input = c.input;
        const ConversionOutcome outcome = Run();
        EXPECT_FALSE(outcome.completed);
        ExpectOneBox("Error Reading File", c.mentioned);
        EXPECT_FALSE(std::filesystem::exists(folder / "missing.csv"));
        EXPECT_FALSE(std::filesystem::exists(output));
    }
}

TEST_F(ConversionRunTest, UnopenableOutputIsReportedOnce) {
    WriteBytes(input, "a\nb\nc\n");
    output = folder.Path().string();
    EXPECT_FALSE(Run().completed);
    ExpectOneBox("Error Writing File", "Save to File\n\n");
    EXPECT_NE(reporter.boxes[0].text.find(output), std::string::npos);
    EXPECT_EQ(files.OutputOpens(), 1);
}

TEST_F(ConversionRunTest, SameFileIsRefusedWhateverThePathSays) {
    const std::string content = "a,b\nc,d\n";
    WriteBytes(input, content);
    std::filesystem::create_hard_link(input, folder / "link.csv");
    for (const std::string& same : {input, folder / "./in.csv", folder / "link.csv"}) {
        reporter = RecordingReporter();
        output = same;
        EXPECT_FALSE(Run().completed);
        ExpectOneBox("Error Writing File", "is the input file itself");
        EXPECT_EQ(ReadBytes(input), content);
    }
}

TEST_F(ConversionRunTest, FailedWriteOrCloseIsReported) {
    WriteBytes(input, "a,b\n");
    for (FaultyFiles::Call call : {FaultyFiles::Call::Append, FaultyFiles::Call::Close}) {
        reporter = RecordingReporter();
        files.FailAt(call, 1, "No space left on device");
        EXPECT_FALSE(Run().completed);
        ExpectOneBox("Error Writing File", "No space left on device");
    }
}

#ifndef _WIN32
TEST_F(ConversionRunTest, FullDiskIsReported) {
    WriteBytes(input, "a,b\n");
    output = "/dev/full";
    EXPECT_FALSE(Run().completed);
    ExpectOneBox("Error Writing File", "/dev/full");
}
#endif

TEST_F(ConversionRunTest, ReadFailureKeepsTheRecordsBeforeIt) {
    // Reads of 64 KiB, and the second one fails in the middle of the file: the
    // whole records of the first stay written, the one it cut is dropped.
    std::string text;
    while (text.size() < 200 * 1024) text += "a,b\r\n";
    WriteBytes(input, text);
    files.CutReadsTo(64 * 1024);
    files.FailAt(FaultyFiles::Call::Read, 2, "Input/output error");
    EXPECT_FALSE(Run().completed);
    ExpectOneBox("Error Reading File", "Input/output error");
    const std::string written = ReadBytes(output);
    EXPECT_EQ(written, reference::ConvertFile(text.substr(0, 64 * 1024 / 5 * 5), codePage));
}

}  // namespace
