#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Reference.h"
#include "TextConverter.h"

namespace {

using namespace std::string_literals;

const unsigned kCodePages[] = {1252, 932, 936, 949, 950};

struct NamedKernel {
    const char* name;
    ConvertKernel kernel;
};

// Every kernel this processor runs; the scalar one always.
std::vector<NamedKernel> RunnableKernels() {
    std::vector<NamedKernel> kernels;
    for (const char* name : {"scalar", "sse2", "avx2", "avx512"}) {
        if (const ConvertKernel kernel = ConvertKernelNamed(name))
            kernels.push_back({name, kernel});
    }
    return kernels;
}

// Converts `input` handed to `kernel` in pieces that end at the given offsets.
std::string Convert(ConvertKernel kernel, const std::string& input, const CodePage& codePage,
                    const std::vector<std::size_t>& cuts = {}) {
    TextConverter converter(codePage, kernel);
    std::string output(TextConverter::MaxOutput(input.size()) + cuts.size(), '\0');
    std::size_t written = 0;
    std::size_t start = 0;
    std::vector<std::size_t> ends = cuts;
    ends.push_back(input.size());
    for (std::size_t end : ends) {
        written += converter.Convert(input.data() + start, end - start, output.data() + written);
        start = end;
    }
    written += converter.Finish(output.data() + written);
    output.resize(written);
    return output;
}

// Pieces that make CSV with every byte that matters in it: runs of plain text
// long enough to fill whole blocks, quotes, commas, both line ends, lone CRs,
// 0x1A, NUL, TABs, bytes from 0x80 up, and lead bytes followed by a comma, a
// quote or a line end, which then belong to the character.
std::string GenerateInput(std::mt19937& random, std::size_t pieces) {
    static const std::string kPieces[] = {
        ","s,        "\""s,     "\"\""s,     "\r\n"s,     "\n"s,       "\r"s,
        "\x1A"s,     "\0"s,     "\t"s,       "\xE9"s,     "\x81,"s,    "\x81\""s,
        "\x81\r\n"s, "\x81\n"s, "\xA1\x40"s, "\x82\xA0"s, "\xFE\x81"s, "\x81\r"s};
    const std::string text = "Lorem ipsum dolor sit amet 0123456789 consectetur adipiscing elit";
    std::string input;
    for (std::size_t i = 0; i < pieces; ++i) {
        if (random() % 3 == 0) {
            input += text.substr(random() % text.size(), random() % 48);
        } else {
            const std::string& piece = kPieces[random() % std::size(kPieces)];
            // 0x1A ends everything after it: keep it rare so that most inputs run to the end.
            if (piece == "\x1A" && random() % 8 != 0) continue;
            input += piece;
        }
    }
    return input;
}

// Generated inputs cut at every offset and at many random ones: a CR LF, a lead
// byte and its second half, and every special byte land on both sides of a cut
// and at every place in a block.
TEST(ConvertKernelTest, EveryKernelMatchesTheReferenceOnGeneratedInputCutAnywhere) {
    std::mt19937 random(4061);
    for (unsigned number : kCodePages) {
        const CodePage codePage = CodePage::FromNumber(number);
        for (int round = 0; round < 40; ++round) {
            const std::string input = GenerateInput(random, 1 + random() % 40);
            const std::string expected = reference::ConvertFile(input, codePage);
            std::vector<std::vector<std::size_t>> cuttings{{}};
            for (std::size_t at = 0; at <= input.size(); ++at) cuttings.push_back({at});
            for (int many = 0; many < 20; ++many) {
                std::vector<std::size_t> cuts;
                for (std::size_t at = 0; at < input.size(); at += random() % 40) cuts.push_back(at);
                cuttings.push_back(cuts);
            }
            for (const NamedKernel& kernel : RunnableKernels()) {
                for (const std::vector<std::size_t>& cuts : cuttings) {
                    ASSERT_EQ(Convert(kernel.kernel, input, codePage, cuts), expected)
                        << kernel.name << " kernel, code page " << number << ", round " << round
                        << ", " << cuts.size() << " cuts, first at "
                        << (cuts.empty() ? 0 : cuts[0]);
                }
            }
        }
    }
}

// Each special sequence at every place of a plain run three blocks long, so that
// it also straddles the edge between two blocks, in one piece and in two.
TEST(ConvertKernelTest, SpecialBytesAtEveryPlaceInABlock) {
    const std::string specials[] = {"\""s,       "\r\n"s,   "\r"s,     "\n"s,     "\x1A"s,
                                    "\xE9"s,     "\x81,"s,  "\x81\""s, "\x81\r"s, "\x81\n"s,
                                    "\x81\r\n"s, "\r\r\n"s, "\0"s};
    const std::string plain(96, 'x');
    for (unsigned number : kCodePages) {
        const CodePage codePage = CodePage::FromNumber(number);
        for (const std::string& special : specials) {
            for (std::size_t at = 0; at < plain.size(); ++at) {
                const std::string input = plain.substr(0, at) + special + "a,b" + plain.substr(at);
                const std::string expected = reference::ConvertFile(input, codePage);
                for (const NamedKernel& kernel : RunnableKernels()) {
                    ASSERT_EQ(Convert(kernel.kernel, input, codePage), expected)
                        << kernel.name << ", code page " << number << ", special at " << at;
                    ASSERT_EQ(Convert(kernel.kernel, input, codePage, {at + 1}), expected)
                        << kernel.name << ", code page " << number << ", cut after " << at + 1;
                }
            }
        }
    }
}

TEST(ConvertKernelTest, KernelsAreFoundByName) {
    EXPECT_EQ(ConvertKernelNamed("scalar"), &ConvertScalar);
    EXPECT_EQ(ConvertKernelNamed("mmx"), nullptr);
#ifdef KESTROVA_X86_KERNELS
    // Every x86 processor that runs this build has SSE2.
    EXPECT_EQ(ConvertKernelNamed("sse2"), &ConvertSse2);
#endif
}

}  // namespace
