#include "ConversionRun.h"

#include <vector>

#include "RecordWriter.h"
#include "TextConverter.h"

namespace {

constexpr std::size_t kReadSize = 128 * 1024;

}  // namespace

ConversionOutcome ConvertFile(const std::string& inputPath, std::string& outputPath,
                              FileSystem& files, const CodePage& codePage,
                              ConversionProgress* progress) {
    if (inputPath.empty()) return NoInputGiven();
    std::string reason;
    const std::unique_ptr<InputFile> input = files.OpenForReading(inputPath, reason);
    if (!input) return CannotOpenInput(inputPath, reason);

    TextConverter converter(codePage);
    RecordWriter writer(outputPath, files, input->Identity());
    std::vector<char> buffer(kReadSize);
    std::uint64_t bytesRead = 0;
    while (!converter.Ended()) {
        std::size_t got = 0;
        if (!input->Read(buffer.data(), buffer.size(), got, reason)) {
            if (!writer.FinishWholeRecords()) return WriteFailure(writer, outputPath);
            return CannotReadInput(inputPath, reason);
        }
        if (got == 0) break;
        bytesRead += got;
        if (progress) progress->BytesRead(bytesRead);
        char* out = writer.Reserve(TextConverter::MaxOutput(got));
        if (!writer.Commit(converter.Convert(buffer.data(), got, out))) {
            return WriteFailure(writer, outputPath);
        }
    }
    char* out = writer.Reserve(TextConverter::MaxOutput(0));
    if (!writer.Commit(converter.Finish(out)) || !writer.Finish()) {
        return WriteFailure(writer, outputPath);
    }
    return Completed();
}

ConversionOutcome RunConversion(std::string& inputPath, std::string& outputPath,
                                ConversionReporter& reporter, FileSystem& files,
                                const CodePage& codePage) {
    reporter.ReadBoxes();
    const ConversionOutcome outcome = ConvertFile(inputPath, outputPath, files, codePage);
    reporter.ShowMessage(outcome.text, outcome.caption);
    reporter.RefreshBoxes();
    return outcome;
}
