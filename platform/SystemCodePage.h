#pragma once

#include <string_view>

#include "CodePage.h"

// The code page text is in on this system: on Windows the ANSI code page with
// the lead bytes Windows reports; elsewhere the character set of the locale
// (LC_ALL, LC_CTYPE or LANG), double-byte only for the four East Asian ones.
CodePage SystemCodePage();

// The Windows code page number of a locale's character set name ("SJIS" gives
// 932, "ja_JP.SJIS" too); 0 for a character set without double-byte characters.
unsigned CodePageOfCharset(std::string_view localeOrCharset);
