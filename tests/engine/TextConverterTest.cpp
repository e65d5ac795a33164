#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Reference.h"
#include "TextConverter.h"

namespace {

using namespace std::string_literals;

// Converts `input` handed over in pieces that end at the given offsets.
std::string Convert(const std::string& input, const CodePage& codePage,
                    const std::vector<std::size_t>& cuts = {}) {
    TextConverter converter(codePage);
    std::string output;
    std::size_t start = 0;
    std::vector<std::size_t> ends = cuts;
    ends.push_back(input.size());
    for (std::size_t end : ends) {
        std::vector<char> out(TextConverter::MaxOutput(end - start));
        output.append(out.data(), converter.Convert(input.data() + start, end - start, out.data()));
        start = end;
    }
    char tail[TextConverter::MaxOutput(0)];
    output.append(tail, converter.Finish(tail));
    return output;
}

struct FileCase {
    const char* name;
    std::string input;
    std::string expected;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class TextConverterFileTest : public testing::TestWithParam<FileCase> {};

TEST_P(TextConverterFileTest, ConvertsWholeAndCutAtEveryOffset) {
    const FileCase& c = GetParam();
    const CodePage codePage = CodePage::FromNumber(1252);
    EXPECT_EQ(Convert(c.input, codePage), c.expected);
    EXPECT_EQ(reference::ConvertFile(c.input, codePage), c.expected);
    for (std::size_t cut = 0; cut <= c.input.size(); ++cut) {
        EXPECT_EQ(Convert(c.input, codePage, {cut}), c.expected) << "cut at " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, TextConverterFileTest,
    testing::Values(FileCase{"CrLfAndLfLineEnds", "a,b\r\n\"c\",d\n", "a\tb\r\nc\td\r\n"},
                    FileCase{"LastLineWithoutLineFeedIsKept", "a,b\nc,d", "a\tb\r\nc\td\r\n"},
                    FileCase{"TrailingCarriageReturnEndsTheLastLine", "a,b\nc,d\r",
                             "a\tb\r\nc\td\r\n"},
                    FileCase{"LoneCarriageReturnsAreOrdinaryBytes", "a\rb\rc", "a\rb\rc\r\n"},
                    FileCase{"LoneCarriageReturnBeforeLineFeedPair", "x\r\r\n", "x\r\r\n"},
                    FileCase{"EndOfTextStopsTheInput",
                             "a,b\n\x1A"
                             "c,d\n",
                             "a\tb\r\n"},
                    FileCase{"EndOfTextClosesAnUnfinishedLine",
                             "a,b\x1A"
                             "c\n",
                             "a\tb\r\n"},
                    FileCase{"CarriageReturnBeforeEndOfText", "a\r\x1A\n", "a\r\n"},
                    FileCase{"EmptyInput", "", ""},
                    FileCase{"OnlyEndOfText",
                             "\x1A"
                             "a,b\n",
                             ""},
                    FileCase{"EmptyLinesStay", "\n\r\n\n", "\r\n\r\n\r\n"},
                    FileCase{"HighBytesAndNulPass", "\xFF,\0\n"s, "\xFF\t\0\r\n"s},
                    FileCase{"QuoteOnlyLineKeepsItsLineEnd", "\"", "\r\n"}),
    [](const testing::TestParamInfo<FileCase>& param) { return param.param.name; });

TEST(TextConverterTest, DoubleByteCharacterEndsWithTheRecord) {
    const CodePage shiftJis = CodePage::FromNumber(932);
    // A lead byte at the end of a line takes the line feed as its other half;
    // the next record still starts afresh.
    EXPECT_EQ(Convert("\x81\r\n,\n\x81\r,\n", shiftJis), "\x81\r\n\t\r\n\x81\r\t\r\n");
}

TEST(TextConverterTest, LongRecordIsConvertedWhole) {
    std::string record;
    for (int i = 0; i < 100000 / 4; ++i) record += "\"a\",";
    const std::string expected = reference::ConvertFile(record + "\n", CodePage());
    EXPECT_EQ(Convert(record + "\n", CodePage(), {1, 4096, 65537}), expected);
    EXPECT_EQ(expected.size(), 100000 / 4 * 2 + 2);
}

// Generated inputs, dense in the bytes that matter, in every kind of code page.
TEST(TextConverterTest, AgreesWithTheReferenceOnGeneratedInput) {
    const std::string alphabet = "ab,,\"\"\r\r\n\n\t\x81\xE9\xFE\xA1\x40"s + '\0';
    std::mt19937 random(20261211);
    for (unsigned number : {1252u, 932u, 936u, 949u, 950u}) {
        const CodePage codePage = CodePage::FromNumber(number);
        for (int round = 0; round < 300; ++round) {
            std::string input(random() % 64, ' ');
            for (char& byte : input) byte = alphabet[random() % alphabet.size()];
            if (random() % 8 == 0 && !input.empty()) input[random() % input.size()] = '\x1A';
            std::vector<std::size_t> cuts;
            for (std::size_t at = 0; at < input.size(); at += 1 + random() % 7) cuts.push_back(at);
            EXPECT_EQ(Convert(input, codePage, cuts), reference::ConvertFile(input, codePage))
                << "code page " << number << ", input of " << input.size() << " bytes";
        }
    }
}

}  // namespace
