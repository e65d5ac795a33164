#include "CodePage.h"

namespace {

struct LeadRange {
    unsigned char first;
    unsigned char last;
};

CodePage::LeadBytes FromRanges(std::initializer_list<LeadRange> ranges) {
    CodePage::LeadBytes leadBytes{};
    for (const LeadRange& range : ranges) {
        for (unsigned octet = range.first; octet <= range.last; ++octet) leadBytes[octet] = true;
    }
    return leadBytes;
}

}  // namespace

CodePage CodePage::FromNumber(unsigned number) {
    switch (number) {
        case 932:  // Shift_JIS
            return WithLeadBytes(number, FromRanges({{0x81, 0x9F}, {0xE0, 0xFC}}));
        case 936:  // GBK
        case 949:  // Unified Hangul
        case 950:  // Big5
            return WithLeadBytes(number, FromRanges({{0x81, 0xFE}}));
        default: {
            CodePage singleByte;
            singleByte.m_number = number;
            return singleByte;
        }
    }
}

CodePage CodePage::WithLeadBytes(unsigned number, const LeadBytes& leadBytes) {
    CodePage codePage;
    codePage.m_number = number;
    codePage.m_leadBytes = leadBytes;
    for (bool lead : leadBytes) codePage.m_doubleByte = codePage.m_doubleByte || lead;
    return codePage;
}
