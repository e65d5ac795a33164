#include <cstdio>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ConversionRun.h"
#include "ProgressLine.h"
#include "StandardStreams.h"
#include "SystemCodePage.h"
#include "SystemFiles.h"

int main(int argc, char** argv) {
    std::string error;
    const auto commandLine =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!commandLine) {
        std::fprintf(stderr, "kestrova: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    switch (commandLine->action) {
        case CommandLine::Action::ShowHelp:
            std::fputs(kUsage, stdout);
            return 0;
        case CommandLine::Action::ShowVersion:
            std::puts("kestrova " KESTROVA_VERSION);
            return 0;
        case CommandLine::Action::Convert:
            break;
    }

    const CodePage codePage =
        commandLine->codePage == 0 ? SystemCodePage() : CodePage::FromNumber(commandLine->codePage);
    SystemFiles systemFiles;
    StandardStreams files(systemFiles);
    std::string output = commandLine->output;
    const std::unique_ptr<ProgressLine> progress = ProgressLineFor(*commandLine);
    const ConversionOutcome outcome =
        ConvertFile(commandLine->input, output, files, codePage, progress.get());
    if (progress) progress->Clear();
    if (!outcome.completed) {
        std::fprintf(stderr, "kestrova: %s\n", outcome.problem.c_str());
        return 1;
    }
    return 0;
}
