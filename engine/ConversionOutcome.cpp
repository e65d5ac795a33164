#include "ConversionOutcome.h"

namespace {

const char kDone[] = "Done";
const char kErrorReading[] = "Error Reading File";
const char kErrorWriting[] = "Error Writing File";
// The first line of every box about the output file.
const char kSaveToFile[] = "Save to File";

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

ConversionOutcome ReadingFailure(std::string problem) {
    return {false, kErrorReading, problem, problem};
}

ConversionOutcome WritingFailure(std::string problem) {
    return {false, kErrorWriting, std::string(kSaveToFile) + "\n\n" + problem, problem};
}

}  // namespace

ConversionOutcome Completed() { return {true, kDone, kDone, ""}; }

ConversionOutcome NoInputGiven() { return ReadingFailure("No input file was given."); }

ConversionOutcome CannotOpenInput(const std::string& path, const std::string& reason) {
    return ReadingFailure("Cannot open " + Quoted(path) + " for reading: " + reason + ".");
}

ConversionOutcome CannotReadInput(const std::string& path, const std::string& reason) {
    return ReadingFailure("Cannot read " + Quoted(path) + ": " + reason +
                          ". The records before the failure were written.");
}

ConversionOutcome WriteFailure(const RecordWriter& writer, const std::string& path) {
    switch (writer.GetProblem()) {
        case RecordWriter::Problem::CannotOpen:
            return WritingFailure("Cannot open " + Quoted(path) +
                                  " for appending: " + writer.Reason() + ".");
        case RecordWriter::Problem::SameFileAsInput:
            return WritingFailure("The output file " + Quoted(path) +
                                  " is the input file itself. Nothing was written; choose "
                                  "another output file.");
        case RecordWriter::Problem::CannotWrite:
        case RecordWriter::Problem::None:
            break;
    }
    return WritingFailure("Cannot write to " + Quoted(path) + ": " + writer.Reason() + ".");
}
