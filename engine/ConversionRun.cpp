#include "ConversionRun.h"

#include <memory>

#include "ConverterThread.h"
#include "RecordWriter.h"
#include "TextConverter.h"

namespace {

// Large enough that handing a piece to the converter's thread costs little
// beside converting it (1 MiB measured faster than 128 to 512 KiB).
constexpr std::size_t kReadSize = 1024 * 1024;

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
    // Left as they come, so that a small file costs no more memory than it needs.
    const std::unique_ptr<char[]> pieces[2] = {std::unique_ptr<char[]>(new char[kReadSize]),
                                               std::unique_ptr<char[]>(new char[kReadSize])};
    ConverterThread background(converter);
    // While one piece is converted on the other thread, this one writes the
    // records of the piece before it and reads the piece after it.
    int current = 0;
    std::size_t got = 0;
    bool readable = input->Read(pieces[current].get(), kReadSize, got, reason);
    std::uint64_t bytesRead = 0;
    while (readable && got != 0) {
        bytesRead += got;
        if (progress) progress->BytesRead(bytesRead);
        background.Start(pieces[current].get(), got, writer.Reserve(TextConverter::MaxOutput(got)));
        const bool written = writer.WriteTaken();
        std::size_t next = 0;
        if (written) readable = input->Read(pieces[1 - current].get(), kReadSize, next, reason);
        writer.Take(background.Wait());
        if (!written) return WriteFailure(writer, outputPath);
        // After 0x1A nothing counts: neither what was read meanwhile nor a failure to read it.
        if (converter.Ended()) {
            readable = true;
            next = 0;
        }
        current = 1 - current;
        got = next;
    }
    if (!readable) {
        if (!writer.FinishWholeRecords()) return WriteFailure(writer, outputPath);
        return CannotReadInput(inputPath, reason);
    }
    if (!writer.WriteTaken()) return WriteFailure(writer, outputPath);
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
