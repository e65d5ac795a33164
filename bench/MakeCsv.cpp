// Writes the benchmark's input: make-csv SIZE_MB FILE [latin|japanese]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CsvGenerator.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fputs("usage: make-csv SIZE_MB FILE [latin|japanese]\n", stderr);
        return 2;
    }
    const std::size_t megabytes = std::strtoul(argv[1], nullptr, 10);
    const CsvText text =
        argc == 4 && std::strcmp(argv[3], "japanese") == 0 ? CsvText::Japanese : CsvText::Latin;
    // Written in slices so that memory stays small; each slice has its own seed.
    std::FILE* file = std::fopen(argv[2], "wb");
    if (!file) {
        std::perror(argv[2]);
        return 1;
    }
    constexpr std::size_t kSlice = 1 << 20;
    for (std::size_t slice = 0; slice < megabytes; ++slice) {
        std::string csv = GenerateCsv(kSlice, text, 2026 + slice);
        // Each slice ends its last row so that rows are never cut in two.
        csv.resize(csv.rfind('\n') + 1);
        if (slice != 0) csv.erase(0, csv.find('\n') + 1);  // one header line only
        if (std::fwrite(csv.data(), 1, csv.size(), file) != csv.size()) {
            std::perror(argv[2]);
            return 1;
        }
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
