#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <vector>

#include "ConversionRun.h"
#include "FaultyFiles.h"
#include "RecordingReporter.h"
#include "Reference.h"
#include "TempFolder.h"

namespace {

using Call = FaultyFiles::Call;

bool IsReadingCall(Call call) { return call == Call::OpenForReading || call == Call::Read; }

// Runs the conversion once with the `failing`-th file call failing (0: none).
struct FaultedRun {
    ConversionOutcome outcome;
    RecordingReporter reporter;
    Call failed = Call::None;
    int calls = 0;
};

FaultedRun RunWithFault(const std::string& input, const std::string& output, int failing,
                        const std::string& reason, const CodePage& codePage) {
    FaultyFiles files;
    // Small reads make a small file take many reads and many writes.
    files.CutReadsTo(7);
    if (failing > 0) files.FailAt(Call::Any, failing, reason);
    FaultedRun run;
    std::string inputPath = input;
    std::string outputPath = output;
    run.outcome = RunConversion(inputPath, outputPath, run.reporter, files, codePage);
    run.failed = files.Failed();
    run.calls = files.Calls();
    return run;
}

TEST(FaultInjectionTest, AnyFailingCallGivesOneBoxAndKeepsEveryEarlierByte) {
    TempFolder folder;
    const std::string input = folder / "in.csv";
    const std::string output = folder / "out.tab";
    const CodePage codePage;
    const std::string text =
        "id,name\r\n1,\"Ann\"\r\n2,Bob\n3,\"C,d\"\r\n\r\n4,x\r5,\"\"\"y\"\n6,last";
    const std::string before = "earlier\r\nno line end";
    const std::string converted = reference::ConvertFile(text, codePage);
    WriteBytes(input, text);

    WriteBytes(output, before);
    const FaultedRun clean = RunWithFault(input, output, 0, "", codePage);
    ASSERT_TRUE(clean.outcome.completed);
    ASSERT_EQ(ReadBytes(output), before + converted);

    const std::string reasons[] = {std::make_error_code(std::errc::no_space_on_device).message(),
                                   std::make_error_code(std::errc::io_error).message()};
    for (const std::string& reason : reasons) {
        for (int failing = 1; failing <= clean.calls; ++failing) {
            SCOPED_TRACE("call " + std::to_string(failing) + " fails: " + reason);
            WriteBytes(output, before);
            const FaultedRun run = RunWithFault(input, output, failing, reason, codePage);
            ASSERT_NE(run.failed, Call::None);

            EXPECT_FALSE(run.outcome.completed);
            EXPECT_EQ(run.reporter.calls,
                      (std::vector<std::string>{"ReadBoxes", "ShowMessage", "RefreshBoxes"}));
            ASSERT_EQ(run.reporter.boxes.size(), 1u);
            const RecordingReporter::Box& box = run.reporter.boxes[0];
            const bool reading = IsReadingCall(run.failed);
            EXPECT_EQ(box.caption, reading ? "Error Reading File" : "Error Writing File");
            EXPECT_NE(box.text.find(reading ? input : output), std::string::npos) << box.text;
            EXPECT_NE(box.text.find(reason), std::string::npos) << box.text;

            EXPECT_EQ(ReadBytes(input), text);
            const std::string written = ReadBytes(output);
            ASSERT_EQ(written.substr(0, before.size()), before);
            const std::string added = written.substr(before.size());
            EXPECT_EQ(converted.substr(0, added.size()), added);
            // Only the write that failed may leave part of a record behind.
            if (run.failed != Call::Append) {
                EXPECT_TRUE(added.empty() || added.ends_with("\r\n")) << added;
            }
        }
    }
}

}  // namespace
