#include <windows.h>

#include "SystemCodePage.h"

CodePage SystemCodePage() {
    const UINT number = GetACP();
    CodePage::LeadBytes leadBytes{};
    for (unsigned octet = 0; octet < 256; ++octet) {
        leadBytes[octet] = IsDBCSLeadByteEx(number, static_cast<BYTE>(octet)) != FALSE;
    }
    return CodePage::WithLeadBytes(number, leadBytes);
}
