#pragma once

#include <cstdint>
#include <string>

#include "CodePage.h"
#include "ConversionOutcome.h"
#include "ConversionReporter.h"
#include "FileSystem.h"

// The Convert command: takes the paths from the boxes, converts the input file
// and appends the records to the output file, shows one box ("Done", or what
// went wrong) and puts the paths back into the boxes. `inputPath` and
// `outputPath` are the host's stored paths; an empty output path becomes
// "db.csv". Memory stays bounded whatever the length of a line.
ConversionOutcome RunConversion(std::string& inputPath, std::string& outputPath,
                                ConversionReporter& reporter, FileSystem& files,
                                const CodePage& codePage);

// Told how far a conversion has read, for a host that shows progress. Called
// once per read of the input, so it must be cheap.
class ConversionProgress {
public:
    virtual void BytesRead(std::uint64_t total) = 0;

protected:
    ~ConversionProgress() = default;
};

// The same conversion without a window: no box, no boxes to read or refresh.
ConversionOutcome ConvertFile(const std::string& inputPath, std::string& outputPath,
                              FileSystem& files, const CodePage& codePage,
                              ConversionProgress* progress = nullptr);
