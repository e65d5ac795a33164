#include <gtest/gtest.h>

#include "SystemCodePage.h"

namespace {

TEST(SystemCodePageTest, NamesTheEastAsianCharacterSets) {
    const struct {
        const char* locale;
        unsigned codePage;
    } cases[] = {
        {"ja_JP.SJIS", 932},
        {"ja_JP.Shift_JIS", 932},
        {"CP932", 932},
        {"zh_CN.GBK", 936},
        {"zh_CN.gb2312", 936},
        {"ko_KR.EUC-KR", 949},
        {"zh_TW.Big5", 950},
        {"en_US.UTF-8", 0},
        {"ja_JP.UTF-8", 0},
        {"C", 0},
        {"de_DE.ISO-8859-15@euro", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CodePageOfCharset(c.locale), c.codePage) << c.locale;
}

TEST(SystemCodePageTest, KnowsTheLeadBytes) {
    const CodePage shiftJis = CodePage::FromNumber(932);
    EXPECT_TRUE(shiftJis.IsDoubleByte());
    EXPECT_TRUE(shiftJis.IsLeadByte(0x81));
    EXPECT_TRUE(shiftJis.IsLeadByte(0xFC));
    EXPECT_FALSE(shiftJis.IsLeadByte(0xA0));
    EXPECT_FALSE(shiftJis.IsLeadByte(','));
    EXPECT_FALSE(CodePage::FromNumber(1252).IsDoubleByte());
}

}  // namespace
