// Feeds arbitrary bytes, cut into arbitrary reads, to the streaming converter
// under an arbitrary code page, and stops at the first output that differs
// from the plain reference conversion.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CodePage.h"
#include "Reference.h"
#include "TextConverter.h"

namespace {

// The double-byte code pages with their own lead bytes, and single-byte ones.
constexpr unsigned kCodePages[] = {932, 936, 949, 950, 1252, 65001};

std::string Convert(const std::string& text, const std::vector<std::size_t>& cuts,
                    const CodePage& codePage) {
    TextConverter converter(codePage);
    std::string result;
    std::size_t position = 0;
    for (std::size_t piece = 0; position < text.size() && !converter.Ended(); ++piece) {
        const std::size_t size = std::min(cuts[piece % cuts.size()], text.size() - position);
        // Each read and each output area in an allocation of its own size, so that
        // the address sanitizer sees a step past either end.
        const auto in = std::make_unique<char[]>(size);
        text.copy(in.get(), size, position);
        const auto out = std::make_unique<char[]>(TextConverter::MaxOutput(size));
        result.append(out.get(), converter.Convert(in.get(), size, out.get()));
        position += size;
    }
    const auto out = std::make_unique<char[]>(TextConverter::MaxOutput(0));
    result.append(out.get(), converter.Finish(out.get()));
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    // The code page and the cutting come from the end of the data, the text from the rest.
    const CodePage codePage = CodePage::FromNumber(provider.PickValueInArray(kCodePages));
    std::vector<std::size_t> cuts(provider.ConsumeIntegralInRange<std::size_t>(1, 8));
    for (std::size_t& cut : cuts) cut = provider.ConsumeIntegralInRange<std::size_t>(1, 300);
    const std::string text = provider.ConsumeRemainingBytesAsString();

    const std::string expected = reference::ConvertFile(text, codePage);
    const std::string actual = Convert(text, cuts, codePage);
    if (actual != expected) {
        std::fprintf(stderr, "Output differs from the reference (code page %u, %zu bytes in)\n",
                     codePage.Number(), text.size());
        std::abort();
    }
    return 0;
}
