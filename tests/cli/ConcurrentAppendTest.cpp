#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "KestrovaProgram.h"
#include "TempFolder.h"

namespace {

// One run's records: "<run>,<number>,<filler>,end", with fillers from a few
// bytes to most of the converter's write buffer, so that writes of many small
// records and writes of one big record both meet the other run's writes.
struct RunInput {
    std::string name;
    std::vector<std::size_t> fillerSizes;

    std::string Text() const {
        std::string text;
        for (std::size_t number = 0; number < fillerSizes.size(); ++number) {
            text += name + "," + std::to_string(number) + "," +
                    std::string(fillerSizes[number], Filler(number)) + ",end\n";
        }
        return text;
    }
    static char Filler(std::size_t number) { return static_cast<char>('a' + number % 26); }
};

RunInput MakeRunInput(const std::string& name, unsigned seed) {
    std::mt19937 random(seed);
    RunInput input{name, {}};
    for (int number = 0; number < 4000; ++number) {
        const bool big = number % 100 == 0;
        input.fillerSizes.push_back(big ? 100000 + random() % 150000 : random() % 300);
    }
    return input;
}

TEST(ConcurrentAppendTest, TwoRunsAppendingToOneFileKeepEveryRecordWholeAndInOrder) {
    TempFolder folder;
    const std::string output = folder / "shared.tab";
    std::vector<RunInput> inputs;
    // A few rounds of two runs started together.
    for (int round = 0; round < 3; ++round) {
        std::vector<std::thread> runs;
        std::vector<ProgramRun> results(2);
        for (int side = 0; side < 2; ++side) {
            inputs.push_back(MakeRunInput("run" + std::to_string(round) + "abc"[side],
                                          static_cast<unsigned>(round * 2 + side + 1)));
            const std::string path = folder / (inputs.back().name + ".csv");
            WriteBytes(path, inputs.back().Text());
            runs.emplace_back([path, &output, &result = results[static_cast<std::size_t>(side)]] {
                result = RunKestrova({path, output});
            });
        }
        for (std::thread& run : runs) run.join();
        for (const ProgramRun& result : results) EXPECT_EQ(result.exitCode, 0) << result.errors;
    }

    // Every line must be one whole record, and each run's records must follow
    // one another in their own order.
    std::map<std::string, const RunInput*> byName;
    std::map<std::string, std::size_t> next;
    for (const RunInput& input : inputs) byName[input.name] = &input;
    const std::string written = ReadBytes(output);
    std::size_t torn = 0;
    std::size_t start = 0;
    while (start < written.size()) {
        std::size_t end = written.find("\r\n", start);
        if (end == std::string::npos) end = written.size();
        const std::string_view line(written.data() + start, end - start);
        start = end + 2;

        std::vector<std::string_view> fields;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            fields.push_back(line.substr(from, tab == std::string_view::npos ? tab : tab - from));
            if (tab == std::string_view::npos) break;
            from = tab + 1;
        }
        const auto run = fields.size() == 4 ? byName.find(std::string(fields[0])) : byName.end();
        if (run == byName.end()) {
            ++torn;
            continue;
        }
        std::size_t& number = next[run->first];
        const bool whole =
            number < run->second->fillerSizes.size() && fields[1] == std::to_string(number) &&
            fields[2] == std::string(run->second->fillerSizes[number], RunInput::Filler(number)) &&
            fields[3] == "end";
        if (!whole) {
            ++torn;
            continue;
        }
        ++number;
    }
    EXPECT_EQ(torn, 0u);
    for (const RunInput& input : inputs) {
        EXPECT_EQ(next[input.name], input.fillerSizes.size()) << input.name;
    }
}

}  // namespace
