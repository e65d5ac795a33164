#pragma once

#include <string>

#include "RecordWriter.h"

// How a conversion ended, worded for the person who started it.
struct ConversionOutcome {
    bool completed = false;  // the whole input was converted and written
    std::string caption;     // of the one box the run shows
    std::string text;        // of that box
    std::string problem;     // one sentence naming the file and the reason; empty when completed
};

ConversionOutcome Completed();
ConversionOutcome NoInputGiven();
ConversionOutcome CannotOpenInput(const std::string& path, const std::string& reason);
ConversionOutcome CannotReadInput(const std::string& path, const std::string& reason);
// Why `writer` stopped, for the output file at `path`.
ConversionOutcome WriteFailure(const RecordWriter& writer, const std::string& path);
