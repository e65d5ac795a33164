#include <gtest/gtest.h>

#include <string>

#include "Reference.h"
#include "RecordTransform.h"

namespace {

using namespace std::string_literals;

struct TransformCase {
    const char* name;
    unsigned codePage;
    std::string record;
    std::string expected;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TransformCase& c, std::ostream* os) { *os << c.name; }

class RecordTransformTest : public testing::TestWithParam<TransformCase> {};

TEST_P(RecordTransformTest, GivesTheExpectedRecord) {
    const TransformCase& c = GetParam();
    const CodePage codePage = CodePage::FromNumber(c.codePage);
    EXPECT_EQ(TransformRecord(c.record, codePage), c.expected);
    // The three literal replace-all passes agree.
    EXPECT_EQ(reference::TransformRecord(c.record, codePage), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordTransformTest,
    testing::Values(
        TransformCase{"Commas", 1252, "a,b,c\n", "a\tb\tc\n"},
        TransformCase{"QuotedFields", 1252, "\"a\",\"b\"\n", "a\tb\n"},
        TransformCase{"CommaInsideQuotesIsNotProtected", 1252, "\"Smith, John\",42\n",
                      "Smith\t John\t42\n"},
        TransformCase{"DoubledQuotesDisappear", 1252, "\"say \"\"hi\"\"\"\n", "say hi\n"},
        TransformCase{"EmptyFields", 1252, "a,,b\n", "a\t\tb\n"},
        TransformCase{"OnlyAComma", 1252, ",\n", "\t\n"},
        TransformCase{"OnlyLineFeed", 1252, "\n", "\n"},
        TransformCase{"QuotedCommas", 1252, "\",\",\"\n", "\t\t\n"},
        TransformCase{"CarriageReturnStays", 1252, "a,b\r\n", "a\tb\r\n"},
        TransformCase{"TabsPassThrough", 1252, "a\tb,c\n", "a\tb\tc\n"},
        TransformCase{"NulDoesNotEndTheRecord", 1252, "a\0,b\n"s, "a\0\tb\n"s},
        TransformCase{"HighBytesSingleByte", 1252, "caf\xE9,1\n",
                      "caf\xE9\t"
                      "1\n"},
        TransformCase{"Utf8IsPlainBytes", 65001, "\xC3\xA9,\"x\"\n", "\xC3\xA9\tx\n"},
        TransformCase{"LeadByteHidesComma932", 932, "caf\xE9,1\n", "caf\xE9,1\n"},
        TransformCase{"LeadByteBeforeComma932", 932, "\x81,b\n", "\x81,b\n"},
        TransformCase{"TwoLeadBytesFormOneCharacter932", 932, "\x81\x81,b\n", "\x81\x81\tb\n"},
        TransformCase{"LeadByteHidesOneQuote932", 932, "\xE9\"x\"\n", "\xE9\"x\n"},
        TransformCase{"NulRestartsTheReading932", 932, "\x81\0,b\n"s, "\x81\0\tb\n"s},
        TransformCase{"TrailByteCommaIn936", 936, "\xFE,a,x\n", "\xFE,a\tx\n"},
        TransformCase{"WellFormedShiftJis", 932, "\x93\xFA,\"\x96\x7B\"\n",
                      "\x93\xFA\t\x96\x7B\n"}),
    [](const testing::TestParamInfo<TransformCase>& param) { return param.param.name; });

}  // namespace
