// The conversion kernels alone, in memory, beside memcpy of the same buffer.
// The argument is the buffer size: the converter's read size (in cache) and a
// buffer far larger than the caches.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "ConvertKernel.h"
#include "CsvGenerator.h"

namespace {

void SetBytes(benchmark::State& state, std::size_t size) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}

void Memcpy(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const std::string in = GenerateCsv(size, CsvText::Latin);
    std::vector<char> out(size);
    for (auto _ : state) {
        std::memcpy(out.data(), in.data(), size);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, size);
}

void Kernel(benchmark::State& state, const char* name, unsigned codePageNumber, CsvText text) {
    const ConvertKernel kernel = ConvertKernelNamed(name);
    if (!kernel) {
        state.SkipWithError("this processor cannot run the kernel");
        return;
    }
    const auto size = static_cast<std::size_t>(state.range(0));
    const std::string in = GenerateCsv(size, text);
    const CodePage codePage = CodePage::FromNumber(codePageNumber);
    std::vector<char> out(2 * size + 2);
    for (auto _ : state) {
        ConverterState converter;
        benchmark::DoNotOptimize(kernel(in.data(), size, out.data(), converter, codePage));
        benchmark::ClobberMemory();
    }
    SetBytes(state, size);
}

constexpr int64_t kReadSize = 1 << 20;
constexpr int64_t kLarge = 64 << 20;

}  // namespace

BENCHMARK(Memcpy)->Arg(kReadSize)->Arg(kLarge);
BENCHMARK_CAPTURE(Kernel, scalar_1252, "scalar", 1252, CsvText::Latin)->Arg(kReadSize)->Arg(kLarge);
BENCHMARK_CAPTURE(Kernel, sse2_1252, "sse2", 1252, CsvText::Latin)->Arg(kReadSize)->Arg(kLarge);
BENCHMARK_CAPTURE(Kernel, avx2_1252, "avx2", 1252, CsvText::Latin)->Arg(kReadSize)->Arg(kLarge);
BENCHMARK_CAPTURE(Kernel, avx512_1252, "avx512", 1252, CsvText::Latin)->Arg(kReadSize)->Arg(kLarge);
BENCHMARK_CAPTURE(Kernel, scalar_932, "scalar", 932, CsvText::Japanese)
    ->Arg(kReadSize)
    ->Arg(kLarge);
BENCHMARK_CAPTURE(Kernel, sse2_932, "sse2", 932, CsvText::Japanese)->Arg(kReadSize)->Arg(kLarge);
BENCHMARK_CAPTURE(Kernel, avx2_932, "avx2", 932, CsvText::Japanese)->Arg(kReadSize)->Arg(kLarge);

BENCHMARK_CAPTURE(Kernel, avx512_932, "avx512", 932, CsvText::Japanese)
    ->Arg(kReadSize)
    ->Arg(kLarge);

BENCHMARK_MAIN();
