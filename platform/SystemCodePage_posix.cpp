#include <cstdlib>

#include "SystemCodePage.h"

CodePage SystemCodePage() {
    // The first of these that is set decides, as it does for the C library.
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return CodePage::FromNumber(CodePageOfCharset(value));
    }
    return CodePage();
}
