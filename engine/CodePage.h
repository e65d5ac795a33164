#pragma once

#include <array>

// The ANSI code page as far as the transform cares: which bytes open a
// double-byte character. Single-byte code pages (1252, UTF-8, ...) have none.
class CodePage {
public:
    using LeadBytes = std::array<bool, 256>;

    // A single-byte code page: commas and quotes are found wherever they stand.
    CodePage() = default;
    // The built-in lead bytes of 932, 936, 949 and 950; every other number is single-byte.
    static CodePage FromNumber(unsigned number);
    // Lead bytes as the operating system reports them.
    static CodePage WithLeadBytes(unsigned number, const LeadBytes& leadBytes);

    unsigned Number() const { return m_number; }
    bool IsDoubleByte() const { return m_doubleByte; }
    bool IsLeadByte(unsigned char octet) const { return m_leadBytes[octet]; }

private:
    unsigned m_number = 0;
    bool m_doubleByte = false;
    LeadBytes m_leadBytes{};
};
